#include "saving/slot_writer.h"

#include <cmath>
#include <functional>

#include "common/date_text.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/recordset.h"
#include "db/transaction.h"
#include "plandata/blank_codes.h"
#include "saving/numbering.h"
#include "saving/others_changes.h"
#include "saving/save_refused.h"
#include "saving/slot_statements.h"

namespace velmora::saving {
namespace {

using db::CursorType;
using db::LockType;
using db::Recordset;
using namespace slot_statements;

constexpr int kMaxAttempts = 1000;

// A stored date: "yyyymmdd", and "00000000" for no date as the loader reads it back.
std::string StoredDate(DateTime date) {
  return date.IsZero() ? "00000000" : FormatYmd(date);
}

// The forms of the reads about the arrangement above a slot's and about its cycle that find their
// keys through the arrangement's own row, so that they can be asked together with it.
const char* const kParentKind =
    "SELECT 手配区分 FROM 手配情報 WHERE 手配番号=(SELECT 上位手配番号 FROM 手配情報 WHERE "
    "手配番号=?)";
const char* const kParentFirstSupplyControl =
    "SELECT 支給制御区分 FROM 所要量情報 WHERE 上位手配番号=(SELECT 上位手配番号 FROM 手配情報 "
    "WHERE 手配番号=?)";
const char* const kCycleOfArrangement =
    "SELECT 品目別機械別ｻｲｸﾙﾏｽﾀ.* FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE 品名コード=(SELECT 品名コード "
    "FROM 手配情報 WHERE 手配番号=?) AND 順序=(SELECT 順序 FROM 手配情報 WHERE 手配番号=?) AND "
    "機械コード=?";

// Adds a row and stores it, retrying a failed write. The row goes in with one statement, undone
// whole when it fails while the rest of the save's transaction goes on, so a failed attempt
// leaves nothing behind. False after the last attempt failed.
bool AddWithRetry(db::Connection& connection, Recordset& rs, const std::function<void()>& fill) {
  for (int attempt = 0; attempt <= kMaxAttempts; ++attempt) {
    try {
      db::StatementAttempt statement(connection);
      rs.AddNew();
      fill();
      rs.Update();
      statement.Keep();
      return true;
    } catch (const DatabaseError&) {
    }
  }
  return false;
}

}  // namespace

bool SlotWriter::AddRow(Recordset& rs, const std::function<void()>& fill) {
  if (!holdAttempts_ || !ctx_.connection.Engine().HoldsWrites()) {
    return AddWithRetry(ctx_.connection, rs, fill);
  }
  // A failure shows with a later request and has the pass run again without holding attempts.
  rs.AddNew();
  fill();
  rs.Append(true);
  return true;
}

void SlotWriter::Defer(const char* message) {
  deferred_.emplace_back(message);
}

void SlotWriter::SetFirstSupplyControl(const db::Value& parent, const char* value,
                                       Recordset* read) {
  Recordset opened;
  Recordset& rs = read ? *read : opened;
  if (!read) rs.OpenFirstRow(kFirstSupplyControl, {parent}, ctx_.connection, LockType::Optimistic);
  if (rs.Eof()) return;
  rs.Fields("支給制御区分") = value;
  rs.Update();
}

void SlotWriter::LookUpPrice(const PlanEntry& entry, Recordset& r, std::int32_t q,
                             SlotReads& reads) {
  Recordset& price = reads.price;
  if (!reads.priceRead) {
    price.Open(kPrice,
               {entry.DestinationCode, r.Fields("品名コード").Text(), r.Fields("順序").Get()},
               ctx_.connection);
  }
  if (price.Eof()) {
    for (const char* column : {"単価", "金額", "消費税額", "合計金額"}) r.Fields(column) = 0.0;
    return;
  }
  const double unit = price.Fields("単価").Number();
  r.Fields("単価") = unit;
  r.Fields("金額") = unit * q;
  r.Fields("消費税額") = 0.0;
  r.Fields("合計金額") = unit * q;
  // Arrangement tables without a price class column keep no class.
  if ((entry.IsConfirmed() || priceFlag_) && r.FieldIndex("単価区分") >= 0) {
    r.Fields("単価区分") = price.Fields("単価区分").Get();
  }
}

void SlotWriter::Classify(PlanEntry& entry, Recordset& r, std::int32_t a, std::int32_t q,
                          SlotReads& reads) {
  const std::optional<std::string> supplierKind = masters_.SupplierKind(entry.DestinationCode);
  if (!supplierKind) return;
  const std::string& kind = *supplierKind;
  const db::Value parent = r.Fields("上位手配番号").Get();
  const db::Value own = a;
  if (kind == "1") {
    r.Fields("手配区分") = "3";
    r.Fields("社内社外区分") = "1";
    r.Fields("仕入区分") = " ";
    if (entry.MachineCode != kNoMachine && CharCount(entry.MachineCode) != 1) {
      r.Fields("手配確定区分") = "2";
      r.Fields("生産工場コード") = ctx_.data.PlantCode;
    } else {
      r.Fields("手配確定区分") = "1";
      r.Fields("生産工場コード") = static_cast<std::int64_t>(Val(Left(entry.DestinationCode, 2)));
    }
    r.Fields("スケジューラ固定区分") = entry.FixedFlag;
    for (const char* column : {"単価", "金額", "消費税額", "合計金額"}) r.Fields(column) = 0.0;
    SetFirstSupplyControl(own, "3", reads.together ? &reads.ownFirstRequirement : nullptr);
    Recordset& parentRow = reads.parentKind;
    if (!reads.together) parentRow.Open(kKindOf, {parent}, ctx_.connection);
    const std::string p = parentRow.Eof() ? "" : parentRow.Fields("手配区分").Text();
    SetFirstSupplyControl(parent, p != "3" ? "1" : "3",
                          reads.together ? &reads.parentFirstRequirement : nullptr);
  } else if (kind == "2") {
    const bool otherDestination = r.Fields("指示先コード").Text() != entry.DestinationCode;
    if (r.Fields("手配区分").Text() == "3" || otherDestination) priceFlag_ = true;
    if (r.Fields("単価").Number() == 0 && otherDestination) LookUpPrice(entry, r, q, reads);
    r.Fields("手配区分") = "2";
    r.Fields("社内社外区分") = "2";
    r.Fields("仕入区分") = "2";
    r.Fields("手配確定区分") = "2";
    r.Fields("生産工場コード") = ctx_.data.PlantCode;
    r.Fields("スケジューラ固定区分") = entry.FixedFlag;
    Recordset& child = reads.childKind;
    if (!reads.together) child.Open(kChildKind, {own}, ctx_.connection);
    const std::string c = child.Eof() ? "" : child.Fields("手配区分").Text();
    SetFirstSupplyControl(own, c != "3" ? "3" : "1",
                          reads.together ? &reads.ownFirstRequirement : nullptr);
    SetFirstSupplyControl(parent, "3", reads.together ? &reads.parentFirstRequirement : nullptr);
  }
}

void SlotWriter::RequirementQuantities(Recordset& r, std::int32_t owner, std::int32_t q,
                                       SlotReads& reads) {
  Recordset& rows = reads.requirements;
  if (!reads.together) {
    rows.Open(kRequirements, {owner}, ctx_.connection, CursorType::Keyset, LockType::Optimistic);
  }
  for (; !rows.Eof(); rows.MoveNext()) {
    const double numerator = rows.Fields("原単位分子").Number();
    const double denominator = rows.Fields("原単位分母").Number();
    const double scaled = denominator != 0 ? q * 1000.0 * numerator / denominator + 0.5
                                           : q * 1000.0 * numerator + 0.5;
    rows.Fields("必要数") = std::trunc(scaled) / 1000;
    rows.Fields("確定区分") = r.Fields("手配確定区分").Get();
    rows.Fields("生産工場コード") = r.Fields("生産工場コード").Get();
    if (q == 0) rows.Fields("削除フラグ") = "1";
    rows.Update();
  }
}

void SlotWriter::CycleMaster(const PlanEntry& entry, Recordset& r, SlotReads& reads) {
  if (!KeepsCycle(entry, entry.MachineCode)) return;
  Recordset& cycle = reads.cycle;
  if (!reads.together) {
    cycle.Open(kCycle, {r.Fields("品名コード").Text(), r.Fields("順序").Get(), entry.MachineCode},
               ctx_.connection, CursorType::Keyset, LockType::Optimistic);
  }
  // The master holds seconds per shot, as the load reads it back: a new row too. A new row takes
  // the key it was looked up by, so the next save finds it instead of adding it again.
  const float shots = entry.Cavities != 0 ? static_cast<float>(entry.Cavities) : 1.0f;
  if (cycle.Eof()) {
    const bool stored = AddRow(cycle, [&] {
      cycle.Fields("削除フラグ") = "0";
      cycle.Fields("品名コード") = r.Fields("品名コード").Get();
      cycle.Fields("順序") = r.Fields("順序").Get();
      cycle.Fields("機械コード") = entry.MachineCode;
      cycle.Fields("サイクル") = static_cast<double>(entry.CycleSeconds * shots);
    });
    if (!stored) Defer(kCycleRowFailed);
    return;
  }
  cycle.Fields("削除フラグ") = "0";
  cycle.Fields("サイクル") = static_cast<double>(entry.CycleSeconds * shots);
  cycle.Update();
}

namespace {

// The first of the entry's values that has no stored form, or nothing: the last guard before a
// value the loader cannot read back, or reads as something else, reaches the table.
std::optional<std::string> OutOfForm(const PlanEntry& e) {
  if (!IsStorableDate(e.StartDate) || !IsStorableDate(e.EndDate)) return "開始日・納期";
  if (!e.InitialDueDate.IsZero() && !IsStorableDate(e.InitialDueDate)) return "初回納期";
  if (!std::isfinite(e.CycleSeconds) || e.CycleSeconds < 0) return "サイクル";
  if (e.DurationMinutes < 0) return "作業時間";
  if (e.SetupMinutes < 0) return "段取時間";
  if (e.Workers < 0) return "必要人員";
  if (!e.HasStorableFixedFlag()) return "固定区分";
  for (const MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      if ((*group)[k].OrderQty < 0) return "手配数";
    }
  }
  return std::nullopt;
}

}  // namespace

void SlotWriter::WriteEntry(PlanEntry& entry) {
  if (const auto field = OutOfForm(entry)) {
    throw SaveRefused("手配番号 " + std::to_string(entry.OrderNo) + " の" + *field +
                      "が保存できる値ではありません。ロット詳細情報で直してください");
  }
  SlotMemory memory;
  for (MemberGroup* group : {&entry.A, &entry.B}) {
    memory.previousSource = 0;  // slots 1 and 21 have no previous source; the rest carries on
    for (int k = 1; k <= MemberGroup::kSlots; ++k) {
      if ((*group)[k].OrderNo == 0) {
        // An empty slot still passes its (empty) source number on and resets the chain.
        Member empty = (*group)[k];
        Write(entry, empty, memory);
        continue;
      }
      Write(entry, group->Slot(k), memory);
    }
  }
}

void SlotWriter::Write(PlanEntry& entry, Member& slot, SlotMemory& memory) {
  const std::int32_t a = slot.OrderNo;
  const std::int32_t s = slot.SourceOrderNo;
  const std::int32_t q = slot.OrderQty;
  const std::int32_t previousSource = memory.previousSource;
  memory.previousSource = s;
  if (a == 0) {
    memory.previousNew = 0;
    memory.previousNewParent = 0;
    return;
  }

  if (s != 0) {
    WriteNew(entry, slot, memory, previousSource);
    return;
  }
  SlotReads reads;
  Recordset& r = reads.row;
  if (ctx_.connection.Engine().HoldsWrites()) {
    ReadTogether(entry, a, reads);
  } else {
    // Where each read costs no exchange, the classification reads only what its kind needs, by
    // the keys the row gives, instead of everything any kind might need through subqueries.
    r.Open(kArrangement, {a}, ctx_.connection, CursorType::Keyset, LockType::Optimistic);
  }
  if (ctx_.checkOthers) CheckUnchanged(r, a);
  if (r.Eof()) return;  // the arrangement is gone from the database: nothing to update

  const Destination destination = ChosenDestination(entry);
  entry.DestinationCode = destination.code;
  entry.MachineCode = destination.machine;
  Classify(entry, r, a, q, reads);
  RequirementQuantities(r, a, q, reads);
  CycleMaster(entry, r, reads);
  WriteColumns(entry, slot, r);

  r.Update();
  written_.push_back(a);
  if (q != 0) priceFlag_ = false;
}

void SlotWriter::CheckUnchanged(const Recordset& r, std::int32_t a) const {
  // The row must be as this copy read it (or as the user agreed to write over it).
  if (const auto expected = ExpectedArrangement(ctx_.data, accepted_, a)) {
    const std::optional<std::uint64_t> now =
        r.Eof() ? std::nullopt : std::optional<std::uint64_t>(r.RowFingerprint(0, r.FieldCount()));
    if (now != *expected) throw OthersChangedDuringSave{};
  }
}

void SlotWriter::ReadTogether(const PlanEntry& entry, std::int32_t a, SlotReads& reads) {
  // The parent's rows are found through the arrangement's own row: for a slot that keeps its
  // arrangement, the stored row's parent is the one the classification writes under.
  const auto optimistic = LockType::Optimistic;
  std::vector<db::BatchRead> batch{
      {kArrangement, {a}, &reads.row, optimistic},
      {kFirstSupplyControl, {a}, &reads.ownFirstRequirement, optimistic, true},
      {kChildKind, {a}, &reads.childKind},
      {kParentKind, {a}, &reads.parentKind},
      {kParentFirstSupplyControl, {a}, &reads.parentFirstRequirement, optimistic, true},
      {kRequirements, {a}, &reads.requirements, optimistic},
  };
  const std::string machine = ChosenDestination(entry).machine;
  if (KeepsCycle(entry, machine)) {
    batch.push_back({kCycleOfArrangement, {a, a, machine}, &reads.cycle, optimistic});
  }
  Recordset::OpenTogether(batch, ctx_.connection);
  reads.together = true;
}

void SlotWriter::ReadMasters(const std::vector<int>& entries) {
  if (!ctx_.connection.Engine().HoldsWrites()) return;  // a file's reads cost no exchange
  const PlanData& data = ctx_.data;
  std::vector<std::string> codes;
  for (const int i : entries)
    codes.push_back(data.PlanTable[static_cast<std::size_t>(i)].MachineCode);
  masters_.ReadMachines(codes);
  codes.clear();
  for (const int i : entries) {
    codes.push_back(ChosenDestination(data.PlanTable[static_cast<std::size_t>(i)]).code);
  }
  masters_.ReadSuppliers(codes);
}

Destination SlotWriter::ChosenDestination(const PlanEntry& entry) {
  Destination chosen{entry.DestinationCode, entry.MachineCode};
  // Destination from the machine, or the plant's first section when the machine is unknown.
  if (!IsBlank(chosen.machine) || IsBlank(chosen.code)) {
    const std::optional<std::string> destination = masters_.MachineDestination(chosen.machine);
    if (!destination) {
      if (auto section = masters_.FirstSection(std::to_string(ctx_.data.PlantCode)))
        chosen.code = *section;
    } else if (!IsBlank(*destination)) {
      chosen.code = *destination;
    }
  }
  // A department given by its one digit: its first section, no machine.
  if (CharCount(chosen.code) == 1 && chosen.code[0] >= '0' && chosen.code[0] <= '9') {
    if (auto section = masters_.FirstSection(chosen.code)) {
      chosen.code = *section;
      chosen.machine = kNoMachine;
    }
  }
  return chosen;
}

void SlotWriter::WriteColumns(const PlanEntry& entry, const Member& slot, Recordset& r) {
  const std::int32_t q = slot.OrderQty;
  r.Fields("機械コード") = CharCount(entry.MachineCode) == 1 ? kNoMachine : entry.MachineCode;
  r.Fields("指示先コード") = entry.DestinationCode;
  r.Fields("手配数") = q;
  if (!slot.ItemCode.empty()) r.Fields("品名コード") = slot.ItemCode;
  if (q == 0) r.Fields("削除フラグ") = "1";

  r.Fields("開始日") = StoredDate(entry.StartDate);
  r.Fields("GNT開始時刻") = FormatHms(entry.StartTime);
  r.Fields("納期") = StoredDate(entry.EndDate);
  r.Fields("GNT終了時刻") = FormatHms(entry.EndTime);
  r.Fields("GNT初期納期") = StoredDate(entry.InitialDueDate);
  r.Fields("GNT所要時間（分）") = entry.DurationMinutes;
  r.Fields("段取時間") = entry.SetupMinutes;
  // The fixed flag the lot window sets is the plan's own, whatever its destination's kind.
  r.Fields("スケジューラ固定区分") = entry.FixedFlag;
  // The workers the lot window shows and takes are the arrangement's own.
  r.Fields("必要人員") = entry.Workers;
  if (entry.Hidden == 1) StampCompletion(r);
}

void SlotWriter::StampCompletion(Recordset& r) {
  const std::string terminal = Right(ctx_.userName, 3);
  r.Fields("完納区分") = "2";
  r.Fields("更新日") = FormatYmd(ctx_.now.DatePart());
  r.Fields("更新時刻") = FormatHms(ctx_.now.TimePart());
  r.Fields("更新プログラム") = terminal;
  if (Val(terminal) != 0) r.Fields("更新端末番号") = static_cast<std::int64_t>(Val(terminal));
}

}  // namespace velmora::saving
