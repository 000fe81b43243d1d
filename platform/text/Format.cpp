#include "platform/text/Format.h"

#include <cstddef>
#include <string>

namespace platform {
namespace {

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
};

void Pad(std::wstring& out, std::wstring_view body, const Spec& spec, bool numeric)
{
    std::size_t fill = spec.width > body.size() ? spec.width - body.size() : 0;
    if (spec.leftAlign) {
        out += body;
        out.append(fill, L' ');
        return;
    }
    if (spec.zeroPad && numeric) {
        // The sign stays in front of the zeros, as printf puts it.
        if (!body.empty() && body.front() == L'-') {
            out += L'-';
            body.remove_prefix(1);
        }
        out.append(fill, L'0');
        out += body;
        return;
    }
    out.append(fill, L' ');
    out += body;
}

} // namespace

std::wstring Format(std::wstring_view format, std::initializer_list<FormatArg> args)
{
    std::wstring out;
    out.reserve(format.size() + 32);
    const FormatArg* next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        wchar_t c = format[i++];
        if (c != L'%') {
            out += c;
            continue;
        }
        if (i < format.size() && format[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        Spec spec;
        for (; i < format.size() && (format[i] == L'-' || format[i] == L'0'); ++i)
            (format[i] == L'-' ? spec.leftAlign : spec.zeroPad) = true;
        for (; i < format.size() && format[i] >= L'0' && format[i] <= L'9' && spec.width < 1000; ++i)
            spec.width = spec.width * 10 + static_cast<std::size_t>(format[i] - L'0');
        if (i >= format.size())
            break; // a lone '%' at the end prints nothing
        wchar_t conversion = format[i++];
        const FormatArg* arg = next != args.end() ? next++ : nullptr;
        if (conversion == L's') {
            const auto* text = arg ? std::get_if<std::wstring_view>(arg) : nullptr;
            Pad(out, text ? *text : std::wstring_view{}, spec, false);
        } else if (conversion == L'd' || conversion == L'i') {
            const auto* number = arg ? std::get_if<int>(arg) : nullptr;
            if (number)
                Pad(out, std::to_wstring(*number), spec, true);
        }
        // Unknown conversions consume their argument and print nothing.
    }
    return out;
}

} // namespace platform
