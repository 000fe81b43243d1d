#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/ComboBox.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/SocketRepaintHook.h"
#include "platform/ui/WaitCursor.h"
#include "platform/ui/testing/UiTestKit.h"
#include "tests/ui/UiTestSupport.h"

namespace {

using namespace std::chrono_literals;
using namespace ui_test;
using platform::Language;
using platform::ui::MessageBoxRequest;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::ScopedDialogTemplate;
using platform::ui::test::Harness;

constexpr unsigned kMain = 9001;
constexpr unsigned kAbout = 9002;
constexpr unsigned kStatus = 9003;
constexpr int kCombo = 1000;
constexpr int kAddress = 1005;
constexpr int kModel = 1002;
constexpr int kBack = 3;
constexpr int kStillOpen = 99;

// The main dialog's controls, in its tab order.
DialogTemplate MainTemplate()
{
    return Template({
        Control(IDOK, ControlClass::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, {124, 107, 46, 16}, L"&Next"),
        Control(kModel, ControlClass::Static, WS_GROUP, {45, 30, 120, 10}, L"Lumetra Series"),
        Control(kCombo, ControlClass::ComboBox, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, {12, 67, 156, 108}),
        Control(kAddress, ControlClass::IpAddress, WS_TABSTOP, {12, 84, 96, 12}),
        Control(IDCANCEL, ControlClass::Button, WS_TABSTOP, {24, 107, 46, 16}, L"Cancel"),
        Control(kBack, ControlClass::Button, WS_TABSTOP, {74, 107, 46, 16}, L"&Back"),
    });
}

// Caption only, no system menu, no buttons: the send-status dialog's shape,
// plus one button to show where the dialog's own area ends.
DialogTemplate StatusTemplate()
{
    return Template({Control(1007, ControlClass::Static, SS_LEFT, {42, 8, 180, 30}, L"Sending firmware..."),
                     Control(kBack, ControlClass::Button, 0, {5, 32, 30, 14}, L"x")},
                    WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, {0, 0, 227, 49});
}

// Maps its handler the way the program's dialogs do, by member function.
class MemberMappedDialog : public ScriptedDialog {
public:
    explicit MemberMappedDialog(UINT templateId) : ScriptedDialog(templateId)
    {
        MapCommand(BN_CLICKED, kBack, &MemberMappedDialog::OnBack);
    }

private:
    void OnBack() { EndDialog(42); }
};

class DialogTest : public testing::Test {
protected:
    DialogTest()
    {
        Register(kMain, MainTemplate());
        Register(kAbout, Template({Control(IDOK, ControlClass::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, {192, 6, 42, 16}, L"OK")},
                                  kModalFrame, {0, 0, 239, 63}));
        Register(kStatus, StatusTemplate());
    }
    ~DialogTest() override
    {
        for (const std::string& problem : h.Problems())
            ADD_FAILURE() << problem;
    }

    void Register(unsigned id, DialogTemplate dialogTemplate)
    {
        m_templates.push_back(std::make_unique<ScopedDialogTemplate>(id, Language::Neutral, std::move(dialogTemplate)));
    }

    // Runs `act`, then ends the dialog with kStillOpen if `act` did not.
    int RunAndClose(CDialog& dialog, const std::function<void(CDialog&)>& act)
    {
        return h.RunModal(dialog, [&](CDialog& d) {
            act(d);
            if (d.IsWindowVisible())
                d.EndDialog(kStillOpen);
        });
    }

    long long Now() const { return h.clock.Now().time_since_epoch().count(); }

    Harness h;

private:
    std::vector<std::unique_ptr<ScopedDialogTemplate>> m_templates;
};

TEST_F(DialogTest, ControlsArePlacedInPixelsFromTheTemplateFontsCharacterSize)
{
    ScriptedDialog dialog(kMain);
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        const CWnd* model = d.GetDlgItem(kModel);
        ASSERT_NE(model, nullptr);
        const FontDescription font = model->GetFont().Describe();
        EXPECT_EQ(font.faceName, kTestFont);
        EXPECT_EQ(font.height, 11); // 8 points at 96 pixels per inch
        const CSize sample = model->GetTextExtent(platform::ui::kAverageWidthSample);
        const platform::ui::DialogBaseUnits units{(sample.cx / 26 + 1) / 2, sample.cy};

        EXPECT_EQ(d.GetClientRect(), (CRect{0, 0, MulDiv(179, units.cx, 4), MulDiv(129, units.cy, 8)}));
        for (const ControlTemplate& control : MainTemplate().controls) {
            CRect rect = d.GetDlgItem(control.id)->GetWindowRect();
            d.ScreenToClient(rect);
            const CRect expected = platform::ui::DialogUnitsToPixels(control.rect, units);
            EXPECT_EQ(rect.left, expected.left) << control.id;
            EXPECT_EQ(rect.top, expected.top) << control.id;
            EXPECT_EQ(rect.Width(), expected.Width()) << control.id;
            // A combo box's template height is that of its dropped list.
            if (control.cls == ControlClass::ComboBox)
                EXPECT_LT(rect.Height(), expected.Height()) << control.id;
            else
                EXPECT_EQ(rect.Height(), expected.Height()) << control.id;
        }
        CRect mapped{12, 84, 108, 96};
        d.MapDialogRect(mapped);
        EXPECT_EQ(mapped, platform::ui::MapDialogRect({12, 84, 108, 96}, units));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(DialogTest, MappedHandlerRunsForItsControlAndDoModalReturnsEndDialogsValue)
{
    MemberMappedDialog dialog(kMain);
    int nextClicks = 0;
    // Mapped, IDOK reaches the dialog's handler, from the button and from Enter.
    dialog.Map(BN_CLICKED, IDOK, [&] { ++nextClicks; });
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_TRUE(platform::ui::test::Click(d, IDOK));
        d.GotoDlgCtrl(d.GetDlgItem(kCombo));
        platform::ui::test::PressKey(d, VK_RETURN);
        EXPECT_EQ(nextClicks, 2);
        EXPECT_TRUE(platform::ui::test::Click(d, kBack));
    });
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(dialog.calls.empty()); // OnOK never ran
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(dialog.GetDlgItem(kCombo), nullptr); // the controls went with the window
}

TEST_F(DialogTest, DoModalReturnsMinusOneWhenTheTemplateDoesNotExist)
{
    ScriptedDialog dialog(4711);
    bool initialised = false;
    dialog.onInit = [&] { return initialised = true; };
    EXPECT_EQ(h.RunModal(dialog, [](CDialog&) { ADD_FAILURE() << "no window should open"; }), -1);
    EXPECT_FALSE(initialised);
}

TEST_F(DialogTest, EndDialogInOnInitDialogReturnsItsValueWithoutShowingTheWindow)
{
    ScriptedDialog dialog(kMain);
    dialog.onInit = [&] {
        dialog.EndDialog(5);
        return FALSE;
    };
    EXPECT_EQ(h.RunModal(dialog, [](CDialog&) { ADD_FAILURE() << "the window must not open"; }), 5);
}

TEST_F(DialogTest, InitialFocusIsTheFirstTabStopUnlessOnInitDialogPlacedIt)
{
    ScriptedDialog byDefault(kMain);
    RunAndClose(byDefault, [](CDialog& d) { EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(IDOK)); });

    ScriptedDialog placed(kMain);
    placed.onInit = [&] {
        placed.GotoDlgCtrl(placed.GetDlgItem(kAddress));
        return FALSE;
    };
    RunAndClose(placed, [](CDialog& d) { EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(kAddress)); });
}

struct RouteCase {
    const char* name;
    std::function<void(CDialog&)> act;
    std::vector<std::string> calls;
    int result;
};

void PrintTo(const RouteCase& row, std::ostream* os)
{
    *os << row.name;
}

class KeyAndCloseRoutingTest : public DialogTest, public testing::WithParamInterface<RouteCase> {};

TEST_P(KeyAndCloseRoutingTest, ReachesTheHandlerThePlatformWouldCall)
{
    ScriptedDialog dialog(kMain);
    EXPECT_EQ(RunAndClose(dialog, GetParam().act), GetParam().result);
    EXPECT_EQ(dialog.calls, GetParam().calls);
}

void Focus(CDialog& d, int id)
{
    d.GotoDlgCtrl(d.GetDlgItem(id));
}

const std::string kClose = "OnSysCommand " + std::to_string(SC_CLOSE);

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyAndCloseRoutingTest,
    testing::Values(
        RouteCase{"EnterInTheComboBoxRunsOnOK",
                  [](CDialog& d) {
                      Focus(d, kCombo);
                      platform::ui::test::PressKey(d, VK_RETURN);
                  }, {"OnOK"}, IDOK},
        RouteCase{"EnterInTheAddressFieldRunsOnOK",
                  [](CDialog& d) {
                      Focus(d, kAddress);
                      platform::ui::test::PressKey(d, VK_RETURN);
                  }, {"OnOK"}, IDOK},
        RouteCase{"EnterOnAFocusedButtonIsThatButtonsCommand",
                  [](CDialog& d) {
                      Focus(d, IDCANCEL);
                      platform::ui::test::PressKey(d, VK_RETURN);
                  }, {"OnCancel"}, IDCANCEL},
        RouteCase{"EnterDoesNothingWhileTheDefaultButtonIsDisabled",
                  [](CDialog& d) {
                      d.GetDlgItem(IDOK)->EnableWindow(FALSE);
                      Focus(d, kCombo);
                      platform::ui::test::PressKey(d, VK_RETURN);
                  },
                  {}, kStillOpen},
        RouteCase{"EscapeRunsOnCancel", [](CDialog& d) { platform::ui::test::PressKey(d, VK_ESCAPE); }, {"OnCancel"}, IDCANCEL},
        RouteCase{"CloseButtonGoesThroughTheCloseCommandToOnCancel",
                  [](CDialog& d) { platform::ui::test::CloseWindow(d); }, {kClose, "OnCancel"}, IDCANCEL},
        RouteCase{"CloseDoesNothingWhileCancelIsDisabled",
                  [](CDialog& d) {
                      d.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
                      platform::ui::test::CloseWindow(d);
                  },
                  {kClose}, kStillOpen}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, TimersFireThroughTheManualClockInTheOrderTheyFallDue)
{
    ScriptedDialog dialog(kMain);
    using Ticks = std::vector<std::pair<UINT_PTR, long long>>;
    Ticks ticks;
    dialog.onTimer = [&](UINT_PTR id) { ticks.emplace_back(id, Now()); };
    RunAndClose(dialog, [&](CDialog& d) {
        EXPECT_EQ(d.SetTimer(1, 250ms), 1u);
        EXPECT_EQ(d.SetTimer(2, 100ms), 2u);
        h.Advance(500ms);
        // At 500 both are due: the one started first comes first.
        EXPECT_EQ(ticks, (Ticks{{2, 100}, {2, 200}, {1, 250}, {2, 300}, {2, 400}, {1, 500}, {2, 500}}));

        ticks.clear();
        EXPECT_TRUE(d.KillTimer(2));
        EXPECT_FALSE(d.KillTimer(2));
        EXPECT_EQ(d.SetTimer(1, 1000ms), 1u); // restarts from now
        h.Advance(1000ms);
        EXPECT_EQ(ticks, (Ticks{{1, 1500}}));

        // Pumped after the clock moved on by three periods: one tick, and
        // the next one period after it.
        ticks.clear();
        h.clock.Advance(3000ms);
        h.timers.FireDue();
        h.Advance(1000ms);
        EXPECT_EQ(ticks, (Ticks{{1, 4500}, {1, 5500}}));
    });
    EXPECT_EQ(h.timers.ActiveCount(), 0u); // gone with the window
}

TEST_F(DialogTest, TicksMissedDuringASleepComeOnceAndNoneAfterEndDialog)
{
    ScriptedDialog dialog(kMain);
    std::vector<long long> ticks;
    dialog.onTimer = [&](UINT_PTR) {
        ticks.push_back(Now());
        if (ticks.size() == 1)
            h.clock.Sleep(1000ms); // a handler blocking on the printer
        if (ticks.size() == 4)
            dialog.EndDialog(7);
    };
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        d.SetTimer(1, 250ms);
        h.Advance(250ms);
        h.Advance(1000ms);
    });
    EXPECT_EQ(ticks, (std::vector<long long>{250, 1250, 1500, 1750}));
    EXPECT_EQ(result, 7);
}

TEST_F(DialogTest, SetTimerReturnsZeroWhenNoTimerCanBeCreated)
{
    ScriptedDialog dialog(kMain);
    EXPECT_EQ(dialog.SetTimer(1, 50ms), 0u); // no window yet
    int ticks = 0;
    dialog.onTimer = [&](UINT_PTR) { ++ticks; };
    RunAndClose(dialog, [&](CDialog& d) {
        h.timers.RefuseNewTimers(true);
        EXPECT_EQ(d.SetTimer(1, 50ms), 0u);
        h.Advance(1000ms);
    });
    EXPECT_EQ(ticks, 0);
}

enum class Spot { DialogArea, StaticText, Button };

struct DoubleClickCase {
    const char* name;
    UINT held;
    Spot spot;
    std::optional<UINT> flags; // what OnRButtonDblClk receives; nullopt: not called
};

void PrintTo(const DoubleClickCase& row, std::ostream* os)
{
    *os << row.name;
}

class RightDoubleClickTest : public DialogTest, public testing::WithParamInterface<DoubleClickCase> {};

TEST_P(RightDoubleClickTest, ReportsTheButtonsAndKeysHeld)
{
    ScriptedDialog dialog(kStatus);
    std::optional<UINT> received;
    CPoint receivedAt;
    dialog.onRButtonDblClk = [&](UINT flags, CPoint point) {
        received = flags;
        receivedAt = point;
    };
    CPoint clickedAt;
    RunAndClose(dialog, [&](CDialog& d) {
        auto centreOf = [&](int id) {
            CRect rect = d.GetDlgItem(id)->GetWindowRect();
            d.ScreenToClient(rect);
            return CPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        };
        clickedAt = GetParam().spot == Spot::DialogArea ? CPoint{2, 2}
                    : GetParam().spot == Spot::StaticText ? centreOf(1007)
                                                          : centreOf(kBack);
        platform::ui::test::RightDoubleClick(d, GetParam().held, clickedAt);
    });
    EXPECT_EQ(received, GetParam().flags);
    if (received) {
        EXPECT_EQ(receivedAt, clickedAt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RightDoubleClickTest,
    testing::Values(
        DoubleClickCase{"LeftCtrlShift", MK_LBUTTON | MK_CONTROL | MK_SHIFT, Spot::DialogArea,
                        MK_LBUTTON | MK_RBUTTON | MK_CONTROL | MK_SHIFT},
        DoubleClickCase{"NothingHeld", 0, Spot::DialogArea, MK_RBUTTON},
        DoubleClickCase{"CtrlShiftWithoutLeft", MK_CONTROL | MK_SHIFT, Spot::DialogArea, MK_RBUTTON | MK_CONTROL | MK_SHIFT},
        DoubleClickCase{"OverStaticTextReachesTheDialog", MK_LBUTTON, Spot::StaticText, MK_LBUTTON | MK_RBUTTON},
        DoubleClickCase{"OverAButtonStaysWithTheButton", MK_LBUTTON | MK_CONTROL | MK_SHIFT, Spot::Button, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ThrowCase {
    const char* name;
    std::function<void(ScriptedDialog&)> arrange;
    std::function<void(CDialog&, Harness&)> trigger;
    const wchar_t* text;
};

void PrintTo(const ThrowCase& row, std::ostream* os)
{
    *os << row.name;
}

class HandlerExceptionTest : public DialogTest, public testing::WithParamInterface<ThrowCase> {};

TEST_P(HandlerExceptionTest, IsShownInAnErrorBoxAndTheDialogCarriesOn)
{
    ScriptedDialog dialog(kMain);
    GetParam().arrange(dialog);
    bool waitCursorOverBox = true;
    h.boxes.onPresent = [&](const MessageBoxRequest&) { waitCursorOverBox = platform::ui::IsWaitCursorShown(); };
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        GetParam().trigger(d, h);
        EXPECT_TRUE(d.IsWindowVisible());
        EXPECT_TRUE(platform::ui::test::Click(d, IDOK)); // still working
    });
    EXPECT_EQ(result, IDOK);
    const MessageBoxRequest expected{GetParam().text, L"Corvex Firmware Installer", MessageIcon::Stop, MessageButtons::Ok, IDOK};
    EXPECT_EQ(h.boxes.Boxes(), std::vector<MessageBoxRequest>{expected});
    EXPECT_FALSE(waitCursorOverBox);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HandlerExceptionTest,
    testing::Values(
        ThrowCase{"FromAButtonHandlerUnderTheWaitCursor",
                  [](ScriptedDialog& d) {
                      d.Map(BN_CLICKED, kBack, [] {
                          CWaitCursor wait;
                          throw std::runtime_error("printer on fire");
                      });
                  },
                  [](CDialog& d, Harness&) { platform::ui::test::Click(d, kBack); }, L"printer on fire"},
        ThrowCase{"OutOfMemoryInATimer",
                  [](ScriptedDialog& d) { d.onTimer = [](UINT_PTR) { throw std::bad_alloc(); }; },
                  [](CDialog& d, Harness& h) {
                      d.SetTimer(1, 50ms);
                      h.Advance(50ms);
                      d.KillTimer(1);
                  },
                  L"Out of memory."},
        ThrowCase{"AnythingFromTheToolTipHandler",
                  [](ScriptedDialog& d) { d.onToolTip = [](TOOLTIPTEXT&) -> BOOL { throw 42; }; },
                  [](CDialog& d, Harness&) {
                      d.EnableToolTips(TRUE);
                      platform::ui::test::HoverToolTip(d, kCombo);
                  },
                  L"An unexpected error occurred."},
        ThrowCase{"FromOnInitDialog",
                  [](ScriptedDialog& d) { d.onInit = []() -> BOOL { throw std::runtime_error("no image"); }; },
                  [](CDialog&, Harness&) {}, L"no image"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, ToolTipShowsTheTextTheDialogSuppliesForTheControlUnderThePointer)
{
    ScriptedDialog dialog(kMain);
    std::wstring supplied = L"Office [ KX-70 ] ";
    dialog.onInit = [&] {
        dialog.EnableToolTips(TRUE);
        // One entry: the combo box is disabled, and still has its tip.
        dialog.GetDlgItem(kCombo)->EnableWindow(FALSE);
        return TRUE;
    };
    dialog.onToolTip = [&](TOOLTIPTEXT& info) -> BOOL {
        EXPECT_EQ(info.uFlags & TTF_IDISHWND, TTF_IDISHWND);
        if (info.pTool != dialog.GetDlgItem(kCombo))
            return FALSE;
        std::wmemcpy(info.szText, supplied.data(), std::min(supplied.size(), std::size(info.szText)));
        return TRUE;
    };
    RunAndClose(dialog, [&](CDialog& d) {
        EXPECT_EQ(platform::ui::test::HoverToolTip(d, kCombo), supplied);
        EXPECT_EQ(platform::ui::test::HoverToolTip(d, IDOK), std::nullopt);
        // A buffer filled to its end shows what fits before the terminator.
        supplied = std::wstring(80, L'x');
        EXPECT_EQ(platform::ui::test::HoverToolTip(d, kCombo), std::wstring(79, L'x'));
        d.EnableToolTips(FALSE);
        EXPECT_EQ(platform::ui::test::HoverToolTip(d, kCombo), std::nullopt);
    });
}

TEST_F(DialogTest, AboutItemOfTheSystemMenuIsOfferedInTheContextMenuAndOpensANestedDialog)
{
    constexpr UINT IDM_ABOUTBOX = 0x10;
    ScriptedDialog dialog(kMain);
    dialog.onInit = [&] {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        EXPECT_NE(menu, nullptr);
        if (menu) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, L"&About Firmware Installer...");
        }
        return TRUE;
    };
    int aboutResult = 0;
    dialog.onSysCommand = [&](UINT id) {
        if ((id & 0xFFF0) == IDM_ABOUTBOX) {
            ScriptedDialog about(kAbout);
            aboutResult = about.DoModal();
        }
    };
    h.WhenDialogOpens([](CDialog& about) {
        EXPECT_EQ(about.GetTemplateId(), kAbout);
        EXPECT_TRUE(platform::ui::test::Click(about, IDOK));
    });
    RunAndClose(dialog, [&](CDialog& d) {
        const auto items = platform::ui::test::SystemMenuItems(d);
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].flags, MF_SEPARATOR);
        EXPECT_EQ(items[1].id, IDM_ABOUTBOX);
        EXPECT_EQ(items[1].text, L"&About Firmware Installer...");
        EXPECT_TRUE(platform::ui::test::ChooseSystemMenuItem(d, IDM_ABOUTBOX));
        EXPECT_EQ(aboutResult, IDOK);
    });
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"OnSysCommand 16"});
}

TEST_F(DialogTest, DialogWithoutSystemMenuOffersNone)
{
    ScriptedDialog dialog(kStatus);
    RunAndClose(dialog, [&](CDialog& d) {
        EXPECT_EQ(d.GetSystemMenu(FALSE), nullptr);
        EXPECT_TRUE(platform::ui::test::SystemMenuItems(d).empty());
    });
}

TEST_F(DialogTest, MissingControlOrControlOfAnotherKindIsNull)
{
    ScriptedDialog dialog(kMain);
    RunAndClose(dialog, [&](CDialog& d) {
        EXPECT_EQ(d.GetDlgItem(4711), nullptr);
        EXPECT_EQ(d.GetDlgItem<CComboBox>(4711), nullptr);
        EXPECT_EQ(d.GetDlgItem<CComboBox>(kAddress), nullptr);
        EXPECT_NE(d.GetDlgItem<CIPAddressCtrl>(kAddress), nullptr);
        d.SetDlgItemText(4711, L"nowhere");
        EXPECT_EQ(d.GetDlgItemText(4711), L"");
    });
}

TEST_F(DialogTest, SocketWaitPaintsPendingChangesAndHandlesNoInput)
{
    ScriptedDialog dialog(kMain);
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        CWnd* model = d.GetDlgItem(kModel);
        platform::ui::test::PaintCounter paints(*model);
        model->SetWindowText(L"Sending firmware...");
        platform::ui::test::PostClick(d, IDOK); // the user clicks while the handler blocks
        platform::ui::RepaintWhileWaiting();
        EXPECT_GT(paints.Count(), 0);
        EXPECT_TRUE(dialog.calls.empty());
        platform::ui::test::ProcessEvents(); // the handler has returned
        EXPECT_EQ(dialog.calls, std::vector<std::string>{"OnOK"});
    });
    EXPECT_EQ(result, IDOK);
}

} // namespace
