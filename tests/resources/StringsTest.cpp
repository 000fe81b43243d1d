// The program's texts as the user sees them through LoadString: the right
// language for the environment, and every blank, quote and line break of the
// wording intact. The expected texts are written out here on purpose rather
// than taken from the tables, so a slip in either shows up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources/Resources.h"
#include "resources/StringTables.h"

namespace {

using platform::Language;

// Every id of the program's own string table (both languages).
const unsigned kTableIds[] = {101, 103, 104, 105, 106, 107, 160, 161, 162, 163, 164, 165,
                              166, 167, 168, 169, 170, 171, 176, 177, 178, 179, 180, 57344};

const wchar_t kEn161[] = L"Cannot find a printer.\nFill in IP address again or turn on main power switch.";
const wchar_t kEn164[] = L"Current version is %s. \nInstallation is not necessary.";
const wchar_t kEn167[] =
    L"Failed to send firmware.\nTurn off main power switch and turn it on,\nthen try installation again.";
const wchar_t kEn170[] = L"Failed to install firmware.\n\nIf the \"SUM ERROR\" appears on the LCD,  push \"ENTER\" "
                         L"button on the panel and then try installation again.";
const wchar_t kEn177[] = L"Installing and checking firmware...\nDon't turn off main power switch until finishing "
                         L"installation.\n\nIf not, Turn off main power switch and turn it on,\nthen try "
                         L"installation again. ";
const wchar_t kEn178[] = L"Installing and checking firmware...\nIf the \"COMPLETED\" apperas on the Panel,\nturn "
                         L"off sub main power switch and wait for a while.";

const wchar_t kJa161[] = L"プリンタが見つかりません。\nIPアドレスが間違っているか、メイン電源スイッチがOFFになっています。";
const wchar_t kJa164[] = L"現在のバージョンは %s です。\nインストールは必要ありません。";
const wchar_t kJa170[] = L"インストールに失敗しました。\n\nパネルに\"SUM ERROR\"が表示されている場合には\nパネルの"
                         L"\"ENTER\"ボタンを押して、もう一度インストールしてください。\n\n\"SUM ERROR\"が表示されて"
                         L"いない場合には\nメイン電源スイッチを入れ直して、もう一度インストールしてください。";
const wchar_t kJa178[] =
    L"ファームをインストール、確認しています。\n\"COMPLETED\"が表示されたら、サブ電源を切り、しばらくお待ちください。";
const wchar_t kJa179[] = L"インストールが完了していませんが、終了してもよろしいですか？";
const wchar_t kJa101[] = L"バージョン情報(&A)...";

const char* const kLanguageVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

// Values of LANGUAGE, LC_ALL, LC_MESSAGES and LANG, in that order; nullptr
// leaves the variable unset.
struct UiEnvironment {
    const char* values[4];
};

// Puts the four language variables exactly as given (whatever the test runner
// inherited) and brings the previous values back afterwards.
class ScopedUiEnvironment {
public:
    explicit ScopedUiEnvironment(const UiEnvironment& environment)
    {
        for (int i = 0; i < 4; ++i) {
            const char* previous = std::getenv(kLanguageVariables[i]);
            if (previous != nullptr)
                m_saved[i] = previous;
            Put(kLanguageVariables[i], environment.values[i]);
        }
    }

    ~ScopedUiEnvironment()
    {
        for (int i = 0; i < 4; ++i)
            Put(kLanguageVariables[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
    }

    ScopedUiEnvironment(const ScopedUiEnvironment&) = delete;
    ScopedUiEnvironment& operator=(const ScopedUiEnvironment&) = delete;

private:
    static void Put(const char* name, const char* value)
    {
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> m_saved[4];
};

TEST(Strings, LoadStringPicksTheLanguageFromTheEnvironmentAndKeepsTheTextExact)
{
    struct Row {
        const char* name;
        UiEnvironment environment;
        unsigned id;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"English LANG: 164 keeps its blank before the line break",
         {{nullptr, nullptr, nullptr, "en_US.UTF-8"}}, 164, kEn164},
        {"Japanese LANG: 164", {{nullptr, nullptr, nullptr, "ja_JP.UTF-8"}}, 164, kJa164},
        {"nothing set is English: 177 keeps its trailing blank", {{nullptr, nullptr, nullptr, nullptr}}, 177,
         kEn177},
        {"all set but empty is English: 170 quotes and two blanks", {{"", "", "", ""}}, 170, kEn170},
        {"LANGUAGE wins over LANG", {{"ja", nullptr, nullptr, "en_US.UTF-8"}}, 170, kJa170},
        {"LANGUAGE in English wins over a Japanese LC_ALL: 161 line break",
         {{"en_GB:en", "ja_JP.UTF-8", nullptr, nullptr}}, 161, kEn161},
        {"empty LANGUAGE is skipped, LC_ALL decides: full-width question mark",
         {{"", "ja_JP.UTF-8", nullptr, "en_US.UTF-8"}}, 179, kJa179},
        {"LC_ALL=C wins over Japanese LC_MESSAGES and LANG: 178 quotes and spelling",
         {{nullptr, "C", "ja_JP.UTF-8", "ja_JP.UTF-8"}}, 178, kEn178},
        {"LC_MESSAGES wins over LANG", {{nullptr, nullptr, "ja_JP.eucJP", "C"}}, 178, kJa178},
        {"LANGUAGE list led by Japanese: 161 line break", {{"ja:en", nullptr, nullptr, nullptr}}, 161, kJa161},
        {"a value of just \"j\" is not Japanese: 167 line breaks", {{nullptr, nullptr, nullptr, "j"}}, 167,
         kEn167},
        {"Japanese menu item keeps its ASCII brackets", {{nullptr, nullptr, nullptr, "ja"}}, 101, kJa101},
        {"title is the same in Japanese", {{nullptr, nullptr, nullptr, "ja_JP.UTF-8"}}, 57344,
         L"Corvex Firmware Installer"},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedUiEnvironment environment(row.environment);
        std::optional<std::wstring> text = platform::LoadString(row.id);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, row.expected);
    }
}

std::vector<unsigned> IdsOf(std::span<const platform::StringResource> table)
{
    std::vector<unsigned> ids;
    for (const platform::StringResource& entry : table)
        ids.push_back(entry.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST(Strings, BothLanguagesHoldExactlyTheTableIds)
{
    const std::vector<unsigned> expected(std::begin(kTableIds), std::end(kTableIds));
    // Duplicates or strays would shadow or hide an entry, so the id lists must match exactly.
    EXPECT_EQ(IdsOf(resources::EnglishStrings()), expected);
    EXPECT_EQ(IdsOf(resources::JapaneseStrings()), expected);

    const platform::ResourceModule& module = platform::ExecutableResources();
    for (unsigned id : kTableIds) {
        SCOPED_TRACE(id);
        for (Language language : {Language::English, Language::Japanese}) {
            std::optional<std::wstring_view> text = module.FindString(id, language);
            ASSERT_TRUE(text.has_value());
            EXPECT_FALSE(text->empty());
        }
    }
}

TEST(Strings, StringMissingFromTheInstalledModuleLoadsAsNothing)
{
    platform::ResourceOverlay overlay(platform::ExecutableResources());
    overlay.RemoveString(164);
    for (const char* lang : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
        SCOPED_TRACE(lang);
        ScopedUiEnvironment environment(UiEnvironment{{nullptr, nullptr, nullptr, lang}});
        {
            platform::ScopedResources installed(overlay);
            EXPECT_EQ(platform::LoadString(164), std::nullopt);
            EXPECT_TRUE(platform::LoadString(165).has_value());
        }
        EXPECT_TRUE(platform::LoadString(164).has_value());
    }
}

} // namespace
