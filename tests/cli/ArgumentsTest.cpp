// tallowctl's command line: what it accepts, and every way it refuses (exit
// code 3 in the program).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "ports/PortType.h"

namespace {

using Kind = ParsedArguments::Kind;

TEST(TallowctlArguments, AcceptsACommandWithItsOptionsAnywhere)
{
    struct Row {
        std::vector<std::string> args;
        int defaultPortType;
        Command command;
        int portType;
        DWORD hostAddress;
        bool json;
    };
    const Row rows[] = {
        {{"--port-type", "Ethernet1", "--address", "127.30.1.2", "install"},
         PORT_TYPE_DLL_USB, Command::Install, PORT_TYPE_ETHERNET1, 0x7F1E0102, false},
        {{"status", "--json", "--port-type=ethernet4", "--address=10.0.0.200"},
         PORT_TYPE_DLL_USB, Command::Status, PORT_TYPE_ETHERNET4, 0x0A0000C8, true},
        {{"check"}, PORT_TYPE_DLL_USB, Command::Check, PORT_TYPE_DLL_USB, 0, false},
        {{"--port-type", "usb", "check"}, PORT_TYPE_ETHERNET2, Command::Check, PORT_TYPE_USB, 0, false},
        {{"--address", "192.168.0.20", "install"}, PORT_TYPE_ETHERNET3, Command::Install, PORT_TYPE_ETHERNET3,
         0xC0A80014, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.front());
        const ParsedArguments parsed = ParseArguments(row.args, row.defaultPortType);
        ASSERT_EQ(parsed.kind, Kind::Run) << parsed.error;
        EXPECT_EQ(parsed.options.command, row.command);
        EXPECT_EQ(parsed.options.portType, row.portType);
        EXPECT_EQ(parsed.options.hostAddress, row.hostAddress) << "host byte order, first octet highest";
        EXPECT_EQ(parsed.options.json, row.json);
    }
}

TEST(TallowctlArguments, RefusesWhatItCannotRun)
{
    struct Row {
        const char* name;
        std::vector<std::string> args;
        bool portRefused; // answered with the installer's message 171
    };
    const Row rows[] = {
        {"nothing at all", {}, false},
        {"no command", {"--json"}, false},
        {"unknown command", {"flash"}, false},
        {"two commands", {"check", "install"}, false},
        {"unknown option", {"--verbose", "check"}, false},
        {"the installer's own option", {"-i", "10.0.0.1", "check"}, false},
        {"option without its value", {"check", "--port-type"}, false},
        {"option given twice", {"--port-type", "USB", "--port-type=USB", "check"}, false},
        {"unknown port type", {"--port-type", "Ethernet5", "--address", "10.0.0.1", "check"}, true},
        {"empty port type", {"--port-type=", "check"}, true},
        {"network type without address", {"--port-type", "Ethernet2", "install"}, true},
        {"USB type with an address", {"--port-type", "DLL_USB", "--address", "10.0.0.1", "install"}, true},
        {"three numbers", {"--port-type", "Ethernet1", "--address", "10.0.1", "status"}, true},
        {"octet beyond 255", {"--port-type", "Ethernet1", "--address", "10.0.0.256", "status"}, true},
        {"host name", {"--port-type", "Ethernet1", "--address", "printer.local", "status"}, true},
        {"trailing blank", {"--port-type", "Ethernet1", "--address", "10.0.0.1 ", "status"}, true},
        {"0.0.0.0", {"--port-type", "Ethernet1", "--address", "0.0.0.0", "status"}, true},
        {"255.255.255.255", {"--port-type", "Ethernet1", "--address", "255.255.255.255", "status"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ParsedArguments parsed = ParseArguments(row.args, PORT_TYPE_DLL_USB);
        EXPECT_EQ(parsed.kind, Kind::Error);
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.portRefused, row.portRefused);
    }

    // A build whose own port type is unknown counts as network: it needs an address.
    EXPECT_EQ(ParseArguments(std::vector<std::string>{"status"}, PORT_TYPE_NONE).kind, Kind::Error);
}

TEST(TallowctlArguments, JsonIsKnownEvenWhenTheRestIsRefused)
{
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>{"--json", "flash"}, PORT_TYPE_DLL_USB);
    EXPECT_EQ(parsed.kind, Kind::Error);
    EXPECT_TRUE(parsed.options.json);
}

TEST(TallowctlArguments, HelpIsNotAnError)
{
    EXPECT_EQ(ParseArguments(std::vector<std::string>{"--help"}, PORT_TYPE_DLL_USB).kind, Kind::Help);
    EXPECT_EQ(ParseArguments(std::vector<std::string>{"install", "-h"}, PORT_TYPE_ETHERNET1).kind, Kind::Help);
}

} // namespace
