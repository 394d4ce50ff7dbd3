// The PDF export of the demo plant, read back with poppler's tools: the pages the slicing says,
// landscape A4 or A3, and on every page the searchable title, row captions and bar captions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "chart/display_mode.h"
#include "common/text.h"
#include "db/command.h"
#include "e2e/demo_export_fixture.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"
#include "support/run_program.h"
#include "support/scripted_messages.h"
#include "ui/chart_painter.h"
#include "ui/chart_pdf.h"
#include "ui/load_pages.h"
#include "ui/printed_chart.h"

namespace velmora::test {
namespace {

// A poppler tool from PATH; the tests fail without it rather than pass unchecked.
std::string Tool(const std::string& name) {
  std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string dir; std::getline(path, dir, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(dir) / name;
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  ADD_FAILURE() << name << " is missing: scripts/install-deps installs poppler-utils";
  return "/nonexistent/" + name;
}

// The text of each page in the order it was drawn (a layout would merge the row captions with
// the clipped text of bars that start left of a page).
std::vector<std::string> PageTexts(const std::string& pdf) {
  const ProgramRun run = RunProgram(Tool("pdftotext"), {"-raw", "-enc", "UTF-8", pdf, "-"});
  EXPECT_EQ(0, run.status) << run.err;
  std::vector<std::string> pages;
  std::stringstream all(run.out);
  for (std::string page; std::getline(all, page, '\f');) pages.push_back(page);
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
    pages.pop_back();  // after the last form feed
  return pages;
}

class ExportPdf : public DemoExport {
 protected:
  ExportPdf() { LoadWeek(); }

  ProgramRun Export(const std::string& pdf, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--export-pdf", pdf,        "--from",     "20240501",
                                     "--to",         "20240528", "--category", "3"};
    args.insert(args.end(), more.begin(), more.end());
    return RunProgram(program.executable(), args);
  }

  // The load pages that follow the chart's on paper `size`.
  ui::LoadTable Load() {
    load::LoadModel model;
    model.Update(data);
    return ui::MakeLoadTable(data, model);
  }
  int LoadPageCount(const ui::LoadTable& table, QPageSize::PageSizeId size) {
    const QRectF area = ui::ChartPdfPageLayout(size).paintRect(QPageLayout::Point);
    return ui::LoadPages(table, area.width(), area.height(), QFont()).PageCount();
  }

  std::string Info(const std::string& pdf) {
    const ProgramRun run = RunProgram(Tool("pdfinfo"), {pdf});
    EXPECT_EQ(0, run.status) << run.err;
    return run.out;
  }
};
TEST_F(ExportPdf, WeekPagesAreTheSlicingsWithTitleAxisRowsAndBarsAsText) {
  const std::string pdf = program.File("week.pdf");
  const ProgramRun run = Export(pdf);
  ASSERT_EQ(0, run.status) << run.err;

  const ui::PageLayout layout =
      ui::ChartPageLayout(data, chart, ui::ChartPdfPageLayout(QPageSize::A4));
  const ui::LoadTable load = Load();
  const int total = layout.PageCount() + LoadPageCount(load, QPageSize::A4);
  const std::string info = Info(pdf);
  EXPECT_NE(std::string::npos, info.find("Pages:           " + std::to_string(total))) << info;
  EXPECT_NE(std::string::npos, info.find("842 x 595 pts (A4)")) << info;  // landscape
  const std::vector<std::string> pages = PageTexts(pdf);
  ASSERT_EQ(static_cast<std::size_t>(total), pages.size());

  const chart::ChartModel printed = ui::PrintedChart(data, chart);
  const ui::ChartFrame frame = ui::PrintedFrame(data, printed);
  const ui::ChartPainter::Bands bands = ui::ChartPainter::BandsOf(frame);
  const int firstRowTop = bands.rows.top() - bands.unplanned.top() + 8;
  for (int n = 0; n < layout.PageCount(); ++n) {
    SCOPED_TRACE("page " + std::to_string(n + 1));
    const std::string& page = pages[static_cast<std::size_t>(n)];
    EXPECT_NE(std::string::npos, page.find(std::to_string(n + 1) + " / " + std::to_string(total)));
    EXPECT_NE(std::string::npos, page.find("03 成形"));
    EXPECT_NE(std::string::npos, page.find("2024/05/01～2024/05/28"));
    EXPECT_NE(std::string::npos, page.find("印刷日 "));
    // The row captions of this page's rows, kanji and digits as they are stored.
    const ui::PageSpan rows = layout.RowsOf(n);
    for (int k = 0; k < frame.captionCount; ++k) {
      const int top = firstRowTop + k * 40;
      if (top < rows.start || top >= rows.start + rows.length) continue;
      const std::string caption = Trim(frame.captions[k].substr(0, frame.captions[k].find('\r')));
      if (!caption.empty()) {
        EXPECT_NE(std::string::npos, page.find(caption)) << caption;
      }
    }
    // The day labels of the time axis over this page's week.
    const ui::PageSpan time = layout.TimeOf(n);
    for (const chart::AxisLabel& label : printed.LineName2) {
      const int x = static_cast<int>(label.Left / 15);
      if (label.Visible && !label.Text.empty() && x >= time.start &&
          x + 20 < time.start + time.length) {
        EXPECT_NE(std::string::npos, page.find(label.Text)) << label.Text;
      }
    }
  }

  // The item codes of wide bars that nothing covers, on the pages that show their start, in
  // the rows and in the unplanned band alike.
  ui::ChartPainter painter;
  int found = 0;
  int unplanned = 0;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& plan = data.PlanTable[static_cast<std::size_t>(i)];
    const chart::BarLabel& bar = printed.PlanBar[static_cast<std::size_t>(plan.BarIndex)];
    if (!bar.Visible || bar.Width < 100 * 15 || bar.Left < 0) continue;
    const bool band = bar.Container == chart::Surface::PlatForm2;
    const QRect surface = band ? bands.unplanned : bands.rows;
    const int x = static_cast<int>(bar.Left / 15);
    const int y = static_cast<int>(bar.Top / 15);
    bool uncovered = true;
    for (int dx = 2; dx < 90; dx += 4) {
      const ui::ChartHit hit =
          painter.HitTest(printed, frame, QPoint(surface.left() + x + dx, surface.top() + y + 6));
      uncovered = uncovered && hit.index == plan.BarIndex;
    }
    if (!uncovered) continue;
    const std::string code = Trim(plan.PlanItemCode);
    for (int n = 0; n < layout.PageCount(); ++n) {
      const ui::PageSpan time = layout.TimeOf(n);
      const ui::PageSpan rows = layout.RowsOf(n);
      const int top = (band ? 0 : bands.rows.top() - bands.unplanned.top()) + y;
      if (x < time.start || x + 90 > time.start + time.length || top < rows.start ||
          top + 24 > rows.start + rows.length)
        continue;
      EXPECT_NE(std::string::npos, pages[static_cast<std::size_t>(n)].find(code)) << code;
      ++(band ? unplanned : found);
    }
  }
  EXPECT_GE(found, 5);
  EXPECT_GE(unplanned, 2) << "unplanned plans on the pages of their weeks";

  // The load pages after the chart's: a week of days across, every machine line with its
  // figures, and the total, as text.
  const QRectF area = ui::ChartPdfPageLayout(QPageSize::A4).paintRect(QPageLayout::Point);
  const ui::LoadPages onA4(load, area.width(), area.height(), QFont());
  int figures = 0;
  for (int n = layout.PageCount(); n < total; ++n) {
    SCOPED_TRACE("load page " + std::to_string(n + 1));
    const std::string& page = pages[static_cast<std::size_t>(n)];
    EXPECT_NE(std::string::npos, page.find(std::to_string(n + 1) + " / " + std::to_string(total)));
    EXPECT_NE(std::string::npos, page.find("負荷"));
    EXPECT_NE(std::string::npos, page.find("全機械"));
    const int k = n - layout.PageCount();
    const ui::PageSpan week = onA4.Weeks()[static_cast<std::size_t>(k) / onA4.Lines().size()];
    const ui::PageSpan lines = onA4.Lines()[static_cast<std::size_t>(k) % onA4.Lines().size()];
    for (int d = week.start; d < week.start + week.length; ++d) {
      EXPECT_NE(std::string::npos, page.find(load.days[static_cast<std::size_t>(d)]));
    }
    for (int l = lines.start; l < lines.start + lines.length; ++l) {
      const ui::LoadTable::Line& line = load.lines[static_cast<std::size_t>(l)];
      EXPECT_NE(std::string::npos, page.find(line.caption.substr(0, line.caption.find(' '))));
      for (int d = week.start; d < week.start + week.length; ++d) {
        const std::string text = ui::LoadTable::Text(line.cells[static_cast<std::size_t>(d)]);
        if (text.empty()) continue;
        EXPECT_NE(std::string::npos, page.find(text)) << text;
        ++figures;
      }
    }
  }
  EXPECT_GE(figures, 50);
}

// The words of a PDF and where they stand, as pdftotext reads them (without the file's dates).
std::vector<std::string> PlacedWords(const std::string& pdf) {
  const ProgramRun run = RunProgram(Tool("pdftotext"), {"-bbox", "-enc", "UTF-8", pdf, "-"});
  EXPECT_EQ(0, run.status) << run.err;
  std::vector<std::string> words;
  std::stringstream all(run.out);
  for (std::string line; std::getline(all, line);) {
    if (line.find("<word ") != std::string::npos || line.find("<page ") != std::string::npos)
      words.push_back(line);
  }
  return words;
}

// A number attribute of a pdftotext word line.
double Attribute(const std::string& word, const std::string& name) {
  const std::size_t at = word.find(name + "=\"");
  return at == std::string::npos ? -1 : std::stod(word.substr(at + name.size() + 2));
}

// The pages come from the paper and the mode, never from the screen: what the window's menu
// writes (its model at the viewport of a 1366 and of a 1920 pixel screen) is the command line's
// PDF, word for word and point for point, and its bar captions are at least 7 pt on A4.
TEST_F(ExportPdf, TheWindowsPdfIsTheCommandLinesWhateverTheScreen) {
  const std::string fromCommandLine = program.File("command-line.pdf");
  ASSERT_EQ(0, Export(fromCommandLine).status);
  const std::vector<std::string> expected = PlacedWords(fromCommandLine);
  ASSERT_GT(expected.size(), 1000u);
  for (const int viewport : {1186, 1740}) {
    SCOPED_TRACE(viewport);
    PlanData shown;
    shown.PlantCode = 3;
    shown.CategoryCode = "3";
    shown.CategoryCaption = "03 成形";
    shown.SetPeriod("2024/05/01", "2024/05/28");
    chart::ChartModel window;
    window.Picture1.Width = viewport * chart::kTwipsPerPixel;
    LoadMainForm(shown, window, command, test::TestQuestions());
    const std::string pdf = program.File("window.pdf");
    load::LoadModel load;
    load.Update(shown);
    const ui::LoadTable table = ui::MakeLoadTable(shown, load);
    ui::SaveChartPdf(shown, window, pdf, QPageSize::A4, QDate::currentDate(), &table);
    EXPECT_EQ(expected, PlacedWords(pdf));
  }
  // Full-width characters are one em wide: the process names in the bar captions.
  int captions = 0;
  for (const std::string& word : expected) {
    if (word.find(">射出成形</word>") == std::string::npos) continue;
    EXPECT_GE((Attribute(word, "xMax") - Attribute(word, "xMin")) / 4, 7.0) << word;
    ++captions;
  }
  EXPECT_GT(captions, 50);
}

TEST_F(ExportPdf, ModesAndPaperSizes) {
  struct Case {
    const char* mode;
    const char* page;
    QPageSize::PageSizeId size;
    const char* pdfinfoSize;
  } cases[] = {
      {"1", "A3", QPageSize::A3, "1191 x 842 pts (A3)"},
      {"4", "A4", QPageSize::A4, "842 x 595 pts (A4)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::string pdf = program.File(std::string("mode") + c.mode + ".pdf");
    const ProgramRun run = Export(pdf, {"--mode", c.mode, "--page", c.page});
    ASSERT_EQ(0, run.status) << run.err;
    chart::DispMode(data, chart, std::stoi(c.mode));
    const int pages = ui::ChartPageLayout(data, chart, ui::ChartPdfPageLayout(c.size)).PageCount() +
                      LoadPageCount(Load(), c.size);
    const std::string info = Info(pdf);
    EXPECT_NE(std::string::npos, info.find("Pages:           " + std::to_string(pages))) << info;
    EXPECT_NE(std::string::npos, info.find(c.pdfinfoSize)) << info;
  }
}

TEST_F(ExportPdf, BadArgumentsAreRefusedWithAMessage) {
  struct Case {
    std::vector<std::string> more;
    const char* message;
  } cases[] = {
      {{"--page", "B5"}, "--page B5 is not one of A4, A3"},
      {{"--mode", "5"}, "--mode 5 is not one of 1, 2, 3, 4"},
      {{"--page"}, "--page needs a value"},
  };
  for (const Case& c : cases) {
    const std::string pdf = program.File("bad.pdf");
    const ProgramRun run = Export(pdf, c.more);
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("--export-pdf FILE")) << "the usage";
    EXPECT_FALSE(std::filesystem::exists(pdf));
  }
  const ProgramRun png =
      RunProgram(program.executable(), {"--export-png", program.File("x.png"), "--from", "20240501",
                                        "--to", "20240528", "--category", "3", "--page", "A4"});
  EXPECT_EQ(2, png.status) << "a PNG has no paper";
}

TEST_F(ExportPdf, AFileThatCannotBeWrittenIsAnError) {
  const ProgramRun run = Export("/proc/velmora-cannot-write/chart.pdf");
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("を確認してください。")) << run.err;
}

}  // namespace
}  // namespace velmora::test
