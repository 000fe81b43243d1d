#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/ComboBox.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/ImageResources.h"
#include "platform/ui/Static.h"
#include "platform/ui/testing/UiTestKit.h"
#include "tests/ui/UiTestSupport.h"

namespace {

using namespace ui_test;
using platform::Language;
using platform::ui::ScopedDialogTemplate;
using platform::ui::test::Harness;

constexpr unsigned kTemplate = 9011;
constexpr int kSorted = 1000;
constexpr int kUnsorted = 1001;
constexpr int kAddress = 1005;
constexpr int kBitmap = 1006;
constexpr int kIcon = 1008;
constexpr unsigned kBitmapResource = 9137;
constexpr unsigned kIconResource = 9140;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// 3 x 2 pixels, 24 bits, bottom-up: each row is 9 bytes padded to 12.
// Top row: red, white, blue; bottom row: green, white, white.
const std::vector<std::uint8_t> kDibBits = {
    0, 255, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0, // bottom row first
    0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0,     // top row
};

class ControlsTest : public testing::Test {
protected:
    ControlsTest()
        : m_template(kTemplate, Language::Neutral,
                     Template({
                         Control(kSorted, ControlClass::ComboBox, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, {12, 10, 100, 80}),
                         Control(kUnsorted, ControlClass::ComboBox, CBS_DROPDOWNLIST | WS_TABSTOP, {12, 30, 100, 80}),
                         Control(kAddress, ControlClass::IpAddress, WS_TABSTOP, {12, 50, 96, 12}),
                         PictureControl(kBitmap, SS_BITMAP, kBitmapResource, {12, 70, 40, 20}),
                         PictureControl(kIcon, SS_ICON, kIconResource, {60, 70, 20, 20}),
                         Control(IDOK, ControlClass::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, {124, 107, 46, 16}, L"OK"),
                     }))
    {
    }
    ~ControlsTest() override
    {
        for (const std::string& problem : h.Problems())
            ADD_FAILURE() << problem;
    }

    static ControlTemplate PictureControl(int id, DWORD kind, unsigned image, DluRect rect)
    {
        ControlTemplate control = Control(id, ControlClass::Static, kind, rect);
        control.imageId = image;
        return control;
    }

    // Runs a dialog of the template; `act` gets it while it is open.
    void WithDialog(const std::function<void(ScriptedDialog&)>& act)
    {
        ScriptedDialog dialog(kTemplate);
        h.RunModal(dialog, [&](CDialog&) {
            act(dialog);
            dialog.EndDialog(IDOK);
        });
    }

    Harness h;

private:
    ScopedDialogTemplate m_template;
};

TEST_F(ControlsTest, SortedComboInsertsIgnoringCaseAndKeepsEachEntrysData)
{
    WithDialog([](ScriptedDialog& d) {
        auto* box = d.GetDlgItem<CComboBox>(kSorted);
        ASSERT_NE(box, nullptr);
        const std::array<const wchar_t*, 5> added = {L"beta", L"Alpha", L"gamma", L"alpha", L"Beta2"};
        for (std::size_t i = 0; i < added.size(); ++i)
            EXPECT_EQ(box->SetItemData(box->AddString(added[i]), 100 + i), 0);
        // The last entry is inserted where it is put, whatever it sorts as.
        EXPECT_EQ(box->InsertString(box->GetCount(), L"Automatic Detection"), 5);

        // "alpha" meets its equal "Alpha" in the search and goes before it.
        const std::vector<std::pair<std::wstring, DWORD_PTR>> expected = {
            {L"alpha", 103}, {L"Alpha", 101}, {L"beta", 100}, {L"Beta2", 104}, {L"gamma", 102}, {L"Automatic Detection", 0}};
        ASSERT_EQ(box->GetCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < box->GetCount(); ++i) {
            std::wstring text;
            EXPECT_EQ(box->GetLBText(i, text), static_cast<int>(expected[static_cast<std::size_t>(i)].first.size()));
            EXPECT_EQ(text, expected[static_cast<std::size_t>(i)].first) << i;
            EXPECT_EQ(box->GetItemData(i), expected[static_cast<std::size_t>(i)].second) << i;
        }
    });
}

TEST_F(ControlsTest, ComboSelectionIsTheProgramsToSetAndFollowsItsEntry)
{
    WithDialog([](ScriptedDialog& d) {
        auto* box = d.GetDlgItem<CComboBox>(kSorted);
        box->AddString(L"m");
        box->AddString(L"x");
        EXPECT_EQ(box->GetCurSel(), CB_ERR); // no entry is selected by itself
        EXPECT_EQ(box->GetWindowText(), L"");
        EXPECT_EQ(box->SetCurSel(1), 1);
        EXPECT_EQ(box->AddString(L"a"), 0);
        EXPECT_EQ(box->GetCurSel(), 2); // still "x"
        EXPECT_EQ(box->GetWindowText(), L"x");
        EXPECT_EQ(box->SetCurSel(3), CB_ERR); // beyond the entries: cleared
        EXPECT_EQ(box->GetCurSel(), CB_ERR);

        std::wstring untouched = L"kept";
        EXPECT_EQ(box->GetLBText(3, untouched), CB_ERR);
        EXPECT_EQ(untouched, L"kept");
        EXPECT_EQ(box->SetItemData(-1, 1), CB_ERR);
        EXPECT_EQ(box->GetItemData(3), static_cast<DWORD_PTR>(CB_ERR));
        EXPECT_EQ(box->InsertString(4, L"far"), CB_ERR);

        auto* unsorted = d.GetDlgItem<CComboBox>(kUnsorted);
        unsorted->AddString(L"b");
        EXPECT_EQ(unsorted->AddString(L"a"), 1);
    });
}

TEST_F(ControlsTest, OnlyTheUsersSelectionSendsSelChange)
{
    ScriptedDialog dialog(kTemplate);
    std::vector<int> changes;
    dialog.Map(CBN_SELCHANGE, kSorted, [&] { changes.push_back(dialog.GetDlgItem<CComboBox>(kSorted)->GetCurSel()); });
    h.RunModal(dialog, [&](CDialog& d) {
        auto* box = d.GetDlgItem<CComboBox>(kSorted);
        for (const wchar_t* text : {L"a", L"b", L"c"})
            box->AddString(text);
        box->SetCurSel(0);
        EXPECT_TRUE(changes.empty());
        EXPECT_TRUE(platform::ui::test::ChooseComboItem(d, kSorted, 2));
        EXPECT_EQ(changes, (std::vector<int>{1, 2}));
        box->EnableWindow(FALSE);
        EXPECT_FALSE(platform::ui::test::ChooseComboItem(d, kSorted, 0));
        d.EndDialog(IDOK);
    });
}

TEST_F(ControlsTest, DroppedWidthNeverNarrowerThanTheBoxAndTextIsMeasuredInItsFont)
{
    WithDialog([](ScriptedDialog& d) {
        auto* box = d.GetDlgItem<CComboBox>(kSorted);
        const int boxWidth = box->GetClientRect().Width();
        EXPECT_EQ(box->GetDroppedWidth(), boxWidth);
        EXPECT_EQ(box->SetDroppedWidth(10), boxWidth);
        EXPECT_EQ(box->SetDroppedWidth(static_cast<UINT>(boxWidth + 50)), boxWidth + 50);

        const CSize small = box->GetTextExtent(L"Office [ KX-70 ] ");
        EXPECT_GT(small.cx, 0);
        CFont large;
        large.CreateFontIndirect({kTestFont, 22, 400, false});
        box->SetFont(large);
        const CSize big = box->GetTextExtent(L"Office [ KX-70 ] ");
        EXPECT_GT(big.cx, small.cx * 3 / 2);
        EXPECT_GT(big.cy, small.cy);
    });
}

TEST_F(ControlsTest, BlankAddressReadsZeroWithNoFieldsFilled)
{
    WithDialog([](ScriptedDialog& d) {
        auto* address = d.GetDlgItem<CIPAddressCtrl>(kAddress);
        ASSERT_NE(address, nullptr);
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(address->GetAddress(value), 0);
        EXPECT_EQ(value, 0u);
        EXPECT_TRUE(address->IsBlank());
    });
}

struct AddressCase {
    DWORD address;
    const wchar_t* text;
};

void PrintTo(const AddressCase& row, std::ostream* os)
{
    *os << std::hex << row.address;
}

class AddressRoundTripTest : public ControlsTest, public testing::WithParamInterface<AddressCase> {};

TEST_P(AddressRoundTripTest, SetAndGetInHostOrder)
{
    WithDialog([](ScriptedDialog& d) {
        auto* address = d.GetDlgItem<CIPAddressCtrl>(kAddress);
        address->SetAddress(GetParam().address);
        DWORD value = 0;
        EXPECT_EQ(address->GetAddress(value), 4);
        EXPECT_EQ(value, GetParam().address);
        EXPECT_EQ(address->GetWindowText(), GetParam().text);
        EXPECT_FALSE(address->IsBlank());
    });
}

INSTANTIATE_TEST_SUITE_P(Rows, AddressRoundTripTest,
                         testing::Values(AddressCase{0xC0A80014, L"192.168.0.20"}, AddressCase{0x0A000001, L"10.0.0.1"},
                                         AddressCase{0xFFFFFFFF, L"255.255.255.255"}, AddressCase{0, L"0.0.0.0"}));

struct TypedCase {
    const char* name;
    const wchar_t* typed;
    DWORD address;
    int filled;
};

void PrintTo(const TypedCase& row, std::ostream* os)
{
    *os << row.name;
}

class TypedAddressTest : public ControlsTest, public testing::WithParamInterface<TypedCase> {};

TEST_P(TypedAddressTest, ReadsWhatTheUserTyped)
{
    WithDialog([](ScriptedDialog& d) {
        auto* address = d.GetDlgItem<CIPAddressCtrl>(kAddress);
        d.GotoDlgCtrl(address);
        platform::ui::test::TypeText(d, GetParam().typed);
        DWORD value = 0;
        EXPECT_EQ(address->GetAddress(value), GetParam().filled);
        EXPECT_EQ(value, GetParam().address);
    });
}

INSTANTIATE_TEST_SUITE_P(Rows, TypedAddressTest,
                         testing::Values(TypedCase{"Dotted", L"10.1.2.3", 0x0A010203, 4},
                                         TypedCase{"ThreeDigitsMoveOn", L"192168001020", 0xC0A80114, 4},
                                         TypedCase{"TwoFieldsFilled", L"10.5", 0x0A050000, 2},
                                         TypedCase{"AboveTwoFiftyFiveIsCapped", L"300.1.1.1", 0xFF010101, 4},
                                         TypedCase{"DotInAnEmptyFieldStaysThere", L".10", 0x0A000000, 1},
                                         TypedCase{"LettersAreRefused", L"1a0.2", 0x0A020000, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, PictureControlsTakeTheirPicturesSizeAndShowItUpright)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateFromDib({3, 2, 24, {}, kDibBits}));
    platform::ui::RegisterBitmap(kBitmapResource, bitmap);
    CIcon icon;
    const std::array<std::uint32_t, 4> argb = {0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00};
    ASSERT_TRUE(icon.CreateFromArgb(2, 2, argb));
    platform::ui::RegisterIcon(kIconResource, icon);

    WithDialog([](ScriptedDialog& d) {
        auto* picture = d.GetDlgItem<CStatic>(kBitmap);
        EXPECT_EQ(picture->GetClientRect(), (CRect{0, 0, 3, 2}));
        using platform::ui::test::PixelAt;
        EXPECT_EQ(PixelAt(*picture, {0, 0}), kRed);
        EXPECT_EQ(PixelAt(*picture, {2, 0}), kBlue);
        EXPECT_EQ(PixelAt(*picture, {0, 1}), kGreen);
        EXPECT_EQ(PixelAt(*picture, {2, 1}), kWhite);

        auto* iconControl = d.GetDlgItem<CStatic>(kIcon);
        EXPECT_EQ(iconControl->GetClientRect(), (CRect{0, 0, 2, 2}));
        EXPECT_EQ(PixelAt(*iconControl, {1, 0}), kBlue);
        EXPECT_EQ(PixelAt(*iconControl, {1, 1}), kGreen);

        // A picture given later replaces the template's and resizes again.
        CIcon large = platform::ui::LoadIconResource(kIconResource, {48, 48});
        iconControl->SetIcon(large);
        EXPECT_EQ(iconControl->GetClientRect(), (CRect{0, 0, 48, 48}));
    });
}

TEST(BitmapTest, RefusesDescriptionsItCannotReadWithinTheirBytes)
{
    CBitmap bitmap;
    const std::vector<std::uint8_t> unpadded(kDibBits.begin(), kDibBits.begin() + 18); // rows of 9, not 12
    EXPECT_FALSE(bitmap.CreateFromDib({3, 2, 24, {}, unpadded}));
    EXPECT_FALSE(bitmap.CreateFromDib({3, 2, 16, {}, kDibBits}));
    EXPECT_FALSE(bitmap.CreateFromDib({0, 2, 24, {}, kDibBits}));
    EXPECT_FALSE(bitmap.CreateFromDib({3, 100000, 24, {}, kDibBits}));
    EXPECT_TRUE(bitmap.IsNull());

    // 8 bits, top-down: an index beyond the two-entry colour table is black.
    const std::vector<std::uint8_t> colors = {0, 0, 255, 0, 0, 255, 0, 0}; // red, green
    const std::vector<std::uint8_t> indexes = {1, 0, 7, 0};
    ASSERT_TRUE(bitmap.CreateFromDib({3, -1, 8, colors, indexes}));
    EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(bitmap.GetPixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.GetPixel(2, 0), RGB(0, 0, 0));
}

} // namespace
