#pragma once

#include <filesystem>

#include "common/datetime.h"
#include "common/questions.h"
#include "startup/settings_file.h"

namespace velmora {

inline constexpr const char* kDemoDatabaseName = "velmora-demo.db";

// A first start finds no settings file in either place. It says so and offers the demo plant
// (a question through `questions`, No by default). Yes: creates `dataDir`/velmora-demo.db with
// data from 30 days before `today` (a demo database already there is kept, with whatever was
// saved in it) and the user's settings file naming it, then returns true. No: creates nothing
// and returns false. A failure throws and leaves no settings file behind.
bool OfferDemoPlant(const SettingsPlaces& places, const std::filesystem::path& dataDir,
                    DateTime today, Questions& questions);

}  // namespace velmora
