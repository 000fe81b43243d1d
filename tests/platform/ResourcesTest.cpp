#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"

namespace {

// Sets LANGUAGE for one test and restores it.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const char* value)
    {
        if (const char* old = std::getenv("LANGUAGE"))
            m_saved = old;
        setenv("LANGUAGE", value, 1);
    }
    ~ScopedLanguage()
    {
        if (m_saved)
            setenv("LANGUAGE", m_saved->c_str(), 1);
        else
            unsetenv("LANGUAGE");
    }

private:
    std::optional<std::string> m_saved;
};

const std::uint8_t kBlob[] = {1, 2, 3};
const platform::StringResource kEnglish[] = {{1, L"one"}, {2, L"two"}};
const platform::StringResource kJapanese[] = {{1, L"いち"}};
const platform::StringResource kNeutral[] = {{201, L"1.20"}};
const platform::BinaryResource kBinaries[] = {{L"FIRMWARE", 220, kBlob}};

const platform::StaticResourceModule& TestModule()
{
    static const platform::StaticResourceModule module({kEnglish, kJapanese, kNeutral, kBinaries});
    return module;
}

TEST(Resources, StringsFallBackFromTheLanguageToNeutralToEnglish)
{
    platform::ScopedResources scope(TestModule());
    ScopedLanguage japanese("ja_JP");
    EXPECT_EQ(platform::LoadString(1), L"いち");
    EXPECT_EQ(platform::LoadString(2), L"two");
    EXPECT_EQ(platform::LoadString(201), L"1.20");
    EXPECT_EQ(platform::LoadString(3), std::nullopt);
}

TEST(Resources, BinaryTypeNamesIgnoreCase)
{
    platform::ScopedResources scope(TestModule());
    auto found = platform::FindResource(L"firmware", 220);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->size(), 3u);
    EXPECT_FALSE(platform::FindResource(L"FIRMWARE", 221));
    EXPECT_FALSE(platform::FindResource(L"DLL", 220));
}

TEST(Resources, OverlayReplacesAndRemovesAndScopeRestores)
{
    platform::ResourceOverlay overlay(TestModule());
    overlay.SetString(201, L"1.21").RemoveString(2).SetBinary(L"firmware", 220, {9}).SetBinary(L"DLL", 146, {7, 7});
    {
        platform::ScopedResources outer(TestModule());
        {
            platform::ScopedResources inner(overlay);
            ScopedLanguage english("en_US");
            EXPECT_EQ(platform::LoadString(201), L"1.21");
            EXPECT_EQ(platform::LoadString(2), std::nullopt);
            EXPECT_EQ(platform::LoadString(1), L"one");
            EXPECT_EQ(platform::FindResource(L"FIRMWARE", 220)->size(), 1u);
            EXPECT_EQ(platform::FindResource(L"dll", 146)->size(), 2u);
            overlay.RemoveBinary(L"FIRMWARE", 220);
            EXPECT_FALSE(platform::FindResource(L"FIRMWARE", 220));
        }
        EXPECT_EQ(platform::LoadString(2), L"two");
        EXPECT_EQ(platform::FindResource(L"FIRMWARE", 220)->size(), 3u);
    }
    // Back to the executable's own module.
    EXPECT_EQ(platform::LoadString(ids::IDS_APP_TITLE), L"Corvex Firmware Installer");
}

TEST(Resources, ExecutableCarriesTheConfigurationAndTheFirmware)
{
    EXPECT_EQ(platform::LoadString(ids::IDS_FIRMWARE_VERSION), L"1.20");
    EXPECT_EQ(platform::LoadString(ids::IDS_SERIES_NAME), L"Lumetra Series");
    EXPECT_EQ(platform::LoadString(ids::IDS_MODEL_NAMES), L"KX-70");
    EXPECT_EQ(platform::LoadString(ids::IDS_MODEL_CODE), L"70168");
    EXPECT_EQ(platform::LoadString(ids::IDS_PORT_TYPE), L"DLL_USB");
    auto firmware = platform::FindResource(ids::RT_FIRMWARE, ids::IDR_FIRMWARE);
    ASSERT_TRUE(firmware);
    EXPECT_GT(firmware->size(), 1'000'000u);
}

} // namespace
