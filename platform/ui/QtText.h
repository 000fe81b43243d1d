#pragma once
// Wide text to Qt and back (private to the UI layer). wchar_t is UTF-32 on
// Linux, so both directions are lossless.

#include <QString>
#include <string>
#include <string_view>

namespace platform::ui {

inline QString ToQString(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::wstring ToWide(const QString& text)
{
    return text.toStdWString();
}

} // namespace platform::ui
