#pragma once
// Driving the program's dialogs in-process, for tests.
//
// A Harness opens the window system (Qt's offscreen platform unless the
// environment names another), installs a ManualClock with timers that fire
// only when the test moves it, and a message-box presenter that answers and
// records. A dialog runs for real (DoModal) and the test acts on it from a
// script that runs once its window is shown: clicks and keys by control id,
// time moved forward, boxes answered. A nested dialog (one that a handler
// opens) takes the next script queued with WhenDialogOpens.
//
// Nothing here waits on the wall clock: every action is delivered before
// the call returns.

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/time/Clock.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Timers.h"

class QObject;

namespace platform::ui::test {

// DoModal's result when the Harness had to end a dialog itself.
inline constexpr int kUnscripted = -1001; // it opened with no script waiting
inline constexpr int kLeftOpen = -1002;   // its script returned with it still open

using Script = std::function<void(CDialog&)>;

// Answers boxes from a queue (a box with no answer queued takes its default
// button) and records every box asked for.
class MessageBoxRecorder final : public MessagePresenter {
public:
    int Present(const MessageBoxRequest& request) override;

    void Answer(int result) { m_answers.push_back(result); }
    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes; }
    // Runs while a box is open, before it is answered.
    std::function<void(const MessageBoxRequest&)> onPresent;

private:
    std::deque<int> m_answers;
    std::vector<MessageBoxRequest> m_boxes;
};

class Harness {
public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    ManualClock clock;
    ClockTimerSource timers;
    MessageBoxRecorder boxes;

    // Runs the dialog with `whileOpen` as its script; returns DoModal's result.
    int RunModal(CDialog& dialog, Script whileOpen);
    // The script of the next dialog that opens without one of its own.
    void WhenDialogOpens(Script script);
    // Moves the clock forward, firing each timer when it falls due.
    void Advance(std::chrono::milliseconds duration) { timers.RunFor(clock, duration); }

    // What went wrong in driving (a dialog without a script, a script that
    // left its dialog open or threw); a test expects none.
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    struct Pending {
        const CDialog* dialog; // null: the next dialog without a script
        Script script;
    };
    void Drive(CDialog& dialog);
    Script TakeScript(const CDialog& dialog);

    std::vector<Pending> m_scripts;
    std::vector<std::string> m_problems;
    ScopedClock m_clockScope;
    ScopedTimerSource m_timerScope;
    ScopedMessagePresenter m_presenterScope;
    ScopedModalObserver m_observerScope;
};

// What a user does to a running dialog. Each returns false when the user
// could not do it: no such control, or it is hidden or disabled.
bool Click(CDialog& dialog, int id);
// The key goes to the control that has the focus (else the dialog).
// `modifiers`: MK_SHIFT and MK_CONTROL.
bool PressKey(CDialog& dialog, UINT virtualKey, UINT modifiers = 0);
// Each character to whichever control has the focus when it is typed.
void TypeText(CDialog& dialog, std::wstring_view text);
// Moves the selection of a drop-down list with the arrow keys, as a user
// does (each step sends CBN_SELCHANGE).
bool ChooseComboItem(CDialog& dialog, int id, int index);
// The window's Close button.
void CloseWindow(CDialog& dialog);
// A right double-click at `point` (client coordinates) with MK_LBUTTON,
// MK_SHIFT and MK_CONTROL held as `flags` say.
void RightDoubleClick(CDialog& dialog, UINT flags, CPoint point);
// Queues a click for the event loop, as a click the user made while a
// handler was busy; ProcessEvents (or the end of the script) delivers it.
void PostClick(CDialog& dialog, int id);
// Delivers what is waiting in the event loop now.
void ProcessEvents();

// The tooltip shown when the pointer rests on the control, or nullopt.
std::optional<std::wstring> HoverToolTip(CDialog& dialog, int id);
// The items of the dialog's context menu (the window menu's stand-in),
// opened as a right-click opens it; empty when it offers none.
std::vector<CMenu::Item> SystemMenuItems(CDialog& dialog);
// Opens that menu and chooses the item; its command runs before the call
// returns. False when there is no such enabled item.
bool ChooseSystemMenuItem(CDialog& dialog, UINT id);

// The colour of one pixel of a window as it is drawn.
COLORREF PixelAt(const CWnd& wnd, CPoint point);
// Saves the window as it is drawn (PNG by the name's extension).
bool SaveWindowImage(const CWnd& wnd, const std::string& path);

// Counts the paint events a window receives while the counter lives.
class PaintCounter {
public:
    explicit PaintCounter(const CWnd& wnd);
    ~PaintCounter();
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    int Count() const;

private:
    std::unique_ptr<QObject> m_filter;
};

} // namespace platform::ui::test
