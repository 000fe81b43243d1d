#include "cli/Arguments.h"

#include "platform/core/System.h"
#include "platform/text/Text.h"
#include "ports/PortType.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>

const char kUsage[] =
    "Usage: tallowctl [--port-type NAME] [--address A] [--json] status|check|install\n"
    "  status   print the printer's status text\n"
    "  check    check the printer's model and version against this build's firmware\n"
    "  install  check the printer, send the firmware and wait for it to be installed\n"
    "  --port-type NAME  Ethernet1, Ethernet2, Ethernet3, Ethernet4, USB or DLL_USB\n"
    "                    (default: this build's own)\n"
    "  --address A       the printer's IPv4 address (network port types only)\n"
    "  --json            print one JSON object with the result on standard output\n";

namespace {

struct CommandRow {
    Command command;
    std::string_view name;
};

constexpr std::array<CommandRow, 3> kCommands{{
    {Command::Status, "status"},
    {Command::Check, "check"},
    {Command::Install, "install"},
}};

ParsedArguments Refuse(ParsedArguments parsed, std::string error, bool portRefused = false)
{
    parsed.kind = ParsedArguments::Kind::Error;
    parsed.error = std::move(error);
    parsed.portRefused = portRefused;
    return parsed;
}

} // namespace

DWORD HostAddressFromText(std::string_view text)
{
    const std::optional<std::uint32_t> network = platform::sys::ParseIpv4(text);
    if (!network)
        return 0;
    const auto octets = std::bit_cast<std::array<std::uint8_t, 4>>(*network);
    const DWORD host = (DWORD{octets[0]} << 24) | (DWORD{octets[1]} << 16) | (DWORD{octets[2]} << 8) | octets[3];
    return host == 0xFFFFFFFFu ? 0 : host;
}

std::string_view CommandName(Command command)
{
    for (const CommandRow& row : kCommands) {
        if (row.command == command)
            return row.name;
    }
    return {};
}

std::string_view PortTypeText(int portType)
{
    for (const PortTypeName& row : kPortTypeTable) {
        if (row.code == portType)
            return row.name;
    }
    return {};
}

ParsedArguments ParseArguments(std::span<const std::string> args, int defaultPortType)
{
    ParsedArguments parsed;
    std::optional<std::string> portTypeText;
    std::optional<std::string> addressText;
    std::optional<Command> command;
    bool help = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            parsed.options.json = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        std::string_view option = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = std::string(option.substr(equals + 1));
            option = option.substr(0, equals);
        }
        if (option == "--port-type")
            target = &portTypeText;
        else if (option == "--address")
            target = &addressText;
        if (target) {
            if (target->has_value())
                return Refuse(parsed, std::string(option) + " given twice");
            if (inlineValue) {
                *target = std::move(*inlineValue);
            } else if (i + 1 < args.size()) {
                *target = args[++i];
            } else {
                return Refuse(parsed, std::string(option) + " needs a value");
            }
            continue;
        }
        if (arg.starts_with("-"))
            return Refuse(parsed, "unknown option " + arg);
        if (command)
            return Refuse(parsed, "more than one command (" + arg + ")");
        for (const CommandRow& row : kCommands) {
            if (row.name == arg)
                command = row.command;
        }
        if (!command)
            return Refuse(parsed, "unknown command " + arg);
    }

    if (help) {
        parsed.kind = ParsedArguments::Kind::Help;
        return parsed;
    }
    if (!command)
        return Refuse(parsed, "no command given");
    parsed.options.command = *command;

    parsed.options.portType = defaultPortType;
    if (portTypeText) {
        parsed.options.portType = PortTypeFromName(platform::AnsiToWide(*portTypeText));
        if (parsed.options.portType == PORT_TYPE_NONE)
            return Refuse(parsed, "unknown port type " + *portTypeText, true);
    }
    if (IsUsbFamily(parsed.options.portType)) {
        if (addressText)
            return Refuse(parsed, "--address is not for the USB port type " +
                                      std::string(PortTypeText(parsed.options.portType)), true);
    } else {
        if (!addressText)
            return Refuse(parsed, "the network port types need --address", true);
        parsed.options.hostAddress = HostAddressFromText(*addressText);
        if (parsed.options.hostAddress == 0)
            return Refuse(parsed, "not a usable IPv4 address: " + *addressText, true);
    }
    parsed.kind = ParsedArguments::Kind::Run;
    return parsed;
}
