#include "platform/ui/MessageBox.h"

#include <cerrno>
#include <vector>

#include "platform/resources/Resources.h"
#include "platform/text/Text.h"

namespace platform::ui {
namespace {

MessagePresenter* g_installed = nullptr;

MessageButtons ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return MessageButtons::OkCancel;
    case MB_YESNO:
        return MessageButtons::YesNo;
    case MB_YESNOCANCEL:
        return MessageButtons::YesNoCancel;
    default:
        return MessageButtons::Ok;
    }
}

std::vector<int> ResultsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {IDOK, IDCANCEL};
    case MessageButtons::YesNo:
        return {IDYES, IDNO};
    case MessageButtons::YesNoCancel:
        return {IDYES, IDNO, IDCANCEL};
    case MessageButtons::Ok:
        break;
    }
    return {IDOK};
}

MessageIcon IconOf(UINT type, MessageButtons buttons)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return MessageIcon::Stop;
    case MB_ICONQUESTION:
        return MessageIcon::Question;
    case MB_ICONEXCLAMATION:
        return MessageIcon::Exclamation;
    case MB_ICONASTERISK:
        return MessageIcon::Information;
    default:
        break;
    }
    const bool asks = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
    return asks ? MessageIcon::Question : MessageIcon::Exclamation;
}

} // namespace

MessagePresenter& CurrentMessagePresenter()
{
    return g_installed ? *g_installed : WindowedMessagePresenter();
}

ScopedMessagePresenter::ScopedMessagePresenter(MessagePresenter& presenter) : m_previous(g_installed)
{
    g_installed = &presenter;
}

ScopedMessagePresenter::~ScopedMessagePresenter()
{
    g_installed = m_previous;
}

std::wstring ApplicationTitle()
{
    if (auto title = LoadString(AFX_IDS_APP_TITLE))
        return *title;
    return AnsiToWide(program_invocation_short_name);
}

MessageBoxRequest MakeMessageBoxRequest(std::wstring_view text, UINT type)
{
    MessageBoxRequest request;
    request.text = std::wstring(text);
    request.caption = ApplicationTitle();
    request.buttons = ButtonsOf(type);
    request.icon = IconOf(type, request.buttons);
    const std::vector<int> results = ResultsOf(request.buttons);
    const std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    request.defaultButton = defaultIndex < results.size() ? results[defaultIndex] : results.front();
    return request;
}

} // namespace platform::ui

int AfxMessageBox(std::wstring_view text, UINT type)
{
    return platform::ui::CurrentMessagePresenter().Present(platform::ui::MakeMessageBoxRequest(text, type));
}

int AfxMessageBox(UINT idPrompt, UINT type)
{
    return AfxMessageBox(platform::LoadString(idPrompt).value_or(std::wstring{}), type);
}
