#pragma once
// Owns one file descriptor and closes it on every path out of its scope.

namespace platform {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }

    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }

    // Gives the descriptor up without closing it.
    int Release()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    // Closes the descriptor held, if any, and takes `fd`. A failed close is
    // not reported: the descriptor is gone either way (Linux frees it even
    // on EINTR), and a caller that must know about a deferred write error
    // calls sys::Close itself.
    void Reset(int fd = -1);

private:
    int m_fd = -1;
};

} // namespace platform
