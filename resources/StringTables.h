#pragma once
// The program's own string tables and the build's configuration strings.

#include <span>

#include "platform/resources/Resources.h"

namespace resources {

std::span<const platform::StringResource> EnglishStrings();
std::span<const platform::StringResource> JapaneseStrings();
// Strings 201 to 205, language-neutral, generated from the build's
// configuration.
std::span<const platform::StringResource> ConfigurationStrings();

} // namespace resources
