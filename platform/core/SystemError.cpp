#include "platform/core/SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {

SystemError::SystemError(std::string_view call, int code) : m_call(call), m_code(code) {}

SystemError SystemError::FromErrno(std::string_view call)
{
    return SystemError(call, errno);
}

std::string SystemError::Name() const
{
    if (const char* name = strerrorname_np(m_code))
        return name;
    return "errno " + std::to_string(m_code);
}

std::string SystemError::Message() const
{
    std::string text = m_context;
    text += m_call;
    text += ": ";
    text += Name();
    text += " (";
    text += strerrordesc_np(m_code) ? strerrordesc_np(m_code) : "unknown error";
    text += ')';
    return text;
}

SystemError SystemError::WithContext(std::string_view context) const
{
    SystemError copy = *this;
    copy.m_context.insert(0, std::string(context) + ": ");
    return copy;
}

} // namespace platform
