#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "update/TargetModel.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(TargetModel, NamesAreSplitAtCommasAndTrimmed)
{
    struct Row {
        const wchar_t* text;
        Names names;
    };
    const Row rows[] = {
        {L"KX-70", {L"KX-70"}},
        {L" A ,B", {L"A", L"B"}},
        {L"\tKX-70\n, KX-70S ", {L"KX-70", L"KX-70S"}},
        {L"Corvex KX-70", {L"Corvex KX-70"}},
        {L",A", {L"", L"A"}},
        {L"A,,B", {L"A", L"", L"B"}},
        {L"A, ", {L"A", L""}},
        {L"A,", {L"A"}},
        {L"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.text)));
        EXPECT_EQ(CTargetModel(120, 70168, row.text).m_listNames, row.names);
    }
}

TEST(TargetModel, MatchesExactlyOrAsSuffix)
{
    const CTargetModel target(120, 70168, L"KX-70, QR-500");
    struct Row {
        const wchar_t* name;
        bool exact;
        bool suffix;
    };
    const Row rows[] = {
        {L"KX-70", true, true},
        {L"QR-500", true, true},
        {L"kx-70", false, false},
        {L"KX-70 ", false, false},
        {L" KX-70", false, true},
        {L"Corvex KX-70", false, true},
        {L"KX-70 Pro", false, false},
        {L"KX-700", false, false},
        // Only the first occurrence of a name is looked at.
        {L"KX-70 KX-70", false, false},
        {L"", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.name)));
        EXPECT_EQ(target.MatchesModel(row.name, false), row.exact);
        EXPECT_EQ(target.MatchesModel(row.name, true), row.suffix);
    }
}

} // namespace
