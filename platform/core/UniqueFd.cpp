#include "platform/core/UniqueFd.h"

#include "platform/core/System.h"

namespace platform {

void UniqueFd::Reset(int fd)
{
    if (m_fd >= 0 && m_fd != fd)
        (void)sys::Close(m_fd);
    m_fd = fd;
}

} // namespace platform
