#pragma once

#include <QImage>
#include <filesystem>
#include <functional>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::ui {

// The whole chart of the current display mode, painted as the window paints it: every row with
// its caption, the header band, the unplanned band and the full surface width (in the day view
// its first 17 days, which keeps the picture within what raster painters take). Needs a
// QGuiApplication (the offscreen platform will do), no window. A null image when the chart is
// too large to allocate.
QImage RenderChartImage(const PlanData& data, const chart::ChartModel& model);

// The same picture painted in horizontal bands of at most `bandHeight` pixel rows, top to
// bottom, into one reused image: `take` gets each band's image, the frame row of its first line
// and its number of lines (the image may have more). Memory stays at one band's.
void RenderChartBands(const PlanData& data, const chart::ChartModel& model, int bandHeight,
                      const std::function<void(const QImage& band, int top, int rows)>& take);

// The whole chart written as a PNG file band by band; throws when it cannot be written.
void SaveChartPng(const PlanData& data, const chart::ChartModel& model,
                  const std::filesystem::path& path);

}  // namespace velmora::ui
