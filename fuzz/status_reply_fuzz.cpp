// The printer's status text is the one input the installer takes from the
// printer as text: parse it every way the update driver does.
//
// Input: the first byte picks how the rest becomes wide text; even: one
// character per byte (the replies printers send), odd: one 32-bit character
// per four bytes (anything a wchar_t can hold, surrogates and beyond).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "update/StatusReply.h"

namespace {

std::wstring WideTextOf(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    if (size == 0)
        return text;
    const bool wide = (data[0] & 1) != 0;
    ++data;
    --size;
    if (!wide) {
        text.assign(data, data + size);
        return text;
    }
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t ch;
        std::memcpy(&ch, data + i, sizeof ch);
        text.push_back(static_cast<wchar_t>(ch));
    }
    return text;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = WideTextOf(data, size);

    CStatusReply reply;
    // Every item stores a pair, so only the empty text yields none.
    Check(reply.Parse(text) == !text.empty());

    const std::optional<std::wstring> status = reply.Lookup(L"STATUS");
    const int formats[] = {STATUS_FORMAT_NONE, STATUS_FORMAT_WORD, STATUS_FORMAT_RECORDS, 1, -3};
    for (int format : formats) {
        const bool found = reply.GetStatusCode(format);
        const std::wstring& code = reply.GetStatusCodeText();
        if (found && !code.empty() && format != STATUS_FORMAT_NONE && !reply.IsIplMode()) {
            // A code is always cut out of STATUS.
            Check(status.has_value() && status->find(code) != std::wstring::npos);
            if (format == STATUS_FORMAT_WORD)
                Check(code.size() == 8);
        }
    }

    const int version = reply.GetVersion();
    if (!reply.Lookup(L"VER"))
        Check(version == -1);
    (void)FormatVersion(version);

    const int direct = VersionToHundredths(text);
    const std::wstring formatted = FormatVersion(direct);
    Check(direct < 0 ? formatted == L"---" : !formatted.empty());
    return 0;
}
