#include "app/export/export_session.h"

#include "app/category_selection.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "common/date_text.h"
#include "common/errors.h"

namespace velmora {

void OpenExportSession(ExportSession& session, const ExportOptions& options) {
  const Settings settings = ReadSettingsFile(ExecutableDirectory() / kSettingsFileName);
  session.Data.PlantCode = settings.PlantCode;
  session.Connection.Open(db::MakeConnectionString(settings.DatabasePath));
  session.Command.ActiveConnection = &session.Connection;

  const CategorySelection list = LoadCategorySelection(session.Connection, "", "");
  const std::int32_t code = std::stoi(options.category);
  const CategoryItem* item = nullptr;
  for (const CategoryItem& candidate : list.Items) {
    if (candidate.ItemData == code) item = &candidate;  // the last match, as the list selects
  }
  if (item == nullptr) throw ConversionError("工程分類 " + options.category + " はありません");

  PlanData& data = session.Data;
  data.CategoryCode = options.category;
  data.CategoryCaption = item->Text;
  data.PeriodStart = FormatSlashDate(options.from);
  data.PeriodEnd = FormatSlashDate(options.to);
  data.DayStartTime = DateTime();
}

}  // namespace velmora
