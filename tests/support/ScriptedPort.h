#pragma once
// A port that plays a printer from a script: QueryStatus hands out the given
// status texts (or failures) in order, the other operations return fixed
// results, and every call is written to a journal.
//
// The journal is shared, so a test can still read it after the port has
// been handed to its owner (the update driver) or freed by it; `destroyed`
// tells whether the owner has released the port.
//
//   auto port = std::make_unique<testsupport::ScriptedPort>();
//   port->Reply(L"MDL:KX-70;VER:1.10;").NoReply();
//   auto journal = port->Journal();
//   std::unique_ptr<CPort> owned = std::move(port);

#include "ports/Port.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct PortJournal {
    enum class Op { QueryStatus, EnterUpdateMode, SendData, GetAccessCode };

    struct Call {
        Op op;
        std::vector<std::uint8_t> data; // SendData: the bytes passed
        DWORD chunkSize = 0;            // SendData: the piece size asked for
        BOOL result = 0;                // what the port answered (GetAccessCode: nonzero when it gave a code)
    };

    std::vector<Call> calls;
    bool destroyed = false;

    std::size_t Count(Op op) const
    {
        std::size_t n = 0;
        for (const Call& call : calls)
            n += call.op == op ? 1 : 0;
        return n;
    }

    // Everything passed to SendData, in order.
    std::vector<std::uint8_t> SentBytes() const
    {
        std::vector<std::uint8_t> bytes;
        for (const Call& call : calls) {
            if (call.op == Op::SendData)
                bytes.insert(bytes.end(), call.data.begin(), call.data.end());
        }
        return bytes;
    }
};

class ScriptedPort final : public CPort {
public:
    // Computes a status reply when the script has run out; nullopt fails the
    // query. For peers whose answer depends on what they were sent.
    using Responder = std::function<std::optional<std::wstring>(const PortJournal&)>;

    ScriptedPort() : m_journal(std::make_shared<PortJournal>()) {}
    ~ScriptedPort() override { m_journal->destroyed = true; }

    // The next scripted QueryStatus succeeds with `text`.
    ScriptedPort& Reply(std::wstring text)
    {
        m_script.emplace_back(std::move(text));
        return *this;
    }

    // The next scripted QueryStatus fails.
    ScriptedPort& NoReply()
    {
        m_script.emplace_back(std::nullopt);
        return *this;
    }

    // Once the script has run out the port keeps answering with its last
    // scripted entry; without this it stays silent (QueryStatus fails).
    ScriptedPort& RepeatLast()
    {
        m_repeatLast = true;
        return *this;
    }

    // Once the script has run out, `responder` answers instead.
    ScriptedPort& Respond(Responder responder)
    {
        m_responder = std::move(responder);
        return *this;
    }

    ScriptedPort& EnterUpdateModeResult(BOOL result)
    {
        m_enterResult = result;
        return *this;
    }

    ScriptedPort& SendDataResult(BOOL result)
    {
        m_sendResult = result;
        return *this;
    }

    ScriptedPort& AccessCode(const char* code)
    {
        m_accessCode = code;
        return *this;
    }

    std::shared_ptr<const PortJournal> Journal() const { return m_journal; }

    BOOL QueryStatus(std::wstring& statusText) override
    {
        std::optional<std::wstring> reply = NextReply();
        BOOL result = reply.has_value() ? 1 : 0;
        if (reply)
            statusText = std::move(*reply);
        m_journal->calls.push_back({PortJournal::Op::QueryStatus, {}, 0, result});
        return result;
    }

    BOOL EnterUpdateMode() override
    {
        m_journal->calls.push_back({PortJournal::Op::EnterUpdateMode, {}, 0, m_enterResult});
        return m_enterResult;
    }

    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) override
    {
        std::vector<std::uint8_t> bytes;
        if (data != nullptr)
            bytes.assign(data, data + length);
        m_journal->calls.push_back({PortJournal::Op::SendData, std::move(bytes), chunkSize, m_sendResult});
        return m_sendResult;
    }

    const char* GetAccessCode() const override
    {
        m_journal->calls.push_back({PortJournal::Op::GetAccessCode, {}, 0, m_accessCode != nullptr ? 1 : 0});
        return m_accessCode;
    }

private:
    std::optional<std::wstring> NextReply()
    {
        if (!m_script.empty()) {
            std::optional<std::wstring> next = m_script.front();
            if (m_script.size() > 1 || !m_repeatLast)
                m_script.pop_front();
            return next;
        }
        if (m_responder)
            return m_responder(*m_journal);
        return std::nullopt;
    }

    std::shared_ptr<PortJournal> m_journal;
    std::deque<std::optional<std::wstring>> m_script;
    bool m_repeatLast = false;
    Responder m_responder;
    BOOL m_enterResult = 1;
    BOOL m_sendResult = 1;
    const char* m_accessCode = nullptr;
};

} // namespace testsupport
