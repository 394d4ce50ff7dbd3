#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "automation/script_runner.h"
#include "common/questions.h"
#include "plandata/plan_data.h"

namespace velmora::test {

// A seeded user at the editor: each Next() is the next thing they do, as script lines, chosen
// from what the chart and the open dialog show at that moment. Good and bad input are mixed as
// people type them; questions get random answers.
class RandomSession {
 public:
  RandomSession(std::uint64_t seed, const EditSession& session, ScriptRunner& runner);

  // The lines of the next gesture, or of the next action in the open dialog.
  std::vector<std::string> Next();
  // Until the open dialogs are closed: the lines that close the topmost one.
  std::vector<std::string> CloseDialog();
  velmora::Answer Answer();

 private:
  std::vector<std::string> ChartGesture();
  std::vector<std::string> LotWindowAction();
  std::vector<std::string> LotSplitAction();
  std::vector<std::string> DayCalendarAction();
  std::vector<std::string> ChainAction();
  std::vector<std::string> PlanChangeAction();

  int Pick(int below);
  bool Chance(double p);
  std::string OrderOfALivePlan();
  // A plan the one given can merge with (same production plan, nothing received), if any.
  std::string MergePartnerOf(const std::string& order);
  std::string RowWord();
  std::string DateInPeriod(int spread);
  std::string Clock();
  std::string Shown(const std::string& control) const;
  std::vector<std::string> Lines(const std::string& list) const;
  bool Usable(const std::string& button) const;

  std::mt19937_64 random_;
  const EditSession& session_;
  const PlanData& data_;
  ScriptRunner& runner_;
  int actionsInDialog_ = 0;               // in the dialog on top
  std::map<const void*, int> actionsIn_;  // per open dialog
  std::vector<std::string>
      openedWith_;  // startDate, startTime, totalMinutes of the lot window as opened
};

}  // namespace velmora::test
