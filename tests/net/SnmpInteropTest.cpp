// Against net-snmp, an SNMP implementation nobody here wrote: our manager
// asks its agent (snmpd), and its manager (snmpget) asks our agent codec.
// Both peers run as the test's children on a loopback address and a free
// port; the tests skip when net-snmp is not installed.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/System.h"
#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpManager.h"
#include "tests/net/ChildProcess.h"
#include "tests/net/TestAgent.h"

namespace {

using namespace platform::snmp;
using namespace std::chrono_literals;
using nettest::ChildProcess;
using nettest::TempFolder;
using Kind = SnmpGetResult::Kind;

const std::string kStatusOid = ".1.3.6.1.4.1.32473.2.2.2.1.24.1";
const std::string kVantaOid = ".1.3.6.1.4.1.39021.3.2.1.1";
const std::string kStatusText = "MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;";
const std::uint32_t kSnmpdAddress = nettest::Loopback(62);
const std::uint32_t kAgentAddress = nettest::Loopback(63);

// net-snmp loads no MIB files (numeric OIDs need none, and a missing one
// fills the log) and keeps its state in the test's folder, not the
// system's.
std::vector<std::string> NetSnmpEnvironment(const TempFolder& folder)
{
    return {"MIBS=", "MIBDIRS=" + (folder.Path() / "no-mibs").string(),
            "SNMP_PERSISTENT_DIR=" + (folder.Path() / "state").string()};
}

// A UDP port nobody holds right now. Another program may take it before
// snmpd binds it; the caller then starts over with another.
std::uint16_t FreeUdpPort(std::uint32_t address)
{
    auto socket = platform::sys::Socket(AF_INET, SOCK_DGRAM);
    if (!socket || !platform::sys::Bind(socket->Get(), platform::sys::MakeSockAddr(address, 0)))
        return 0;
    auto name = platform::sys::GetSockName(socket->Get());
    return name ? ntohs(name->sin_port) : 0;
}

TEST(NetSnmpInterop, ManagerReadsSnmpd)
{
    const std::optional<std::filesystem::path> snmpd = nettest::FindProgram("snmpd");
    if (!snmpd)
        GTEST_SKIP() << "snmpd (Debian package snmpd) is not installed; scripts/install-deps installs it";

    TempFolder folder;
    const std::filesystem::path conf = folder.Path() / "snmpd.conf";
    const std::filesystem::path log = folder.Path() / "snmpd.log";
    std::ofstream(conf) << "rocommunity public 127.0.0.0/8\n"
                        << "override " << kStatusOid << " octet_str \"" << kStatusText << "\"\n"
                        << "override " << kVantaOid << " integer 42\n";

    std::optional<ChildProcess> agent;
    std::uint16_t port = 0;
    bool ready = false;
    for (int attempt = 0; attempt < 3 && !ready; ++attempt) {
        port = FreeUdpPort(kSnmpdAddress);
        ASSERT_NE(port, 0);
        const std::string endpoint = "udp:" + platform::sys::FormatIpv4(kSnmpdAddress) + ":" + std::to_string(port);
        // -f: stay in the foreground, our child; -C: only our configuration.
        agent.emplace(std::vector<std::string>{snmpd->string(), "-f", "-Lo", "-C", "-c", conf.string(), endpoint},
                      NetSnmpEnvironment(folder), log);
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        while (!ready && agent->Running() && std::chrono::steady_clock::now() < deadline)
            ready = SnmpGet(kSnmpdAddress, "public", kStatusOid, 100ms, 0, port).Answered();
    }
    ASSERT_TRUE(ready) << "snmpd did not answer; its log:\n" << nettest::ReadFile(log);

    struct Row {
        const char* name;
        std::string community;
        std::string oid;
        Kind kind;
        std::string detail;
    };
    const Row rows[] = {
        {"the status text", "public", kStatusOid, Kind::OctetString, ""},
        {"an INTEGER", "public", kVantaOid, Kind::OtherAnswer, "a value of type INTEGER"},
        {"an unknown object", "public", kStatusOid + ".5", Kind::OtherAnswer,
         "error status 2 (noSuchName) at index 1"},
        // An SNMPv1 agent drops a request of a community it does not know.
        {"another community", "private", kStatusOid, Kind::NoAnswer, ""},
    };
    for (const Row& row : rows) {
        SnmpGetResult result = SnmpGet(kSnmpdAddress, row.community, row.oid, row.kind == Kind::NoAnswer ? 200ms : 5s,
                                       0, port);
        EXPECT_EQ(result.kind, row.kind) << row.name << ": " << result.Describe();
        EXPECT_EQ(result.detail, row.detail) << row.name;
        if (row.kind == Kind::OctetString) {
            EXPECT_EQ(std::string(result.octets.begin(), result.octets.end()), kStatusText);
        }
    }
}

TEST(NetSnmpInterop, SnmpgetReadsOurAgent)
{
    const std::optional<std::filesystem::path> snmpget = nettest::FindProgram("snmpget");
    if (!snmpget)
        GTEST_SKIP() << "snmpget (Debian package snmp) is not installed; scripts/install-deps installs it";

    const std::map<Oid, std::string> objects{{*Oid::Parse(kStatusOid), kStatusText},
                                              {*Oid::Parse(kVantaOid), "MDL:KX-70;VER:1.20;"}};
    nettest::TestAgent agent(kAgentAddress, [&objects](const GetRequest& request) {
        if (request.community != "public")
            return nettest::Replies{};
        return nettest::Replies{{EncodeGetResponse(request, [&objects](const Oid& oid) -> std::optional<Bytes> {
            auto found = objects.find(oid);
            if (found == objects.end())
                return std::nullopt;
            return Bytes(found->second.begin(), found->second.end());
        })}};
    });

    struct Row {
        const char* name;
        std::vector<std::string> oids;
        int exitCode;
        std::string output; // all of standard output when the exit code is 0, else a part of standard error
    };
    const Row rows[] = {
        {"the status text", {kStatusOid}, 0, "\"" + kStatusText + "\"\n"},
        {"two objects in one request", {kVantaOid, kStatusOid}, 0,
         "\"MDL:KX-70;VER:1.20;\"\n\"" + kStatusText + "\"\n"},
        {"an unknown object", {kStatusOid, kStatusOid + ".5"}, 2, "(noSuchName)"},
    };
    TempFolder folder;
    const std::filesystem::path out = folder.Path() / "snmpget.out";
    const std::filesystem::path err = folder.Path() / "snmpget.err";
    for (const Row& row : rows) {
        std::vector<std::string> argv{snmpget->string(), "-v1", "-c", "public", "-On", "-Oqv", "-t", "5", "-r", "0",
                                      platform::sys::FormatIpv4(agent.Address()) + ":" + std::to_string(agent.Port())};
        argv.insert(argv.end(), row.oids.begin(), row.oids.end());
        ChildProcess client(argv, NetSnmpEnvironment(folder), out, err);
        const int exitCode = client.Wait();
        const std::string output = nettest::ReadFile(out);
        const std::string errors = nettest::ReadFile(err);
        EXPECT_EQ(exitCode, row.exitCode) << row.name << ":\n" << output << errors;
        if (row.exitCode == 0) {
            EXPECT_EQ(output, row.output) << row.name << ":\n" << errors;
        } else {
            EXPECT_NE(errors.find(row.output), std::string::npos) << row.name << ":\n" << output << errors;
        }
    }
}

} // namespace
