#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/resources/Resources.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/testing/UiTestKit.h"

namespace {

using platform::ui::MessageBoxRequest;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;

constexpr wchar_t kTitle[] = L"Corvex Firmware Installer";

struct BoxCase {
    const char* name;
    UINT type;
    MessageIcon icon;
    MessageButtons buttons;
    int defaultButton;
};

void PrintTo(const BoxCase& row, std::ostream* os)
{
    *os << row.name;
}

class MessageBoxTypeTest : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTypeTest, AsksThePresenterForTitleIconButtonsAndDefault)
{
    const MessageBoxRequest request = platform::ui::MakeMessageBoxRequest(L"text", GetParam().type);
    const MessageBoxRequest expected{L"text", kTitle, GetParam().icon, GetParam().buttons, GetParam().defaultButton};
    EXPECT_EQ(request, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MessageBoxTypeTest,
    testing::Values(BoxCase{"YesNoWithNoAsDefaultGetsTheQuestionMark", MB_YESNO | MB_DEFBUTTON2, MessageIcon::Question,
                            MessageButtons::YesNo, IDNO},
                    BoxCase{"YesNoDefaultsToYes", MB_YESNO, MessageIcon::Question, MessageButtons::YesNo, IDYES},
                    BoxCase{"Stop", MB_OK | MB_ICONHAND, MessageIcon::Stop, MessageButtons::Ok, IDOK},
                    BoxCase{"Exclamation", MB_ICONEXCLAMATION, MessageIcon::Exclamation, MessageButtons::Ok, IDOK},
                    BoxCase{"Information", MB_ICONINFORMATION, MessageIcon::Information, MessageButtons::Ok, IDOK},
                    BoxCase{"OkWithoutIconGetsTheExclamationMark", MB_OK, MessageIcon::Exclamation, MessageButtons::Ok, IDOK},
                    BoxCase{"DefaultBeyondTheButtonsIsTheFirst", MB_OK | MB_ICONHAND | MB_DEFBUTTON2, MessageIcon::Stop,
                            MessageButtons::Ok, IDOK},
                    BoxCase{"OkCancel", MB_OKCANCEL | MB_DEFBUTTON2, MessageIcon::Exclamation, MessageButtons::OkCancel, IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxTest, QuestionByStringIdIsRecordedAndAnsweredThroughThePresenter)
{
    platform::ui::test::MessageBoxRecorder recorder;
    platform::ui::ScopedMessagePresenter scope(recorder);
    recorder.Answer(IDYES);
    EXPECT_EQ(AfxMessageBox(179u, MB_YESNO | MB_DEFBUTTON2), IDYES);
    // Unanswered, the box takes its default: No.
    EXPECT_EQ(AfxMessageBox(179u, MB_YESNO | MB_DEFBUTTON2), IDNO);

    const MessageBoxRequest question{L"Are you sure to exit without installation?", kTitle, MessageIcon::Question,
                                     MessageButtons::YesNo, IDNO};
    EXPECT_EQ(recorder.Boxes(), (std::vector<MessageBoxRequest>{question, question}));
}

TEST(MessageBoxTest, MissingTitleFallsBackToTheProgramsNameAndMissingTextIsEmpty)
{
    platform::ResourceOverlay resources(platform::ExecutableResources());
    resources.RemoveString(platform::ui::AFX_IDS_APP_TITLE).RemoveString(179);
    platform::ScopedResources scope(resources);
    const MessageBoxRequest request = platform::ui::MakeMessageBoxRequest(L"", MB_OK);
    EXPECT_EQ(request.caption, L"ui_tests");

    platform::ui::test::MessageBoxRecorder recorder;
    platform::ui::ScopedMessagePresenter presenter(recorder);
    AfxMessageBox(179u, MB_YESNO);
    ASSERT_EQ(recorder.Boxes().size(), 1u);
    EXPECT_EQ(recorder.Boxes()[0].text, L"");
}

} // namespace
