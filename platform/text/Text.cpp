#include "platform/text/Text.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace platform {
namespace {

// Appends the narrow form of one character; '?' when the locale's encoding
// has no form for it (the Windows default character).
template <typename Sink>
void EncodeChar(wchar_t ch, std::mbstate_t& state, Sink&& sink)
{
    char bytes[MB_LEN_MAX];
    std::size_t n = std::wcrtomb(bytes, ch, &state);
    if (n == static_cast<std::size_t>(-1)) {
        state = std::mbstate_t{};
        sink("?", 1);
        return;
    }
    sink(bytes, n);
}

} // namespace

bool WideToAnsi(std::wstring_view text, std::span<char> buffer)
{
    if (buffer.empty())
        return false;
    std::size_t used = 0;
    bool fits = true;
    std::mbstate_t state{};
    for (wchar_t ch : text) {
        if (ch == L'\0')
            break;
        EncodeChar(ch, state, [&](const char* bytes, std::size_t n) {
            if (!fits)
                return;
            if (used + n + 1 > buffer.size()) {
                fits = false;
                return;
            }
            std::memcpy(buffer.data() + used, bytes, n);
            used += n;
        });
        if (!fits)
            break;
    }
    buffer[fits ? used : 0] = '\0';
    return fits;
}

std::string WideToAnsi(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    std::mbstate_t state{};
    for (wchar_t ch : text) {
        if (ch == L'\0')
            break;
        EncodeChar(ch, state, [&](const char* bytes, std::size_t n) { out.append(bytes, n); });
    }
    return out;
}

std::wstring AnsiToWide(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    std::mbstate_t state{};
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        wchar_t ch = 0;
        std::size_t n = std::mbrtowc(&ch, bytes.data() + pos, bytes.size() - pos, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            // Invalid or cut-off sequence: one replacement per byte, and
            // start afresh at the next byte.
            out.push_back(L'\uFFFD');
            state = std::mbstate_t{};
            ++pos;
            continue;
        }
        if (n == 0) { // an embedded zero byte
            out.push_back(L'\0');
            ++pos;
            continue;
        }
        out.push_back(ch);
        pos += n;
    }
    return out;
}

} // namespace platform
