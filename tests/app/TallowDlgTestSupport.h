#pragma once
// What the main dialog's in-process tests share: the program's templates and
// pictures, a resource module the test may change (the build's port type,
// missing strings, another image), an empty registry unless a test writes a
// device list, the update driver reset around each test, and a port factory
// that hands out scripted printers.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/DialogIds.h"
#include "app/DialogTemplates.h"
#include "app/ProgramPictures.h"
#include "app/TallowDlg.h"
#include "app/templates/SendStatusTemplate.h"
#include "image/PufImage.h"
#include "platform/registry/HostRegistry.h"
#include "platform/resources/Resources.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/Static.h"
#include "platform/ui/testing/UiTestKit.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPort.h"
#include "update/Updater.h"

namespace platform::ui {

// Boxes in failure messages as the user would read them.
inline void PrintTo(const MessageBoxRequest& box, std::ostream* os)
{
    *os << "{icon " << static_cast<int>(box.icon) << ", buttons " << static_cast<int>(box.buttons) << ", default "
        << box.defaultButton << ", \"" << testing::PrintToString(box.caption) << "\": "
        << testing::PrintToString(box.text) << "}";
}

} // namespace platform::ui

namespace tallow_test {

using platform::ui::MessageBoxRequest;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::test::Harness;

// Status replies of a KX-70 printer. The word format (Ethernet1, USB) reads
// the first 8 characters of STATUS; bit 31 set means ready.
inline constexpr wchar_t kOlderReady[] = L"MDL:KX-70;VER:1.10;STATUS:80000000;";
inline constexpr wchar_t kOlderNotReady[] = L"MDL:KX-70;VER:1.10;STATUS:00000000;";
inline constexpr wchar_t kInstalledReply[] = L"MDL:KX-70;VER:1.20;STATUS:80000000;";

// 192.168.0.10 in host byte order, as the address field reads it.
inline constexpr DWORD kPrinterAddress = 0xC0A8000A;

// The environment variable set for the scope, restored after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* previous = ::getenv(name))
            m_previous = previous;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (m_previous)
            ::setenv(m_name.c_str(), m_previous->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// The ports Next builds, in order; each records its calls in a journal the
// test keeps. Without a queued port the factory builds none.
class PortQueue {
public:
    struct Call {
        int portType;
        DWORD hostAddress;
    };

    testsupport::ScriptedPort& Add()
    {
        auto port = std::make_unique<testsupport::ScriptedPort>();
        testsupport::ScriptedPort& added = *port;
        journals.push_back(port->Journal());
        m_ports.push_back(std::move(port));
        return added;
    }

    CTallowDlg::PortFactory Factory()
    {
        return [this](int portType, DWORD hostAddress) {
            calls.push_back({portType, hostAddress});
            InstallPort install{nullptr, StatusFormatForPortType(portType)};
            if (!m_ports.empty()) {
                install.port = std::move(m_ports.front());
                m_ports.pop_front();
            }
            return install;
        };
    }

    std::vector<std::shared_ptr<const testsupport::PortJournal>> journals;
    std::vector<Call> calls;

private:
    std::deque<std::unique_ptr<testsupport::ScriptedPort>> m_ports;
};

// A print server with its device list, registered in a host registry of
// the test's own.
class DeviceListHost {
public:
    explicit DeviceListHost(const std::string& deviceInfoXml)
    {
        const auto server = m_folder.Path() / "server";
        m_folder.Write("server/Tessaly/Device/DeviceInfo.xml", deviceInfoXml);
        m_folder.Write("host/registry/10-tessaly.reg",
                       "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer]\n"
                       "\"InstallPath\"=\"" + server.string() + "\"\n");
        m_load = platform::LoadHostRegistry((m_folder.Path() / "host").string());
        m_scope.emplace(m_load.registry);
    }

private:
    testsupport::ScratchFolder m_folder{"devicelist"};
    platform::RegistryLoad m_load;
    std::optional<platform::ScopedRegistry> m_scope;
};

// One DeviceInfo record of the print server's list.
inline std::string DeviceRecord(const std::string& nickName, const std::string& model, int portType, int packedIp,
                                const std::string& usbPort = {})
{
    return "<DeviceInfo><strNickName>" + nickName + "</strNickName><strLongModelName>" + model +
           "</strLongModelName><ePortType>" + std::to_string(portType) + "</ePortType><uchIP>" +
           std::to_string(packedIp) + "</uchIP><strUSBPortName>" + usbPort + "</strUSBPortName></DeviceInfo>";
}

inline std::string DeviceList(const std::vector<std::string>& records)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfDeviceInfo>\n";
    for (const std::string& record : records)
        xml += record + "\n";
    return xml + "</ArrayOfDeviceInfo>\n";
}

// a.b.c.d as the print server packs it: a in the least significant byte.
constexpr int PackedIp(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return static_cast<int>(a | (b << 8) | (c << 16) | (d << 24));
}

inline std::vector<std::wstring> ComboEntries(const CDialog& dialog)
{
    std::vector<std::wstring> entries;
    const auto* combo = dialog.GetDlgItem<CComboBox>(IDC_PORT_COMBO);
    for (int i = 0; combo != nullptr && i < combo->GetCount(); ++i) {
        std::wstring text;
        combo->GetLBText(i, text);
        entries.push_back(text);
    }
    return entries;
}

inline DWORD AddressField(const CDialog& dialog)
{
    DWORD address = 0;
    if (const auto* field = dialog.GetDlgItem<CIPAddressCtrl>(IDC_ADDRESS))
        field->GetAddress(address);
    return address;
}

inline bool Enabled(const CDialog& dialog, int id)
{
    const CWnd* control = dialog.GetDlgItem(id);
    return control != nullptr && control->IsWindowEnabled();
}

class TallowDlgTest : public testing::Test {
protected:
    TallowDlgTest()
    {
        RegisterDialogTemplates();
        RegisterSendStatusTemplate();
        RegisterProgramPictures();
        ResetUpdater();
    }

    ~TallowDlgTest() override
    {
        for (const std::string& problem : h.Problems())
            ADD_FAILURE() << problem;
        ResetUpdater();
    }

    // The one update driver is the program's: every test starts it empty.
    static void ResetUpdater()
    {
        CUpdater& updater = CUpdater::GetInstance();
        updater.ReleasePrinter();
        updater.m_pTarget.reset();
        updater.m_pImage.reset();
        updater.m_nStatusFormat = STATUS_FORMAT_NONE;
    }

    // The build's port type (string 205).
    void SetPortType(const wchar_t* name) { resources.SetString(ids::IDS_PORT_TYPE, name); }

    // A dialog as start-up hands it over with sockets working, and with the
    // test's ports.
    void Prepare(CTallowDlg& dialog)
    {
        dialog.m_bSocketsReady = TRUE;
        dialog.SetPortFactory(ports.Factory());
    }

    const std::vector<MessageBoxRequest>& Boxes() const { return h.boxes.Boxes(); }

    Harness h;
    platform::ResourceOverlay resources{platform::ExecutableResources()};
    PortQueue ports;

private:
    platform::ScopedResources m_resourceScope{resources};
    // No print server registered unless a test installs a DeviceListHost.
    platform::Registry m_emptyRegistry;
    platform::ScopedRegistry m_registryScope{m_emptyRegistry};
};

// A message box as the dialog asks for it: the application title, OK.
inline MessageBoxRequest Box(std::wstring text, MessageIcon icon)
{
    return {std::move(text), L"Corvex Firmware Installer", icon, MessageButtons::Ok, IDOK};
}

} // namespace tallow_test
