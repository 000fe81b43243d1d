#include "update/UpdaterSetup.h"

#include "image/PufImage.h"
#include "platform/resources/Resources.h"
#include "platform/text/Crt.h"
#include "platform/text/Text.h"
#include "resources/ResourceIds.h"
#include "update/StatusReply.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>

int ModelCodeFromResource()
{
    constexpr std::size_t kMaxDigits = 10;
    const std::optional<std::wstring> text = platform::LoadString(ids::IDS_MODEL_CODE);
    if (!text)
        return -1;
    char buffer[16];
    if (!platform::WideToAnsi(*text, buffer) || std::strlen(buffer) > kMaxDigits)
        return -1;
    return platform::Atoi(buffer);
}

UpdaterSetup SetUpUpdater(CUpdater& updater)
{
    const std::optional<std::wstring> series = platform::LoadString(ids::IDS_SERIES_NAME);
    const std::optional<std::wstring> version = platform::LoadString(ids::IDS_FIRMWARE_VERSION);
    const std::optional<std::wstring> names = platform::LoadString(ids::IDS_MODEL_NAMES);
    if (!series || !version || !names)
        return UpdaterSetup::ConfigurationMissing;

    auto target = std::make_unique<CTargetModel>(VersionToHundredths(*version), ModelCodeFromResource(), *names);
    auto image = std::make_unique<CPufImage>();
    if (!image->Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE))
        return UpdaterSetup::ImageNotLoaded;
    if (!updater.SetImage(target, image))
        return UpdaterSetup::ImageMismatch;
    return UpdaterSetup::Ready;
}
