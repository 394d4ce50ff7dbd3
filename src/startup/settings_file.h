#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The settings file cannot be used; the text names the file and says what is wrong.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The two values of the settings file, in the order they are stored.
struct Settings {
  std::string DatabasePath;
  std::int16_t PlantCode = 0;
};

inline constexpr const char* kSettingsFileName = "velmora.ini";

// Reads up to `count` delimited fields: a field ends at a comma or at a line end; a field in
// double quotes keeps its commas and loses the quotes; blanks around a field are dropped.
// Fewer fields come back when the text ends first.
std::vector<std::string> ReadDelimitedFields(std::string_view text, std::size_t count);

// Reads the settings file; SettingsError when it is missing, unreadable or incomplete, or when
// the plant code is not a 16-bit number. Only a regular file (links followed) of a settings
// file's size is read: a FIFO, a device or a huge file is refused at once.
Settings ReadSettingsFile(const std::filesystem::path& file);

// The two places of the settings file. A copy run from its build folder keeps it beside the
// executable; an installed copy cannot write there and keeps it in the user's configuration
// folder.
struct SettingsPlaces {
  std::filesystem::path BesideExecutable;
  std::filesystem::path User;

  // `configDir` empty: $XDG_CONFIG_HOME/velmora (~/.config/velmora).
  static SettingsPlaces For(const std::filesystem::path& executableDir,
                            const std::filesystem::path& configDir = {});

  // The file to read: the one beside the executable when anything is there (so a broken one is
  // reported, not passed over), else the user's; nothing when neither exists.
  std::optional<std::filesystem::path> Find() const;

  // "設定ファイルがありません: <beside> または <user>".
  SettingsError Missing() const;
};

// Reads the file the places find; SettingsError naming both places when there is none.
Settings ReadSettings(const SettingsPlaces& places);

}  // namespace velmora
