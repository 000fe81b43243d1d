#pragma once
// The printer's LPD as the installer's LPR port meets it, for a
// ScriptedTcpPeer: a receive-job command, then data files (subcommand,
// bytes, terminating zero byte), each step answered as the test says.
//
//   ScriptedTcpPeer lpd(address, 515, LpdReceiver([](LpdStep step, int file) {
//       return step == LpdStep::Subcommand && file == 1 ? LpdAnswer::Close() : LpdAnswer::Ack();
//   }));
//
// It follows the framing only as far as it needs to answer at the right
// moments; the test asserts on the bytes the peer recorded.

#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/ScriptedTcpPeer.h"

namespace testsupport {

enum class LpdStep {
    JobCommand, // the receive-job line
    Subcommand, // a data file's announcement line
    EndOfFile,  // a data file's bytes and its terminating zero byte
};

// What the printer does at a step: send these bytes, or close instead.
struct LpdAnswer {
    std::optional<Bytes> bytes; // nothing: close the connection

    static LpdAnswer Ack() { return {Bytes{0x00}}; }
    static LpdAnswer Reply(Bytes reply) { return {std::move(reply)}; }
    static LpdAnswer Close() { return {std::nullopt}; }
};

// `file` counts the data files of the job from 0 (0 for the job command).
using LpdAnswers = std::function<LpdAnswer(LpdStep step, int file)>;

inline LpdAnswer AcknowledgeEverything(LpdStep, int)
{
    return LpdAnswer::Ack();
}

inline PeerScript LpdReceiver(LpdAnswers answers = AcknowledgeEverything)
{
    return [answers = std::move(answers)](PeerConnection& connection) {
        // Plays one answer; false when the connection is over.
        auto answer = [&](LpdStep step, int file) {
            LpdAnswer reply = answers(step, file);
            if (!reply.bytes) {
                connection.Close();
                return false;
            }
            return connection.Send(*reply.bytes);
        };

        std::string line;
        if (!connection.ReadLine(line) || !answer(LpdStep::JobCommand, 0))
            return;
        for (int file = 0;; ++file) {
            // The installer closing here ends the job.
            if (!connection.ReadLine(line))
                return;
            // "\x03" count " x\n": anything else is not a subcommand this
            // receiver knows, and it stops answering.
            std::uint32_t count = 0;
            const char* digits = line.data() + 1;
            const char* end = line.data() + line.size();
            if (line.size() < 2 || line[0] != '\x03' ||
                std::from_chars(digits, end, count).ec != std::errc{}) {
                connection.Close();
                return;
            }
            if (!answer(LpdStep::Subcommand, file))
                return;
            if (!connection.Read(std::size_t{count} + 1) || !answer(LpdStep::EndOfFile, file))
                return;
        }
    };
}

} // namespace testsupport
