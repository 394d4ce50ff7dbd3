#include "startup/first_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "common/questions.h"
#include "generator/demo_command.h"
#include "generator/demo_generator.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

void CreateFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec)
    throw std::runtime_error("フォルダを作成できません: " + folder.string() + " (" + ec.message() +
                             ")");
}

// Exclusive creation: a settings file another copy wrote meanwhile is kept, and read instead.
void WriteSettingsOnce(const fs::path& file, const std::string& text) {
  const std::string cannot = "設定ファイルを作成できません: " + file.string();
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return;
    throw std::runtime_error(cannot + " (" + std::strerror(errno) + ")");
  }
  std::size_t done = 0;
  int error = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    // Half a settings file would stop every later start with a puzzling message.
    unlink(file.c_str());
    throw std::runtime_error(cannot + " (" + std::strerror(error) + ")");
  }
}

}  // namespace

bool OfferDemoPlant(const SettingsPlaces& places, const fs::path& dataDir, DateTime today,
                    Questions& questions) {
  const fs::path database = dataDir / kDemoDatabaseName;
  const std::string question = "設定ファイルがありません。デモ用の工場データを " +
                               dataDir.string() + "/ に作成しますか？\n\n設定ファイル " +
                               places.User.string() + " がそのデータベースを指すようになります。";
  const Answer answer = questions.Ask(
      {.text = question, .byDefault = Answer::No, .title = "初回起動", .questionMark = true});
  if (answer != Answer::Yes) return false;

  demo::DemoOptions options;
  // As velmora-demo does: a period around today shows a full chart.
  options.baseDate = today.DatePart().AddDays(-30);
  // Checked before anything is written: a path the settings file cannot hold refuses here.
  std::string settings;
  try {
    settings = demo::SettingsFileText(fs::absolute(database).lexically_normal().string(),
                                      options.plantCode);
  } catch (const std::invalid_argument&) {
    throw std::runtime_error("設定ファイルに書けないパスです (引用符または改行を含みます): " +
                             database.string());
  }
  CreateFolder(dataDir);
  CreateFolder(places.User.parent_path());
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(database, ec)))
    demo::GenerateDemoDatabase(database.string(), options);
  WriteSettingsOnce(places.User, settings);
  return true;
}

}  // namespace velmora
