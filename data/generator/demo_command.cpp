#include "generator/demo_command.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "common/date_text.h"
#include "db/connection.h"
#include "generator/demo_generator.h"

namespace velmora::demo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: velmora-demo --out TARGET [--empty] [--seed N] [--start yyyymmdd] [--days N]\n"
    "                    [--machines N] [--arrangements N] [--plant N] [--ini PATH [--ini-only]]\n"
    "Creates a demo production-planning database (never overwrites an existing one).\n"
    "TARGET is a file path, or the address of an existing, empty PostgreSQL database\n"
    "(postgresql://user@host:5432/plant).\n"
    "  --empty      create the tables only, for a plant's own plan\n"
    "  --start      first day of the data (default: today minus 30 days)\n"
    "  --ini PATH   also write the settings file PATH naming FILE and the plant\n"
    "  --ini-only   write only the settings file, for an existing FILE\n";

template <class T>
T ParseNumber(const std::string& option, const std::string& text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
  }
  return value;
}

// Exclusive creation: a file that appeared since the existence check is not overwritten.
void WriteNewFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wx");
  if (file == nullptr)
    throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

}  // namespace

DemoCommand ParseDemoCommand(const std::vector<std::string>& args, DateTime today) {
  DemoCommand command;
  command.options.baseDate = today.DatePart().AddDays(-30);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      command.help = true;
      continue;
    }
    if (option == "--ini-only") {
      command.iniOnly = true;
      continue;
    }
    if (option == "--empty") {
      command.empty = true;
      continue;
    }
    if (option.rfind("--", 0) != 0) throw std::invalid_argument("unknown argument " + option);
    if (i + 1 >= args.size()) throw std::invalid_argument(option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--out") {
      command.out = value;
    } else if (option == "--ini") {
      command.ini = value;
    } else if (option == "--seed") {
      command.options.seed = ParseNumber<std::uint64_t>(option, value);
    } else if (option == "--start") {
      const auto date = ParseYmd(value);
      if (!date)
        throw std::invalid_argument("--start needs a date yyyymmdd, not \"" + value + "\"");
      command.options.baseDate = *date;
    } else if (option == "--days") {
      command.options.days = ParseNumber<int>(option, value);
    } else if (option == "--machines") {
      command.options.machines = ParseNumber<int>(option, value);
    } else if (option == "--arrangements") {
      command.options.arrangements = ParseNumber<int>(option, value);
    } else if (option == "--plant") {
      command.options.plantCode = ParseNumber<int>(option, value);
    } else {
      throw std::invalid_argument("unknown option " + option);
    }
  }
  if (command.help) return command;
  if (command.out.empty()) throw std::invalid_argument("--out FILE is required");
  if (command.iniOnly && command.ini.empty())
    throw std::invalid_argument("--ini-only needs --ini PATH");
  ValidateOptions(command.options);
  return command;
}

std::string SettingsFileText(const std::string& absoluteDatabasePath, int plantCode) {
  // The settings reader takes a quoted field up to the closing quote and a line as the end.
  if (absoluteDatabasePath.find_first_of("\"\r\n") != std::string::npos) {
    throw std::invalid_argument(
        "the settings file cannot name a path containing a double quote or a line break: " +
        absoluteDatabasePath);
  }
  return "\"" + absoluteDatabasePath + "\"," + std::to_string(plantCode) + "\n";
}

int RunDemoCommand(const std::vector<std::string>& args, DateTime today, std::ostream& out,
                   std::ostream& err) {
  try {
    const DemoCommand command = ParseDemoCommand(args, today);
    if (command.help) {
      out << kUsage;
      return 0;
    }
    const bool server = db::IsServerAddress(command.out);
    const std::string absolute =
        server ? command.out : fs::absolute(command.out).lexically_normal().string();
    const std::string shown = server ? db::AddressWithoutPassword(command.out) : absolute;
    std::string settings;
    if (!command.ini.empty()) settings = SettingsFileText(absolute, command.options.plantCode);
    // Check every target before writing anything, so a refusal leaves no half-made demo.
    if (!command.iniOnly && !server && fs::exists(command.out)) {
      err << "velmora-demo: " << command.out << " already exists; not overwriting it\n";
      return 1;
    }
    if (command.iniOnly && !server && !fs::exists(command.out)) {
      err << "velmora-demo: " << command.out
          << " does not exist; the settings file would name nothing\n";
      return 1;
    }
    if (!command.ini.empty() && fs::exists(command.ini)) {
      err << "velmora-demo: " << command.ini << " already exists; not overwriting it\n";
      return 1;
    }
    if (!command.iniOnly && command.empty) {
      GenerateDemoDatabase(command.out, command.options, true);
      out << "velmora-demo: created the tables in " << shown << "\n";
    } else if (!command.iniOnly) {
      GenerateDemoDatabase(command.out, command.options);
      const DateTime asOf = AsOfDate(command.options);
      out << "velmora-demo: wrote " << shown << " (" << command.options.arrangements
          << " arrangements, " << command.options.machines << " machines, plant "
          << command.options.plantCode << ", data from "
          << FormatSlashDate(command.options.baseDate) << " for " << command.options.days
          << " days)\n"
          << "velmora-demo: a busy period to pick: " << FormatSlashDate(asOf) << " to "
          << FormatSlashDate(asOf.AddDays(27)) << "\n";
    }
    if (!command.ini.empty()) {
      WriteNewFile(command.ini, settings);
      out << "velmora-demo: wrote " << command.ini << "\n";
    }
    return 0;
  } catch (const std::invalid_argument& e) {
    err << "velmora-demo: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    err << "velmora-demo: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace velmora::demo
