#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/questions.h"
#include "lotdetail/lot_fields.h"

namespace velmora::lotdetail {

inline constexpr const char* kNotATimeOfDay = "時間として認識できません";
inline constexpr const char* kEnterADate = "日付を正しく入力してください";
inline constexpr const char* kNumberOutOfRange = "数値が大きすぎます。正しく入力してください";
inline constexpr const char* kQuantityRange = "数量は0から2147483647までの整数で入力してください";
inline constexpr const char* kQuantityOfParts =
    "この計画は数量の違う手配をまとめているため、数量を変更できません";
inline constexpr const char* kSetupRange = "段取時間（分）は0から32767までの整数で入力してください";
inline constexpr const char* kCycleRange = "サイクル（秒）は0以上の数で入力してください";
inline constexpr const char* kTotalRange =
    "作業時間（分）は0から2147483647までの整数で入力してください";
inline constexpr const char* kWorkingRange =
    "稼働時間（分）は0から2147483647までの整数で入力してください";
inline constexpr const char* kFixedFlagRange = "固定区分は 0、1、2 のいずれかを入力してください";
inline constexpr const char* kWorkersRange =
    "必要人員は0から2147483647までの整数で入力してください";

// What an edit in the lot window may do: the texts each value field takes, and which texts are
// the user's. Typed text that is no value the lot can hold is refused when it is confirmed (Enter,
// a computation that takes it, a button, the close), and the field shows its text as the window
// last showed it, so nothing out of form reaches the entry or the save.
class LotRules {
 public:
  LotRules(const PlanData& data, LotFields& fields, Questions& questions)
      : data_(data), fields_(fields), questions_(questions) {}

  // Whether `text` is a value field `field` may hold (a date with a stored form, a time, a whole
  // number the entry holds, a finite cycle, a fixed flag 0..2); other fields take any text.
  static bool IsAcceptable(std::string_view field, const std::string& text);
  // Why the field's text cannot be taken, or nothing.
  std::optional<std::string> FieldProblem(std::string_view field) const;

  // The field's text is the window's own (filled or computed), not the user's.
  void NoteShown(std::string_view field);
  // Every value field's text is the window's own, as after a fill.
  void NoteAllShown();
  // Whether the field holds text the user typed: it differs from what the window last showed.
  bool Typed(std::string_view field) const;
  // Whether the field's text can be taken: typed text must be a value the lot can hold; if it
  // is not, tells why, shows the field's text as it was before and keeps the focus on it.
  bool Confirm(std::string_view field);
  // Confirm for every value field, stopping at the first refused.
  bool ConfirmAll();
  // Confirm for the fields a computation takes its values from.
  bool ConfirmInputs(std::initializer_list<const char*> fields);
  // The fields show what the window last showed in them.
  void RestoreShown(std::initializer_list<std::string> fields);
  // The value fields' texts, and noting as shown (not typed) those a handler changed since.
  std::vector<std::string> ValueTexts() const;
  void NoteShownSince(const std::vector<std::string>& before);

 private:
  const PlanData& data_;
  LotFields& fields_;
  Questions& questions_;  // why a typed text is refused
  // The value fields' texts as the window last showed them: filled, computed or confirmed.
  std::map<std::string, std::string, std::less<>> shown_;
};

// Whether entry e has members that stand for its whole lot (their quantity is the entry's),
// which a new quantity then goes to.
bool LotMembers(const PlanEntry& e);
// The entry's quantity, and with it that of every member standing for the whole lot.
void SetLotQuantity(PlanEntry& e, std::int32_t quantity);
// The entry the lot window shows: the first one with the number.
std::optional<PlanIdx> FirstEntryWithNumber(const PlanData& data, double orderNo);

}  // namespace velmora::lotdetail
