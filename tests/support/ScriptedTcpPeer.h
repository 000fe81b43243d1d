#pragma once
// A TCP peer on a thread that plays the printer's side of a connection from
// a script and records every byte the installer sends.
//
//   ScriptedTcpPeer peer(LoopbackAddress(10), 9101, [](PeerConnection& c) {
//       if (c.Read(25))
//           c.Drain();
//   });
//   port.EnterUpdateMode();
//   std::vector<PeerRecord> seen = peer.WaitForConnections(1);
//   EXPECT_EQ(seen[0].received, expectedFrame);
//
// Connections are served one after another, as the installer makes them.
// When a script returns without closing, the peer reads on until the
// installer closes, so the record holds everything that was sent. Every
// wait of the peer also watches for the peer's end, so a test that fails
// half-way never leaves the thread behind.

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"
#include "platform/core/UniqueFd.h"
#include "platform/net/TcpConnection.h"

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// What one accepted connection brought.
struct PeerRecord {
    Bytes received;              // every byte the installer sent, in order (when recording)
    std::size_t receivedCount{}; // how many bytes that was (also without recording)
    bool installerClosed{};      // the peer read the end of the installer's stream (or a reset)
    bool peerClosed{};           // the script closed the connection itself
};

// The peer's side of one connection, as a script sees it.
class PeerConnection {
public:
    PeerConnection(platform::UniqueFd fd, int stopFd, bool recording, PeerRecord& record)
        : m_fd(std::move(fd)), m_stopFd(stopFd), m_recording(recording), m_record(record)
    {
    }

    // Consumes `count` bytes; false when the stream ended first.
    bool Read(std::size_t count)
    {
        const std::size_t buffered = std::min(count, m_pending.size() - m_offset);
        m_offset += buffered;
        count -= buffered;
        while (count > 0) {
            const std::size_t arrived = ReceiveChunk();
            if (arrived == 0)
                return false;
            const std::size_t taken = std::min(count, arrived);
            count -= taken;
            // Only what runs past this read is kept for the next one.
            m_pending.assign(m_chunk.begin() + static_cast<std::ptrdiff_t>(taken),
                             m_chunk.begin() + static_cast<std::ptrdiff_t>(arrived));
            m_offset = 0;
        }
        return true;
    }

    // Consumes bytes through the next line feed and returns them in `line`,
    // feed included; false when the stream ended first.
    bool ReadLine(std::string& line)
    {
        line.clear();
        for (;;) {
            const auto begin = m_pending.begin() + static_cast<std::ptrdiff_t>(m_offset);
            const auto feed = std::find(begin, m_pending.end(), std::uint8_t{'\n'});
            if (feed != m_pending.end()) {
                line.assign(begin, feed + 1);
                m_offset += line.size();
                return true;
            }
            const std::size_t arrived = ReceiveChunk();
            if (arrived == 0)
                return false;
            m_pending.erase(m_pending.begin(), begin);
            m_offset = 0;
            m_pending.insert(m_pending.end(), m_chunk.begin(), m_chunk.begin() + static_cast<std::ptrdiff_t>(arrived));
        }
    }

    // Sends all of `bytes`; false when the installer has gone.
    bool Send(std::span<const std::uint8_t> bytes)
    {
        while (!bytes.empty()) {
            auto sent = platform::sys::Send(m_fd.Get(), bytes);
            if (!sent)
                return false;
            bytes = bytes.subspan(*sent);
        }
        return true;
    }

    // Closes the connection now, as a printer that gives up would.
    void Close()
    {
        m_fd.Reset();
        m_record.peerClosed = true;
    }

    bool IsOpen() const { return m_fd.IsValid(); }

    // Reads until the installer closes its side.
    void Drain()
    {
        while (ReceiveChunk() > 0) {
        }
        m_pending.clear();
        m_offset = 0;
    }

    // Whether the installer's close has arrived by now, without waiting.
    bool InstallerHasClosed() const
    {
        if (m_record.installerClosed)
            return true;
        pollfd entry{m_fd.Get(), POLLRDHUP, 0};
        auto ready = platform::sys::Poll({&entry, 1}, std::chrono::milliseconds{0});
        return ready && *ready > 0 && (entry.revents & (POLLRDHUP | POLLHUP)) != 0;
    }

private:
    // Receives what arrives next into m_chunk and records it. 0 at the end
    // of the stream (or a reset, or the peer's end).
    std::size_t ReceiveChunk()
    {
        if (!m_fd.IsValid() || m_record.installerClosed)
            return 0;
        for (;;) {
            pollfd entries[2] = {{m_fd.Get(), POLLIN, 0}, {m_stopFd, POLLIN, 0}};
            auto ready = platform::sys::Poll(entries, std::chrono::milliseconds{1000});
            if (!ready && ready.Error().Code() != EINTR)
                return 0;
            if (ready && entries[1].revents != 0)
                return 0;
            if (ready && entries[0].revents != 0)
                break;
        }
        auto received = platform::sys::Recv(m_fd.Get(), m_chunk);
        const std::size_t count = received ? *received : 0;
        if (count == 0) {
            m_record.installerClosed = true;
            return 0;
        }
        m_record.receivedCount += count;
        if (m_recording)
            m_record.received.insert(m_record.received.end(), m_chunk.begin(),
                                     m_chunk.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }

    static constexpr std::size_t kChunk = 256 * 1024;

    platform::UniqueFd m_fd;
    int m_stopFd;
    bool m_recording;
    PeerRecord& m_record;
    Bytes m_chunk = Bytes(kChunk);
    Bytes m_pending;     // received, not yet consumed from m_offset on
    std::size_t m_offset = 0;
};

using PeerScript = std::function<void(PeerConnection&)>;

class ScriptedTcpPeer {
public:
    enum class Recording { On, Off };

    // Listens on `address` (network byte order) at `port` (0: any free one).
    // Without a script the peer just reads each connection to its end.
    ScriptedTcpPeer(std::uint32_t address, std::uint16_t port, PeerScript script, Recording recording = Recording::On)
        : m_script(std::move(script)), m_recording(recording == Recording::On), m_stop(::eventfd(0, EFD_CLOEXEC))
    {
        if (!m_stop.IsValid())
            throw std::runtime_error("eventfd failed");
        auto socket = platform::sys::Socket(AF_INET, SOCK_STREAM);
        if (!socket)
            throw std::runtime_error(socket.Error().Message());
        m_listener = std::move(*socket);
        // A test that serves the same port again in this process must not
        // wait for the last connection's TIME_WAIT.
        Check(platform::sys::SetSockOptInt(m_listener.Get(), SOL_SOCKET, SO_REUSEADDR, 1));
        Check(platform::sys::Bind(m_listener.Get(), platform::sys::MakeSockAddr(address, port)));
        Check(platform::sys::Listen(m_listener.Get(), 8));
        auto name = platform::sys::GetSockName(m_listener.Get());
        if (!name)
            throw std::runtime_error(name.Error().Message());
        m_port = ntohs(name->sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~ScriptedTcpPeer()
    {
        const std::uint64_t one = 1;
        (void)!::write(m_stop.Get(), &one, sizeof one);
        m_thread.join();
    }

    ScriptedTcpPeer(const ScriptedTcpPeer&) = delete;
    ScriptedTcpPeer& operator=(const ScriptedTcpPeer&) = delete;

    std::uint16_t Port() const { return m_port; }

    // The records of the first `count` connections once they have ended
    // (fewer if they do not within `patience`).
    std::vector<PeerRecord> WaitForConnections(std::size_t count,
                                               std::chrono::milliseconds patience = std::chrono::milliseconds{10000})
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, patience, [&] { return m_records.size() >= count; });
        return m_records;
    }

    // How many connections have ended once `count` have (fewer if they do
    // not within `patience`); cheaper than the records when there are many.
    std::size_t WaitForEnded(std::size_t count, std::chrono::milliseconds patience = std::chrono::milliseconds{10000})
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, patience, [&] { return m_records.size() >= count; });
        return m_records.size();
    }

    // Connections accepted so far, ended or not.
    std::size_t Accepted() const
    {
        std::lock_guard lock(m_mutex);
        return m_accepted;
    }

private:
    static void Check(const platform::SystemResult<void>& result)
    {
        if (!result)
            throw std::runtime_error(result.Error().Message());
    }

    void Serve()
    {
        for (;;) {
            pollfd entries[2] = {{m_listener.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}};
            auto ready = platform::sys::Poll(entries, std::chrono::milliseconds{1000});
            if (!ready && ready.Error().Code() != EINTR)
                return;
            if (entries[1].revents != 0)
                return;
            if (entries[0].revents == 0)
                continue;
            auto accepted = platform::sys::Accept(m_listener.Get());
            if (!accepted)
                continue;
            {
                std::lock_guard lock(m_mutex);
                ++m_accepted;
            }
            PeerRecord record;
            {
                PeerConnection connection(std::move(accepted->fd), m_stop.Get(), m_recording, record);
                if (m_script)
                    m_script(connection);
                if (connection.IsOpen())
                    connection.Drain();
            }
            std::lock_guard lock(m_mutex);
            m_records.push_back(std::move(record));
            m_changed.notify_all();
        }
    }

    PeerScript m_script;
    bool m_recording;
    platform::UniqueFd m_stop;
    platform::UniqueFd m_listener;
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<PeerRecord> m_records;
    std::size_t m_accepted = 0;
    std::thread m_thread;
};

// Ends a port operation that would otherwise wait for ever on a peer that
// never answers (a broken script): the socket waits call the hook between
// slices, and a hook that throws makes the operation fail with 0.
class WaitWatchdog {
public:
    explicit WaitWatchdog(std::chrono::milliseconds patience = std::chrono::milliseconds{20000})
        : m_hook([deadline = std::chrono::steady_clock::now() + patience] {
              if (std::chrono::steady_clock::now() > deadline)
                  throw std::runtime_error("socket wait outlasted the test's patience");
          })
    {
    }

private:
    platform::ScopedSocketWaitHook m_hook;
};

} // namespace testsupport
