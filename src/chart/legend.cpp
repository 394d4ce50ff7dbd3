#include "chart/legend.h"

#include "chart/bar_layout.h"

namespace velmora::chart {

const std::vector<LegendEntry>& Legend() {
  using S = LegendEntry::Sample;
  static const std::vector<LegendEntry> entries = {
      {S::Bar, kLateColor, "納期遅れ: 終了日が納期より後"},
      {S::Bar, kOnTimeColor, "納期どおり: 終了日が納期の3日前から納期まで"},
      {S::Bar, kEarlyColor, "早め: 終了日が納期の3日以上前"},
      {S::Bar, kNoDueDateColor, "納期なし"},
      {S::Text, kConfirmedTextColor, "黒の文字: 確定した手配"},
      {S::Text, kCycleTextColor, "青の文字: 仮の手配 (サイクルタイム登録あり)"},
      {S::Text, kNoCycleTextColor, "赤の文字: 仮の手配 (サイクルタイム未登録)"},
      {S::Bold, kBlack, "太字: 保存していない変更"},
      {S::Sheet, kBlack, "見出しの●: 指示書を発行した手配"},
      {S::Progress, kOnTimeColor, "バーの左から濃くした部分: 実績の進み (受入数÷手配数)"},
      {S::EndFixed, kFixedMarkColor, "右端の黒い帯: 終了時間を固定した手配 (後ろへずらせない)"},
      {S::Locked, kFixedMarkColor, "黒い枠と右端の帯: 固定した手配 (動かせない)"},
      {S::Frame, kDropMarkColor, "橙の枠: ドロップすると確認される手配"},
      {S::Frame, kHighlightColor, "紫の枠: 一覧や検索で選んだ手配"},
      {S::Dashed, kOldPlaceColor, "緑の破線の枠: 自動調整の提案で動く手配の元の位置"},
      {S::Shade, 8421504, "灰色の網掛け: 稼働しない時間"},
      {S::Line, kBlue, "青の線: 土曜日"},
      {S::Line, kRed, "赤の線: 日曜日 (１日・３日表示では毎朝8時の日替わり)"},
      {S::Corner, kOverloadColor,
       "行見出しの赤い三角: 画面の期間に稼働時間を超えた日がある機械 (指すと最も重い日と割合)"},
      {S::Bar, kLoadUsedColor, "負荷 (チャートの下): 稼働時間の内に使った分"},
      {S::Bar, kOverloadColor,
       "負荷: 稼働時間を超えた分 (数字は使用÷稼働の割合、休は休日の使用分)"},
      {S::Line, kBlack, "負荷: 稼働時間 (階段状の線)"},
      {S::Bar, kLoadAfterDropColor, "負荷: ドラッグ中、ドロップした後の使用分 (薄い色)"},
  };
  return entries;
}

}  // namespace velmora::chart
