#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"
#include "platform/text/Unicode.h"
#include "tests/registry/RegTestSupport.h"

namespace {

using platform::RegRoot;
using platform::RegValue;

std::vector<std::string> DiagnosticTexts(const platform::RegFileContents& contents)
{
    std::vector<std::string> texts;
    for (const auto& diagnostic : contents.diagnostics)
        texts.push_back(diagnostic.Text());
    return texts;
}

TEST(RegFile, ReadsEveryValueFormOfTheSubset)
{
    // As regedit writes it: byte-order mark, CRLF, wrapped hex lines.
    const std::string file =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; a comment line\r\n"
        "  ;   an indented one\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\Test]\r\n"
        "@=\"the default\"\r\n"
        "\"Path\"=\"C:\\\\Program Files\\\\Corvex\"\r\n"
        "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
        "\"Spaced\" = \"around the equals sign\"\r\n"
        "\"Empty\"=\"\"\r\n"
        "\"Unicode\"=\"\xE4\xBA\x8B\xE5\x8B\x99\xE6\x89\x80 \xF0\x9F\x96\xA8\"\r\n"
        "\"Count\"=dword:0001F4a0\r\n"
        "\"Short\"=dword:7\r\n"
        "\"Blob\"=hex:00,ff,10\r\n"
        "\"None\"=hex:\r\n"
        "\"Expand\"=hex(2):25,00,54,00,00,00\r\n"
        "\"Multi\"=hex(7):41,00,00,00,\\\r\n"
        "  42,00,00,00,\\\r\n"
        "  00,00\r\n"
        "\"Qword\"=hex(b):01,02,03,04,05,06,07,08\r\n"
        "\"After\"=\"the wrapped lines\"\r\n";
    const platform::RegFileContents contents = platform::ParseRegFile(file, "all.reg");
    EXPECT_TRUE(contents.diagnostics.empty()) << testing::PrintToString(DiagnosticTexts(contents));

    platform::Registry registry;
    registry.Apply(contents);
    auto key = registry.OpenKey(RegRoot::LocalMachine, L"SOFTWARE\\Corvex\\Test");
    ASSERT_TRUE(key);

    struct Row {
        const wchar_t* name;
        RegValue expected;
    };
    const auto sz = [](std::wstring_view text) {
        return RegValue{platform::REG_SZ, platform::WideToUtf16Le(text) + std::string(2, '\0')};
    };
    const Row rows[] = {
        {L"", sz(L"the default")},
        {L"Path", sz(L"C:\\Program Files\\Corvex")},
        {L"Quoted", sz(L"say \"hi\"")},
        {L"Spaced", sz(L"around the equals sign")},
        {L"Empty", sz(L"")},
        {L"Unicode", sz(L"\u4E8B\u52D9\u6240 \U0001F5A8")},
        {L"Count", {platform::REG_DWORD, std::string("\xA0\xF4\x01\x00", 4)}},
        {L"Short", {platform::REG_DWORD, std::string("\x07\x00\x00\x00", 4)}},
        {L"Blob", {platform::REG_BINARY, std::string("\x00\xFF\x10", 3)}},
        {L"None", {platform::REG_BINARY, ""}},
        {L"Expand", {platform::REG_EXPAND_SZ, std::string("%\0T\0\0\0", 6)}},
        {L"Multi", {platform::REG_MULTI_SZ, std::string("A\0\0\0B\0\0\0\0\0", 10)}},
        {L"Qword", {platform::REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08"}},
        {L"After", sz(L"the wrapped lines")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(platform::WideToUtf8(row.name));
        auto value = key->QueryValue(row.name, 4096);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, row.expected.type);
        EXPECT_EQ(value->data, row.expected.data);
    }
    EXPECT_EQ(key->QueryDword(L"Count").Value(), 0x1F4A0u);
}

TEST(RegFile, MalformedEntriesAreReportedWithFileAndLineAndTheRestLoads)
{
    struct Row {
        const char* what;
        const char* line;     // the third line of the file, after the header and a good key
        const char* message;  // expected in "bad.reg:3: <message>"
    };
    const Row rows[] = {
        {"single backslash", "\"Path\"=\"C:\\Program Files\"", "unknown escape in a quoted string"},
        {"escape at the end", "\"Path\"=\"C:\\\"", "unterminated quoted string"},
        {"unterminated name", "\"Path=\"x\"", "expected '=' after the value name"},
        {"unterminated value", "\"Path\"=\"x", "unterminated quoted string"},
        {"text after the value", "\"Path\"=\"x\" ; comment", "unexpected text after the value"},
        {"bare word", "Path=x", "expected a key in [brackets], a value name in quotes, or @"},
        {"no equals", "\"Path\" \"x\"", "expected '=' after the value name"},
        {"no data", "\"Path\"=", "no value after '='"},
        {"unknown type", "\"Path\"=str:x", "unknown value \"str:x\""},
        {"dword too long", "\"N\"=dword:123456789", "a dword value takes 1 to 8 hexadecimal digits"},
        {"dword not hex", "\"N\"=dword:12g4", "a dword value takes 1 to 8 hexadecimal digits"},
        {"dword empty", "\"N\"=dword:", "a dword value takes 1 to 8 hexadecimal digits"},
        {"hex single digit", "\"B\"=hex:0,01", "expected two hexadecimal digits per byte, separated by commas"},
        {"hex trailing comma", "\"B\"=hex:01,", "found \"\""},
        {"hex type unclosed", "\"B\"=hex(2:01", "hex(N) takes a type of 1 to 8 hexadecimal digits"},
        {"hex without colon", "\"B\"=hex 01", "expected ':' after hex or hex(N)"},
        {"key unclosed", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X", "a key line must end with ']'"},
        {"unknown root", "[HKEY_CLASSES_ROOT\\.reg]", "unknown root key \"HKEY_CLASSES_ROOT\""},
        {"abbreviated root", "[HKLM\\SOFTWARE]", "unknown root key \"HKLM\""},
        {"empty key name", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\X]", "empty key name in the path"},
        {"trailing backslash", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\]", "empty key name in the path"},
        {"root deletion", "[-HKEY_USERS]", "a root key cannot be deleted"},
        {"long key name", nullptr, "key name longer than 255 characters"},
        {"invalid UTF-8", "\"N\"=\"\xC3\x28\"", "not valid UTF-8"},
        {"zero byte", nullptr, "zero byte in the line"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string line = row.line ? row.line : "";
        if (std::string(row.what) == "long key name")
            line = "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]";
        if (std::string(row.what) == "zero byte")
            line = std::string("\"N\"=\"a\0b\"", 9);
        const std::string file = std::string(regtest::kHeader) + "[HKEY_CURRENT_USER\\Good]\n" + line +
                                 "\n[HKEY_CURRENT_USER\\Good]\n\"Later\"=\"loaded\"\n";
        const platform::RegFileContents contents = platform::ParseRegFile(file, "bad.reg");
        ASSERT_EQ(contents.diagnostics.size(), 1u) << testing::PrintToString(DiagnosticTexts(contents));
        EXPECT_EQ(contents.diagnostics[0].line, 3);
        EXPECT_EQ(contents.diagnostics[0].Text().rfind("bad.reg:3: ", 0), 0u) << contents.diagnostics[0].Text();
        EXPECT_NE(contents.diagnostics[0].message.find(row.message), std::string::npos)
            << contents.diagnostics[0].message;

        platform::Registry registry;
        registry.Apply(contents);
        EXPECT_EQ(regtest::StringAt(registry, RegRoot::CurrentUser, L"Good", L"Later"), L"loaded");
    }
}

TEST(RegFile, AFileWithoutTheHeaderIsIgnoredWhole)
{
    struct Row {
        const char* what;
        std::string bytes;
        int line;
        const char* message;
    };
    const std::string body = "[HKEY_CURRENT_USER\\K]\n\"V\"=\"x\"\n";
    const Row rows[] = {
        {"no header", body, 1, "expected the header \"Windows Registry Editor Version 5.00\""},
        {"old format", "REGEDIT4\n\n" + body, 1, "expected the header"},
        {"header after blank lines is found", "\n\n  \nWindows Registry Editor Version 4.00\n" + body, 4,
         "expected the header"},
        {"empty file", "", 1, "expected the header"},
        {"UTF-16 as regedit saves by default", std::string("\xFF\xFEW\0i\0n\0", 8), 1, "UTF-16 text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const platform::RegFileContents contents = platform::ParseRegFile(row.bytes, "f.reg");
        EXPECT_TRUE(contents.operations.empty());
        ASSERT_EQ(contents.diagnostics.size(), 1u);
        EXPECT_EQ(contents.diagnostics[0].line, row.line);
        EXPECT_NE(contents.diagnostics[0].message.find(row.message), std::string::npos)
            << contents.diagnostics[0].message;
    }
}

TEST(RegFile, ValuesFollowTheirKeyLine)
{
    const std::string file = std::string(regtest::kHeader) +
                             "\"Orphan\"=\"before any key\"\n"           // 2: reported
                             "[HKEY_CURRENT_USER\\Bad\\\\Key]\n"         // 3: reported
                             "\"Lost\"=\"under a refused key\"\n"        // 4: dropped with its key
                             "\"Lost2\"=\"C:\\bad escape\"\n"            // 5: dropped with its key, unreported
                             "[-HKEY_CURRENT_USER\\Gone]\n"              // 6
                             "\"Stray\"=\"under a deleted key\"\n"       // 7: reported
                             "[HKEY_CURRENT_USER\\Good]\n"               // 8
                             "\"Kept\"=\"yes\"\n";                       // 9
    const platform::RegFileContents contents = platform::ParseRegFile(file, "f.reg");
    std::vector<int> lines;
    for (const auto& diagnostic : contents.diagnostics)
        lines.push_back(diagnostic.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 7})) << testing::PrintToString(DiagnosticTexts(contents));

    platform::Registry registry;
    registry.Apply(contents);
    EXPECT_FALSE(registry.OpenKey(RegRoot::CurrentUser, L"Bad"));
    EXPECT_EQ(regtest::StringAt(registry, RegRoot::CurrentUser, L"Good", L"Kept"), L"yes");
}

TEST(RegFile, WrappedHexReportsWhereTheValueStarts)
{
    const std::string file = std::string(regtest::kHeader) +
                             "[HKEY_CURRENT_USER\\K]\n"
                             "\"B\"=hex:01,02,\\\n"
                             "  03,zz\n"
                             "\"C\"=hex:01,\\\n";
    const platform::RegFileContents contents = platform::ParseRegFile(file, "f.reg");
    ASSERT_EQ(contents.diagnostics.size(), 2u);
    EXPECT_EQ(contents.diagnostics[0].Text(),
              "f.reg:3: expected two hexadecimal digits per byte, separated by commas; found \"zz\"");
    // The file ends with its newline, so the continuation takes the empty
    // last line and the value ends in a comma. Cut the newline and the
    // value runs off the end.
    EXPECT_EQ(contents.diagnostics[1].line, 5);
    const platform::RegFileContents cut = platform::ParseRegFile(file.substr(0, file.size() - 1), "f.reg");
    ASSERT_EQ(cut.diagnostics.size(), 2u);
    EXPECT_EQ(cut.diagnostics[1].Text(), "f.reg:5: value continued past the end of the file");
}

} // namespace
