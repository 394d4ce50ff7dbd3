#include "automation/export_session.h"

#include "common/date_text.h"
#include "common/errors.h"
#include "startup/category_selection.h"
#include "startup/settings_file.h"
#include "startup/startup.h"

namespace velmora {

void OpenExportSession(AppState& state, const ExportOptions& options) {
  const Settings settings = ReadSettings(SettingsPlaces::For(ExecutableDirectory()));
  state.Data.PlantCode = settings.PlantCode;
  // Only a script can save, and not in the inquiry mode: every other run reads the file without
  // changing anything in it, its journal mode included.
  db::Connection::Options open;
  open.readOnly = options.kind != ExportOptions::Kind::Script || options.inquiry;
  state.Connection.OpenTarget(settings.DatabasePath, open);
  state.Command.ActiveConnection = &state.Connection;

  const CategorySelection list = LoadCategorySelection(state.Connection, "", "");
  const std::int32_t code = std::stoi(options.category);
  const CategoryItem* item = nullptr;
  for (const CategoryItem& candidate : list.Items) {
    if (candidate.ItemData == code) item = &candidate;  // the last match, as the list selects
  }
  if (item == nullptr) throw ConversionError("工程分類 " + options.category + " はありません");

  PlanData& data = state.Data;
  data.CategoryCode = options.category;
  data.CategoryCaption = item->Text;
  data.SetPeriod(FormatSlashDate(options.from), FormatSlashDate(options.to));
  data.DayStartTime = DateTime();
}

}  // namespace velmora
