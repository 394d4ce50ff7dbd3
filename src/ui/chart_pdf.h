#pragma once

#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <filesystem>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"
#include "ui/chart_pages.h"
#include "ui/load_table.h"

class QPagedPaintDevice;

namespace velmora::ui {

// The page a PDF export is laid on: landscape, 10 mm margins.
QPageLayout ChartPdfPageLayout(QPageSize::PageSizeId size);

// How the whole period of the current display mode falls on pages of `page`, laid out as paper
// shows it (PrintedChart), whatever the screen: on landscape A4 one step of the display mode
// across (a week in week mode), on larger paper more time at the same size; as many rows down as
// fit.
PageLayout ChartPageLayout(const PlanData& data, const chart::ChartModel& model,
                           const QPageLayout& page);

// Paints the whole period of the current display mode on `device` with its page layout as set,
// one page at a time: every page repeats the row captions and the time axis under a title line
// (category, period, `printed` and "n / m"); the first starts on the period's first day. With
// `load`, the load pages follow the chart's. Text stays text. False when the device cannot be
// painted on (a printer or file that could not be opened).
bool PaintChartPages(QPagedPaintDevice& device, const PlanData& data,
                     const chart::ChartModel& model, QDate printed,
                     const LoadTable* load = nullptr);

// The pages written as a PDF file, replacing it only once complete; throws when it cannot be
// written.
void SaveChartPdf(const PlanData& data, const chart::ChartModel& model,
                  const std::filesystem::path& path, QPageSize::PageSizeId size, QDate printed,
                  const LoadTable* load = nullptr);

}  // namespace velmora::ui
