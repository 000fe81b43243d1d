#pragma once
// The failure of one system call: which call, and errno.
//
// "sendto: ECONNREFUSED (Connection refused)" says what went wrong where
// "failed" does not. Each system call is wrapped once (platform/core/System.h)
// and its wrapper returns this on failure; callers add context as the error
// rises ("snmp 192.0.2.7:161: sendto: ...").

#include <string>
#include <string_view>

#include "platform/core/Result.h"

namespace platform {

class SystemError {
public:
    SystemError(std::string_view call, int code);

    // The error of `call` that just failed, from errno.
    static SystemError FromErrno(std::string_view call);

    const std::string& Call() const { return m_call; }
    int Code() const { return m_code; }

    // The symbolic errno name ("ECONNREFUSED"); "errno 1234" for a code
    // the C library has no name for.
    std::string Name() const;

    // "[context: ]call: NAME (description)".
    std::string Message() const;

    // A copy that says where the call was made; contexts nest outwards,
    // the latest first ("snmp: socket: ..." then "query: snmp: socket: ...").
    SystemError WithContext(std::string_view context) const;

    bool operator==(const SystemError&) const = default;

private:
    std::string m_context;
    std::string m_call;
    int m_code;
};

template <typename T>
using SystemResult = Result<T, SystemError>;

} // namespace platform
