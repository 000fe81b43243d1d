#pragma once
// A port whose far end is the simulated printer, with no wire in between:
// the quickest way to run the installer's update driver against the
// printer's core. It behaves as the real ports do towards their caller:
// a status query fails when the printer stays silent, the image counts as
// sent once delivered (the printer's verdict is not visible to the sender),
// and the update-mode entry reports the printer's answer only for the mode
// request, the one entry whose success the printer confirms.

#include <memory>
#include <span>
#include <string>

#include "platform/text/Text.h"
#include "ports/Port.h"
#include "sim/core/Printer.h"

namespace simtest {

class SimPort final : public CPort {
public:
    SimPort(std::shared_ptr<sim::Printer> printer, sim::EntryKind entry)
        : m_printer(std::move(printer)), m_entry(entry)
    {
    }

    BOOL QueryStatus(std::wstring& statusText) override
    {
        std::optional<std::string> reply = m_printer->QueryStatus();
        if (!reply)
            return 0;
        statusText = platform::AnsiToWide(*reply);
        return 1;
    }

    BOOL EnterUpdateMode() override
    {
        bool accepted = m_printer->EnterUpdateMode(m_entry);
        return m_entry == sim::EntryKind::ModeRequest ? (accepted ? 1 : 0) : 1;
    }

    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD /*chunkSize*/) override
    {
        m_printer->ReceiveImage(std::span<const std::uint8_t>(data, length));
        return 1;
    }

    const char* GetAccessCode() const override { return nullptr; }

private:
    std::shared_ptr<sim::Printer> m_printer;
    sim::EntryKind m_entry;
};

} // namespace simtest
