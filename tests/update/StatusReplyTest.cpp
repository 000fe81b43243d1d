#include <gtest/gtest.h>

#include <map>
#include <string>

#include "update/StatusReply.h"

namespace {

using Pairs = std::map<std::wstring, std::wstring>;

Pairs PairsOf(const CStatusReply& reply, const Pairs& expected)
{
    // The reply offers lookups only: read back every expected key and check
    // that nothing else is there.
    Pairs found;
    for (const auto& [key, value] : expected) {
        if (auto stored = reply.Lookup(key))
            found[key] = *stored;
    }
    if (reply.GetCount() != found.size())
        found[L"<more pairs than expected>"] = std::to_wstring(reply.GetCount());
    return found;
}

TEST(StatusReply, ParseSplitsItemsAtTheirSeparators)
{
    struct Row {
        const wchar_t* text;
        bool parsed;
        Pairs pairs;
    };
    const Row rows[] = {
        {L"A:1;B:2;", true, {{L"A", L"1"}, {L"B", L"2"}}},
        {L"A:1;B:2", true, {{L"A", L"1"}, {L"B", L"2"}}},
        {L"A:1;A:2;", true, {{L"A", L"2"}}},
        {L"KEY:;", true, {{L"KEY", L""}}},
        {L":VALUE", true, {{L"", L"VALUE"}}},
        {L"A:1:2", true, {{L"A", L"1:2"}}},
        {L" MDL:KX-70 ;mdl:x", true, {{L" MDL", L"KX-70 "}, {L"mdl", L"x"}}},
        // An item without ":" borrows its key up to the next item's ":".
        {L"A;B:1", true, {{L"A;B", L""}, {L"B", L"1"}}},
        // ...and with no ":" after it, the reply up to its end goes under the
        // empty key.
        {L"X:1;AB;", true, {{L"X", L"1"}, {L"", L"X:1;AB"}}},
        {L"no pairs here", true, {{L"", L"no pairs here"}}},
        {L";", true, {{L"", L""}}},
        {L"", false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.text)));
        CStatusReply reply;
        EXPECT_EQ(reply.Parse(row.text), row.parsed);
        EXPECT_EQ(PairsOf(reply, row.pairs), row.pairs);
    }
}

TEST(StatusReply, ParseForgetsTheEarlierReply)
{
    CStatusReply reply;
    ASSERT_TRUE(reply.Parse(L"MDL:KX-70;MODE:IPL;"));
    EXPECT_FALSE(reply.Parse(L""));
    EXPECT_FALSE(reply.Lookup(L"MDL"));
    EXPECT_FALSE(reply.IsIplMode());
}

TEST(StatusReply, IplModeIsExactlyIpl)
{
    struct Row {
        const wchar_t* text;
        bool ipl;
    };
    const Row rows[] = {
        {L"MODE:IPL", true},
        {L"VER:1.20;MODE:IPL;", true},
        {L"MODE:ipl", false},
        {L"MODE:IPL ", false},
        {L"MODE: IPL", false},
        {L"MODE:NORMAL", false},
        {L"VER:1.20", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.text)));
        CStatusReply reply;
        reply.Parse(row.text);
        EXPECT_EQ(reply.IsIplMode(), row.ipl);
    }
}

TEST(StatusReply, StatusCodeInEachFormat)
{
    struct Row {
        const char* name;
        const wchar_t* text;
        int format;
        bool found;
        const wchar_t* code;
    };
    const Row rows[] = {
        {"word", L"STATUS:80000000", STATUS_FORMAT_WORD, true, L"80000000"},
        {"word takes first eight", L"STATUS:0123456789AB", STATUS_FORMAT_WORD, true, L"01234567"},
        {"word too short", L"STATUS:8000000", STATUS_FORMAT_WORD, false, L""},
        {"records skip type 2", L"STATUS:0204ABCD0108F0000000", STATUS_FORMAT_RECORDS, true, L"F0000000"},
        {"records type 1 first", L"STATUS:0104ABCD0204EEEE", STATUS_FORMAT_RECORDS, true, L"ABCD"},
        {"records empty record skipped", L"STATUS:02000103abc", STATUS_FORMAT_RECORDS, true, L"abc"},
        {"records value clipped at end", L"STATUS:0108ABC", STATUS_FORMAT_RECORDS, true, L"ABC"},
        {"records without type 1", L"STATUS:0204ABCD0302XY", STATUS_FORMAT_RECORDS, false, L""},
        {"records length runs past end", L"STATUS:02FF0108F0000000", STATUS_FORMAT_RECORDS, false, L""},
        {"records empty", L"STATUS:", STATUS_FORMAT_RECORDS, false, L""},
        {"records garbage", L"STATUS:zzzz", STATUS_FORMAT_RECORDS, false, L""},
        // A negative length would move the scan backwards (or nowhere) for
        // ever; the scan ends without a code.
        {"records length -4 stands still", L"STATUS:02-40108F0000000", STATUS_FORMAT_RECORDS, false, L""},
        {"records length -F goes back", L"STATUS:0204ABCD02-F0108F0000000", STATUS_FORMAT_RECORDS, false, L""},
        {"no STATUS", L"MDL:KX-70", STATUS_FORMAT_WORD, false, L""},
        {"unknown format", L"STATUS:80000000", 5, false, L""},
        {"none reads nothing", L"MDL:KX-70", STATUS_FORMAT_NONE, true, L""},
        {"IPL reads nothing", L"MODE:IPL;STATUS:80000000", STATUS_FORMAT_WORD, true, L""},
        {"IPL without STATUS", L"MODE:IPL", STATUS_FORMAT_RECORDS, true, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CStatusReply reply;
        ASSERT_TRUE(reply.Parse(row.text));
        EXPECT_EQ(reply.GetStatusCode(row.format), row.found);
        EXPECT_EQ(reply.GetStatusCodeText(), row.code);
    }
}

TEST(StatusReply, StatusCodeKeptWhenNotRead)
{
    CStatusReply reply;
    ASSERT_TRUE(reply.Parse(L"STATUS:80000000"));
    ASSERT_TRUE(reply.GetStatusCode(STATUS_FORMAT_WORD));

    // In IPL mode, or with no format, the code of the earlier reply stays...
    ASSERT_TRUE(reply.Parse(L"MODE:IPL;STATUS:00000000"));
    EXPECT_TRUE(reply.GetStatusCode(STATUS_FORMAT_WORD));
    EXPECT_TRUE(reply.GetStatusCode(STATUS_FORMAT_NONE));
    EXPECT_EQ(reply.GetStatusCodeText(), L"80000000");

    // ...and a read that finds none empties it.
    ASSERT_TRUE(reply.Parse(L"STATUS:0000"));
    EXPECT_FALSE(reply.GetStatusCode(STATUS_FORMAT_WORD));
    EXPECT_EQ(reply.GetStatusCodeText(), L"");
}

TEST(StatusReply, VersionInHundredths)
{
    struct Row {
        const wchar_t* text;
        int hundredths;
    };
    const Row rows[] = {
        {L"1.20", 120},
        {L"0.05", 5},
        {L"12", 1200},
        // Products that land just below the whole number.
        {L"1.15", 115},
        {L"2.01", 201},
        // Truncated, not rounded.
        {L"1.206", 120},
        {L"1.2.3", 120},
        {L"-1.20", -120},
        {L" 1.20", 120},
        {L"1.20abc", 120},
        {L"abc", 0},
        {L"", 0},
        {L"1234567.89", 123456789},
        {L"21474836", 2147483600},
        // Ten characters fit, but not in an int.
        {L"21474837", -1},
        {L"1234567890", -1},
        {L"12345678901", -1},     // eleven characters
        {L"1.2345678901234567", -1}, // does not even fit the conversion buffer
        {L"nan", -1},
        {L"inf", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.text)));
        EXPECT_EQ(VersionToHundredths(row.text), row.hundredths);
        CStatusReply reply;
        reply.Parse(std::wstring(L"VER:") + row.text);
        EXPECT_EQ(reply.GetVersion(), row.hundredths);
    }

    CStatusReply withoutVersion;
    withoutVersion.Parse(L"MDL:KX-70;");
    EXPECT_EQ(withoutVersion.GetVersion(), -1);
}

TEST(StatusReply, FormatVersion)
{
    EXPECT_EQ(FormatVersion(120), L"1.20");
    EXPECT_EQ(FormatVersion(5), L"0.05");
    EXPECT_EQ(FormatVersion(0), L"0.00");
    EXPECT_EQ(FormatVersion(1234), L"12.34");
    EXPECT_EQ(FormatVersion(-1), L"---");
    EXPECT_EQ(FormatVersion(-120), L"---");
}

} // namespace
