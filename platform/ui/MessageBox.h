#pragma once
// Message boxes. Every box of the program goes through one presenter: the
// real one shows a window and waits for the user; tests install their own to
// answer and to record what was asked.

#include <string>
#include <string_view>

#include "platform/ui/WinUser.h"

namespace platform::ui {

// The string that names the application: every box's caption.
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;

enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct MessageBoxRequest {
    std::wstring text;
    std::wstring caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = IDOK; // IDOK, IDCANCEL, IDYES or IDNO

    friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO), or 0 when the
    // box could not be shown.
    virtual int Present(const MessageBoxRequest& request) = 0;
};

// The presenter in force: the windowed one unless another is installed.
MessagePresenter& CurrentMessagePresenter();

class ScopedMessagePresenter {
public:
    explicit ScopedMessagePresenter(MessagePresenter& presenter);
    ~ScopedMessagePresenter();
    ScopedMessagePresenter(const ScopedMessagePresenter&) = delete;
    ScopedMessagePresenter& operator=(const ScopedMessagePresenter&) = delete;

private:
    MessagePresenter* m_previous;
};

// The application title (string AFX_IDS_APP_TITLE), else the program's name.
std::wstring ApplicationTitle();

// What a box of this text and MB_ type asks for. As the framework does, a box
// without an icon gets the question mark when it asks Yes/No and the
// exclamation mark otherwise; a default button beyond the box's buttons
// falls back to the first.
MessageBoxRequest MakeMessageBoxRequest(std::wstring_view text, UINT type);

// The windowed presenter (private to the layer and its tests).
MessagePresenter& WindowedMessagePresenter();

} // namespace platform::ui

int AfxMessageBox(std::wstring_view text, UINT type = MB_OK);
// The text of string `idPrompt`; a missing string shows an empty box.
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);
