#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/DialogUnits.h"

namespace {

using platform::Language;
using platform::ui::DialogBaseUnits;
using platform::ui::DialogTemplate;
using platform::ui::DluRect;

struct PixelCase {
    const char* name;
    DluRect rect;
    DialogBaseUnits units;
    CRect pixels;
};

void PrintTo(const PixelCase& row, std::ostream* os)
{
    *os << row.name;
}

class DialogUnitsToPixelsTest : public testing::TestWithParam<PixelCase> {};

TEST_P(DialogUnitsToPixelsTest, ConvertsEachFieldRoundingHalfAwayFromZero)
{
    EXPECT_EQ(platform::ui::DialogUnitsToPixels(GetParam().rect, GetParam().units), GetParam().pixels);
}

// 6 x 13 is the classic 8-point dialog font; the rows are the main dialog's
// OK button and model line, which need rounding both ways.
INSTANTIATE_TEST_SUITE_P(Rows, DialogUnitsToPixelsTest,
                         testing::Values(PixelCase{"OkButton", {124, 107, 46, 16}, {6, 13}, {186, 174, 255, 200}},
                                         PixelCase{"ModelLine", {45, 30, 120, 10}, {6, 13}, {68, 49, 248, 65}},
                                         PixelCase{"WideFont", {12, 67, 156, 108}, {7, 15}, {21, 126, 294, 329}},
                                         PixelCase{"NegativeOrigin", {-3, -4, 4, 8}, {6, 13}, {-5, -7, 1, 6}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DialogUnitsTest, MapDialogRectConvertsEdgesNotSizes)
{
    // Edges round on their own (the right edge 6 -> 9), while a template
    // rounds its width on its own (3 -> 5, so the right edge lands on 10).
    EXPECT_EQ(platform::ui::MapDialogRect({3, 0, 6, 8}, {6, 13}), (CRect{5, 0, 9, 13}));
    EXPECT_EQ(platform::ui::DialogUnitsToPixels({3, 0, 3, 8}, {6, 13}), (CRect{5, 0, 10, 13}));
}

TEST(DialogUnitsTest, AverageWidthIsTheSampleWidthOver52Rounded)
{
    EXPECT_EQ(platform::ui::BaseUnitsFromMetrics(312, 13), (DialogBaseUnits{6, 13})); // exactly 6
    EXPECT_EQ(platform::ui::BaseUnitsFromMetrics(353, 13), (DialogBaseUnits{7, 13})); // 6.79
    EXPECT_EQ(platform::ui::BaseUnitsFromMetrics(337, 13), (DialogBaseUnits{6, 13})); // 6.48
}

TEST(DialogUnitsTest, MulDivRoundsAndRefusesZeroDivisor)
{
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(7, 3, -2), -11);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 4, 1), -1); // does not fit an int
}

// The language chosen for a template follows the strings: the user-interface
// language, then the neutral template, then English.
class TemplateLanguageTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            if (const char* value = std::getenv(name))
                m_saved.emplace_back(name, value);
            unsetenv(name);
        }
    }
    void TearDown() override
    {
        unsetenv("LANGUAGE");
        for (const auto& [name, value] : m_saved)
            setenv(name.c_str(), value.c_str(), 1);
    }
    static DialogTemplate Captioned(const wchar_t* caption)
    {
        DialogTemplate dialog;
        dialog.caption = caption;
        return dialog;
    }
    static std::wstring CaptionOf(unsigned id)
    {
        auto found = platform::ui::FindDialogTemplate(id);
        return found ? found->caption : L"(none)";
    }

private:
    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(TemplateLanguageTest, PicksTheUserInterfaceLanguageThenNeutralThenEnglish)
{
    platform::ui::ScopedDialogTemplate english(9101, Language::English, Captioned(L"en"));
    platform::ui::ScopedDialogTemplate japanese(9101, Language::Japanese, Captioned(L"ja"));
    platform::ui::ScopedDialogTemplate neutral(9102, Language::Neutral, Captioned(L"neutral"));
    platform::ui::ScopedDialogTemplate englishOnly(9103, Language::English, Captioned(L"en only"));

    EXPECT_EQ(CaptionOf(9101), L"en");
    EXPECT_EQ(CaptionOf(9102), L"neutral");
    setenv("LANGUAGE", "ja_JP", 1);
    EXPECT_EQ(CaptionOf(9101), L"ja");
    EXPECT_EQ(CaptionOf(9102), L"neutral");
    EXPECT_EQ(CaptionOf(9103), L"en only");
    EXPECT_EQ(CaptionOf(9104), L"(none)");
}

TEST_F(TemplateLanguageTest, ScopedTemplateRestoresWhatItReplaced)
{
    platform::ui::ScopedDialogTemplate outer(9105, Language::Neutral, Captioned(L"outer"));
    {
        platform::ui::ScopedDialogTemplate inner(9105, Language::Neutral, Captioned(L"inner"));
        EXPECT_EQ(CaptionOf(9105), L"inner");
    }
    EXPECT_EQ(CaptionOf(9105), L"outer");
}

} // namespace
