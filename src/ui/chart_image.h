#pragma once

#include <QImage>
#include <QString>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::ui {

// The whole chart of the current display mode, painted as the window paints it: every row with
// its caption, the header band, the unplanned band and the full surface width. Needs a
// QGuiApplication (the offscreen platform will do), no window. A null image when the chart is
// too large to allocate.
QImage RenderChartImage(const PlanData& data, const chart::ChartModel& model);

// RenderChartImage written as a PNG file; false when the image could not be made or written.
bool SaveChartPng(const PlanData& data, const chart::ChartModel& model, const QString& path);

}  // namespace velmora::ui
