#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "devicelist/ElementScanner.h"
#include "platform/text/Unicode.h"

namespace {

using Texts = std::vector<std::wstring>;

TEST(FindElements, FindsStartTagsTheReadersWay)
{
    struct Row {
        const char* what;
        std::wstring text;
        Texts contents;
    };
    const Row rows[] = {
        {"two in order", L"<a>x</a> <a>y</a>", {L"x", L"y"}},
        {"attribute after one space", L"<a id=\"1\">x</a>", {L"x"}},
        {"tab after the name", L"<a\tid=\"1\">x</a>", {}},
        {"line break after the name", L"<a\nid=\"1\">x</a>", {}},
        {"empty-element form, then a real one", L"<a/><a>z</a>", {L"z"}},
        {"longer name is another element", L"<ab>q</ab><a>x</a>", {L"x"}},
        {"names are case-sensitive", L"<A>x</A><a>y</A>", {}},
        {"content as it stands", L"<a> &amp; <!-- c --> <![CDATA[x]]> </a>", {L" &amp; <!-- c --> <![CDATA[x]]> "}},
        {"empty content", L"<a></a>", {L""}},
        {"nested: the outer runs to the first end tag", L"<a>1<a>2</a>3</a>", {L"1<a>2", L"2"}},
        {"unclosed takes in the next element", L"<a>u<a>c</a>", {L"u<a>c", L"c"}},
        {"unclosed alone", L"<a>u", {}},
        {"start tag at the very end", L"<a>x</a><a", {L"x"}},
        {"a space and no '>' ends the whole search", L"<a>x</a><a y<a>z", {L"x"}},
        // The attribute scan runs to the next '>' wherever it is, here the
        // end of an end tag.
        {"attribute scan overruns", L"<a y</a><a>z</a>", {L"<a>z", L"z"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Texts list{L"earlier"};
        EXPECT_EQ(FindElements(row.text, L"a", list), static_cast<int>(row.contents.size()));
        Texts expected{L"earlier"};
        expected.insert(expected.end(), row.contents.begin(), row.contents.end());
        EXPECT_EQ(list, expected);
    }
}

TEST(FindElements, NestedStartTagsWithoutEndTagsStayWithinMemory)
{
    // Every unclosed start tag takes in the rest of the text: 20000 of them
    // would need about ten gigabytes of copies. The search stops at the cap
    // and keeps what it found, in order.
    std::wstring text;
    for (int i = 0; i < 20000; ++i)
        text += L"<a>";
    text += L"</a>";
    Texts list;
    const int found = FindElements(text, L"a", list);
    ASSERT_GT(found, 0);
    EXPECT_LT(found, 20000);
    std::size_t total = 0;
    for (const auto& content : list)
        total += content.size();
    EXPECT_LE(total, kMaxElementContentChars);
    EXPECT_EQ(list.front().size(), text.size() - 3 - 4);
}

TEST(GetElementText, TakesTheFirstElementOnly)
{
    const std::wstring record = L"<n>first</n><n>second</n><m/>";
    EXPECT_EQ(GetElementText(record, L"n"), L"first");
    EXPECT_EQ(GetElementText(record, L"m"), L"");
    EXPECT_EQ(GetElementText(record, L"missing"), L"");
    EXPECT_EQ(GetElementText(L"<n>unclosed<n>closed</n>", L"n"), L"unclosed<n>closed");
}

TEST(GetElementNumber, ReadsSignedThirtyTwoBitDecimals)
{
    struct Row {
        std::wstring content;
        int number;
    };
    const Row rows[] = {
        {L"42", 42},
        {L"  -7", -7},
        {L"\t+8", 8},
        {L"12abc", 12},
        {L"", 0},
        {L"abc", 0},
        {L"0x10", 0},
        {L"- 5", 0},
        {L"2147483647", INT_MAX},
        {L"3355486400", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-99999999999", INT_MIN},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetElementNumber(L"v", L"<v>" + row.content + L"</v>"), row.number)
            << '"' << platform::WideToUtf8(row.content) << '"';
    }
    EXPECT_EQ(GetElementNumber(L"v", L"<w>5</w>"), 0);
    // The name comes first: swapped arguments find nothing.
    EXPECT_EQ(GetElementNumber(L"<v>5</v>", L"v"), 0);
}

} // namespace
