// QueryStatus of every network port against an SNMP agent on UDP 161 of
// this process's own loopback address: which object each asks for, what
// counts as the printer's text, and how long a silent printer costs.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpMessage.h"
#include "ports/LprNetworkPort.h"
#include "ports/QuillNetworkPort.h"
#include "ports/VantaNetworkPort.h"
#include "tests/net/TestAgent.h"
#include "tests/support/LoopbackAddress.h"

namespace {

using namespace platform::snmp;
using namespace std::chrono_literals;

const char* const kLprOid = ".1.3.6.1.4.1.32473.2.2.2.1.24.1";
const char* const kVantaOid = ".1.3.6.1.4.1.39021.3.2.1.1";
const std::string kStatus = "MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;";

struct PortKind {
    const char* name;
    std::function<std::unique_ptr<CPort>(DWORD)> make;
    const char* oid;
};

const PortKind kKinds[] = {
    {"LPR, code A", [](DWORD a) { return std::make_unique<CLprNetworkPort>(a, 0); }, kLprOid},
    {"LPR, code B", [](DWORD a) { return std::make_unique<CLprNetworkPort>(a, 1); }, kLprOid},
    {"Vanta", [](DWORD a) { return std::make_unique<CVantaNetworkPort>(a); }, kVantaOid},
    {"Quill", [](DWORD a) { return std::make_unique<CQuillNetworkPort>(a); }, kVantaOid},
};

// An agent on the printer's own port that serves `value` for `oid` only
// and notes the community of every request.
class Printer {
public:
    Printer(std::uint32_t address, std::string oid, Value value)
        : m_agent(
              address,
              [this, oid = *Oid::Parse(oid), value = std::move(value)](const GetRequest& request) {
                  {
                      std::lock_guard lock(m_mutex);
                      m_communities.push_back(request.community);
                  }
                  Message message;
                  message.community = request.community;
                  if (request.oids.size() != 1 || request.oids[0] != oid) {
                      // Not ours: noSuchName, as an SNMPv1 agent answers.
                      return nettest::Replies{{EncodeGetResponse(request, [](const Oid&) { return std::nullopt; })}};
                  }
                  message.pdu = {Tag::GetResponse, request.requestId, 0, 0, {{oid, value}}};
                  return nettest::Replies{{EncodeMessage(message)}};
              },
              kAgentPort)
    {
    }

    std::vector<std::string> Communities()
    {
        std::lock_guard lock(m_mutex);
        return m_communities;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_communities;
    nettest::TestAgent m_agent; // last: its thread stops before the rest goes
};

OctetString Text(std::string_view text)
{
    return OctetString{Bytes(text.begin(), text.end())};
}

TEST(NetworkPortStatus, EachPortReadsItsOwnObject)
{
    const std::uint32_t address = testsupport::LoopbackAddress(12);
    for (const PortKind& asked : kKinds) {
        SCOPED_TRACE(asked.name);
        Printer printer(address, asked.oid, Text(kStatus));
        for (const PortKind& kind : kKinds) {
            SCOPED_TRACE(::testing::Message() << "asked by " << kind.name);
            std::wstring status = L"before";
            const bool sameObject = std::string(kind.oid) == asked.oid;
            EXPECT_EQ(kind.make(address)->QueryStatus(status), sameObject ? 1 : 0);
            EXPECT_EQ(status, sameObject ? std::wstring(kStatus.begin(), kStatus.end()) : L"before");
        }
        for (const std::string& community : printer.Communities())
            EXPECT_EQ(community, "public");
    }
}

TEST(NetworkPortStatus, OnlyAnOctetStringIsTheText)
{
    struct Row {
        const char* name;
        Value value;
        BOOL result;
        std::wstring status;
    };
    const Row rows[] = {
        {"an empty text is still an answer", Text(""), 1, L""},
        {"an INTEGER is not a text", Integer{42}, 0, L"before"},
        {"neither is a NULL", Null{}, 0, L"before"},
    };
    const std::uint32_t address = testsupport::LoopbackAddress(13);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Printer printer(address, kVantaOid, row.value);
        std::wstring status = L"before";
        EXPECT_EQ(CVantaNetworkPort(address).QueryStatus(status), row.result);
        EXPECT_EQ(status, row.status);
    }
}

TEST(NetworkPortStatus, SilentPrinterFailsAfterTheTimeOut)
{
    // Nothing serves UDP 161 here.
    const std::uint32_t address = testsupport::LoopbackAddress(14);
    for (const PortKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        std::wstring status = L"before";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(kind.make(address)->QueryStatus(status), 0);
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(status, L"before");
        // About 200 ms: never less, and not seconds.
        EXPECT_GE(waited, 200ms);
        EXPECT_LT(waited, 3s);
    }
}

} // namespace
