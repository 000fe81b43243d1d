#pragma once
// Filling the update driver from the build itself: the target model from the
// configuration strings and the firmware image from the embedded resource.
// The main dialog's start-up and the command-line tool set the driver up the
// same way, so a build that one of them refuses the other refuses too.

#include "update/Updater.h"

enum class UpdaterSetup {
    Ready,
    ConfigurationMissing, // string 201, 202 or 203 is missing
    ImageNotLoaded,       // the firmware resource is missing or damaged
    ImageMismatch,        // its header names another model code or version
};

// String 204 as the model code: its leading decimal digits, -1 when the
// string is missing or longer than 10 characters in the ANSI code page.
int ModelCodeFromResource();

// Builds the target model and loads the image, then hands both to `updater`.
UpdaterSetup SetUpUpdater(CUpdater& updater);
