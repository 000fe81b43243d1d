#include "app/MessageBoxLog.h"

#include <cstdlib>
#include <string>

#include "platform/text/Unicode.h"

namespace {

using platform::ui::MessageButtons;
using platform::ui::MessageIcon;

const char* IconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return "stop";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Information:
        return "information";
    case MessageIcon::None:
        break;
    }
    return "none";
}

const char* ButtonsName(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return "okcancel";
    case MessageButtons::YesNo:
        return "yesno";
    case MessageButtons::YesNoCancel:
        return "yesnocancel";
    case MessageButtons::Ok:
        break;
    }
    return "ok";
}

const char* ResultName(int result)
{
    switch (result) {
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return "none";
    }
}

std::string Quoted(std::wstring_view text)
{
    std::string quoted = "\"";
    for (char byte : platform::WideToUtf8(text)) {
        switch (byte) {
        case '\n':
            quoted += "\\n";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        default:
            quoted += byte;
        }
    }
    return quoted + '"';
}

} // namespace

int CMessageBoxLog::Present(const platform::ui::MessageBoxRequest& request)
{
    m_out << "tallow: message box: icon=" << IconName(request.icon) << " buttons=" << ButtonsName(request.buttons)
          << " default=" << ResultName(request.defaultButton) << " caption=" << Quoted(request.caption)
          << " text=" << Quoted(request.text) << std::endl;
    return request.defaultButton;
}

bool CMessageBoxLog::Requested()
{
    const char* value = std::getenv(kMessageBoxLogVariable);
    return value != nullptr && *value != '\0';
}
