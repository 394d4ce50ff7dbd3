#include "app/print_actions.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>
#include <string>

#include "app/velmora_application.h"
#include "ui/chart_pdf.h"

namespace velmora {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A file name that says what the PDF holds: "03 成形 20240501-20240528.pdf".
QString SuggestedName(const PlanData& data) {
  QString name = FromUtf8(data.CategoryCaption + " " + data.PeriodStart() + "-" + data.PeriodEnd());
  return name.remove(QLatin1Char('/')) + QStringLiteral(".pdf");
}

// Painting many pages takes a moment: the pointer says so.
struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

void Print(QMainWindow& window, Questions& questions, const PlanData& data,
           const chart::ChartModel& model, const ui::LoadTable& load) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(ui::ChartPdfPageLayout(QPageSize::A4));
  printer.setDocName(FromUtf8(data.CategoryCaption));
  QPrintDialog dialog(&printer, &window);
  dialog.setWindowTitle(QStringLiteral("印刷"));
  if (dialog.exec() != QDialog::Accepted) return;
  bool printed = false;
  {
    BusyCursor busy;
    printed = ui::PaintChartPages(printer, data, model, QDate::currentDate(), &load);
  }
  if (!printed) {
    questions.Tell(
        {"印刷できませんでした。プリンターの接続と設定を確認してください。", Tone::Critical});
  }
}

void ExportPdf(QMainWindow& window, Questions& questions, const PlanData& data,
               const chart::ChartModel& model, const ui::LoadTable& load) {
  QString path =
      QFileDialog::getSaveFileName(&window, QStringLiteral("PDF に出力"), SuggestedName(data),
                                   QStringLiteral("PDF ファイル (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  try {
    BusyCursor busy;
    ui::SaveChartPdf(data, model, path.toStdString(), QPageSize::A4, QDate::currentDate(), &load);
  } catch (...) {
    ReportFailure(std::current_exception(), questions);
  }
}

}  // namespace

void AddPrintActions(QMainWindow& window, QMenu& menu, const PlanData& data,
                     const chart::ChartModel& model, std::function<ui::LoadTable()> load,
                     Questions& questions) {
  QAction* print = menu.addAction(QStringLiteral("印刷..."));
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  QObject::connect(print, &QAction::triggered, &window, [&window, &questions, &data, &model, load] {
    Print(window, questions, data, model, load());
  });
  QAction* pdf = menu.addAction(QStringLiteral("PDF に出力..."));
  QObject::connect(pdf, &QAction::triggered, &window, [&window, &questions, &data, &model, load] {
    ExportPdf(window, questions, data, model, load());
  });
}

}  // namespace velmora
