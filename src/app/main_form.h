#pragma once

#include <QMainWindow>

#include "app/app_state.h"

namespace velmora {

class Program;

inline constexpr const char* kMainFormCaption = "生産計画支援システム";
inline constexpr const char* kInquiryCaptionSuffix = "(照会モード)";

// The main window. For now it shows only its caption; the chart and its controls are loaded
// by Form_Load when they arrive.
class MainForm : public QMainWindow {
  Q_OBJECT

 public:
  MainForm(AppState& state, Program& program);

  // The load: builds the window from the selection in `state`, shows it and closes the splash.
  void Form_Load();

 protected:
  // The unload: ends the program unless a restart is unloading the window.
  void closeEvent(QCloseEvent* event) override;

 private:
  AppState& state_;
  Program& program_;
};

}  // namespace velmora
