#pragma once

#include <QWidget>

#include "saving/plan_save.h"

class QLabel;
class QProgressBar;

namespace velmora {

inline constexpr const char* kHozonCaption = "保存中";

// The small window over the main window while the save walks the entries: a bar and "i/N".
// Modal while shown, so the main window takes no input until the save is over; it paints itself
// from inside the save, which does not return to the event loop.
class HozonForm : public QWidget, public saving::SaveProgress {
  Q_OBJECT

 public:
  explicit HozonForm(QWidget* parent);

  void Start(int maximum) override;
  void Step(int i, int n, bool repaint) override;
  void Finish() override;

  QProgressBar* HozonBar = nullptr;
  QLabel* HozonText = nullptr;

 protected:
  // The save closes the window; its frame does not.
  void closeEvent(QCloseEvent* event) override;

 private:
  bool running_ = false;
};

}  // namespace velmora
