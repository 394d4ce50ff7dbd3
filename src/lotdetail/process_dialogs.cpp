#include "lotdetail/process_dialogs.h"

#include <algorithm>
#include <set>

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "db/recordset.h"
#include "lotdetail/plan_window.h"

namespace velmora::lotdetail {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAddPlanAliases[] = {
    {"Text", 1, "memberNo"},
    {"Command", 1, "cancel"},
    {"Command", 3, "add"},
};

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kShowPlanAliases[] = {
    {"Text", 1, "memberNo"},
    {"Command", 1, "done"},
};

constexpr const char* kSelectWithProcess = "SELECT 手配情報.*,工程内容マスタ.工程内容名 ";
constexpr const char* kFromOwnProcess =
    " FROM (手配情報 LEFT JOIN 工程内容マスタ ON "
    "手配情報.工程内容コード=工程内容マスタ.工程内容コード) ";
constexpr const char* kJoinItem =
    " LEFT JOIN 品目マスタ ON 手配情報.品名コード=品目マスタ.品名コード ";
constexpr const char* kWhereStepNo =
    " WHERE 工程分類コード<>'03' AND 工程分類コード<>'30' AND 手配番号=";
constexpr const char* kFromRoutedProcess =
    " FROM ((手配情報 LEFT JOIN 工程手順マスタ ON 手配情報.品名コード=工程手順マスタ.品名コード "
    "AND 手配情報.順序=工程手順マスタ.順序 AND "
    "手配情報.生産工場コード=工程手順マスタ.生産工場コード)  LEFT JOIN 工程内容マスタ ON "
    "工程手順マスタ.工程内容コード=工程内容マスタ.工程内容コード) ";
constexpr const char* kWhereNo = " WHERE 手配番号=";
constexpr const char* kWhereParentNo = " WHERE 上位手配番号=";
constexpr const char* kMemberSelect =
    "SELECT 手配情報.*,工程内容マスタ.工程内容名,品目マスタ.型番名 ";
constexpr int kMemberJoined = 2;  // the columns kMemberSelect adds to the arrangement's own

// The numeric value of a list word written back as a number, so that only digits reach the SQL.
std::string Number(std::string_view text) {
  return NumberText(Val(text));
}

// A line up to and including its first blank.
std::string FirstWord(const std::string& line) {
  const std::size_t blank = line.find(' ');
  return blank == std::string::npos ? line : line.substr(0, blank + 1);
}

// Chains in the database are linked by hand-kept numbers; a number met twice would walk forever.
class ChainGuard {
 public:
  bool FirstVisit(double orderNo) { return seen_.insert(orderNo).second; }

 private:
  std::set<double> seen_;
};

void ListControl(std::string_view control) {
  if (control != "NList")
    throw ControlError("コントロール " + std::string(control) + " はありません");
}

}  // namespace

void ChainList::Add(std::string line) {
  Lines.push_back(std::move(line));
  Ticked.push_back(false);
}

void ChainList::InsertTop(std::string line) {
  Lines.insert(Lines.begin(), std::move(line));
  Ticked.insert(Ticked.begin(), false);
}

void ChainList::ItemCheck(int item) {
  for (std::size_t b = 0; b < Ticked.size(); ++b) Ticked[b] = static_cast<int>(b) <= item;
}

int ChainList::TickedCount() const {
  return static_cast<int>(std::count(Ticked.begin(), Ticked.end(), true));
}

void ChainList::AppendTo(std::vector<std::pair<std::string, std::string>>& out,
                         const char* name) const {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    out.emplace_back(std::string(name) + "[" + std::to_string(i) + "]",
                     std::string(Ticked[i] ? "[x] " : "[ ] ") + Lines[i]);
  }
}

std::string StartingMemberLine(const PlanWindow& window) {
  if (!window.NList.empty()) return window.NList.front();
  if (!window.GList.empty()) return window.GList.front();
  return "";
}

std::string StartingMemberWord(const PlanWindow& window) {
  return FirstWord(StartingMemberLine(window));
}

std::shared_ptr<AddPlan> OpenAddPlan(editing::EditContext& ctx, PlanWindow& window) {
  if (window.NList.size() + window.GList.size() != 1) {
    ctx.questions.Tell({kCannotAddProcess});
    return nullptr;
  }
  auto dialog = std::make_shared<AddPlan>(ctx, window);
  dialog->memberNo = StartingMemberWord(window);
  if (ctx.connection == nullptr) {
    ctx.questions.Tell({kNoArrangementToAdd});
    return nullptr;
  }
  const std::string head =
      std::string(kSelectWithProcess) + kFromOwnProcess + kJoinItem + kWhereStepNo;
  db::Recordset rs;
  rs.Open(head + Number(dialog->memberNo), *ctx.connection);
  if (rs.Eof()) {
    rs.Close();
    ctx.questions.Tell({kNoArrangementToAdd});
    return nullptr;
  }
  ChainGuard guard;
  while (!rs.Eof() && guard.FirstVisit(rs.Fields("手配番号").Number())) {
    dialog->NList.Add(rs.Fields("手配番号").Text() + " " + Trim(rs.Fields("工程内容名").Text()));
    const std::string next = Number(rs.Fields("上位手配番号").Text());
    rs.Close();
    rs.Open(head + next, *ctx.connection);
  }
  rs.Close();
  dialog->NList.Ticked[0] = true;
  return dialog;
}

void AddPlan::AddSteps() {
  const std::optional<PlanIdx> found = window_.Entry();
  const int c = NList.TickedCount();
  if (c <= 1) {
    ctx_.questions.Tell({kNoProcessAdded});
    return;
  }
  if (!found || ctx_.connection == nullptr) {
    closed_ = true;
    return;
  }
  PlanEntry& p = ctx_.Edit(*found);
  p.ProcessName = kProcessMixed;
  const bool groupA = !window_.NList.empty();
  MemberGroup& group = groupA ? p.A : p.B;
  std::vector<std::string>& list = groupA ? window_.NList : window_.GList;
  for (int n = 1; n < c; ++n) {
    db::Recordset rs;
    rs.Open(std::string(kMemberSelect) + kFromOwnProcess + kJoinItem + kWhereStepNo +
                Number(FirstWord(NList.Lines[static_cast<std::size_t>(n)])),
            *ctx_.connection);
    if (!rs.Eof()) {
      // The plan's own member need not sit in slot 1; never write over a member it holds.
      int slot = n + 1;
      if (slot > MemberGroup::kSlots || group[slot].OrderNo != 0) slot = group.FirstFree();
      if (slot != 0) {
        Member& m = group.Slot(slot);
        m.ModelName = rs.Fields("型番名").Text();
        m.PlanNo = rs.Fields("生産計画番号").Int32();
        m.ItemCode = rs.Fields("品名コード").Text();
        m.Seq = rs.Fields("順序").Int16();
        m.ProcessName = rs.Fields("工程内容名").Text();
        m.OrderNo = rs.Fields("手配番号").Int32();
        m.ReceivedQty = rs.Fields("受入実績数").Int32();
        m.OrderQty = rs.Fields("手配数").Int32();
        list.push_back(MemberLine(m));
        // The row as read now is what the save may write over; one read before stays the
        // reference, so a change by another program since is still asked about.
        if (!ctx_.data.Stored.Arrangement(m.OrderNo)) {
          ctx_.data.Stored.SetArrangement(m.OrderNo,
                                          rs.RowFingerprint(0, rs.FieldCount() - kMemberJoined));
        }
      }
    }
    rs.Close();
  }
  ctx_.MarkChanged(p);
  closed_ = true;
}

bool AddPlan::Press(std::string_view control) {
  if (control == "add") {
    AddSteps();
  } else if (control == "cancel") {
    Cancel();
  } else {
    return false;
  }
  return true;
}

std::shared_ptr<ShowPlan> OpenShowPlan(editing::EditContext& ctx, const PlanWindow& window) {
  auto dialog = std::make_shared<ShowPlan>();
  dialog->memberNo = StartingMemberWord(window);
  if (ctx.connection == nullptr) return dialog;
  const std::string member = Number(dialog->memberNo);
  const auto line = [](db::Recordset& rs, const char* code) {
    return StoredMonthDay(rs.Fields("納期").Text()) + " " + rs.Fields("手配番号").Text() + " " +
           rs.Fields("品名コード").Text() + " " + rs.Fields(code).Text() + " " +
           Trim(rs.Fields("工程内容名").Text());
  };
  db::Recordset rs;
  ChainGuard after;
  rs.Open(std::string(kSelectWithProcess) + kFromRoutedProcess + kJoinItem + kWhereNo + member,
          *ctx.connection);
  while (!rs.Eof() && after.FirstVisit(rs.Fields("手配番号").Number())) {
    dialog->NList.Add(line(rs, "機械コード"));
    const std::string next = Number(rs.Fields("上位手配番号").Text());
    rs.Close();
    rs.Open(std::string(kSelectWithProcess) + kFromRoutedProcess + kJoinItem + kWhereStepNo + next,
            *ctx.connection);
  }
  rs.Close();
  ChainGuard before;
  before.FirstVisit(Val(member));
  rs.Open(
      std::string(kSelectWithProcess) + kFromRoutedProcess + kJoinItem + kWhereParentNo + member,
      *ctx.connection);
  while (!rs.Eof() && before.FirstVisit(rs.Fields("手配番号").Number())) {
    dialog->NList.InsertTop(line(rs, "ラインコード"));
    const std::string previous = Number(rs.Fields("手配番号").Text());
    rs.Close();
    rs.Open(
        std::string(kSelectWithProcess) + kFromOwnProcess + kJoinItem + kWhereParentNo + previous,
        *ctx.connection);
  }
  rs.Close();
  return dialog;
}

bool ShowPlan::Press(std::string_view control) {
  if (control != "done") return false;
  Done();
  return true;
}

void ChainDialog::Type(std::string_view control, std::string) {
  Unsupported(control);
}

void ChainDialog::Click(std::string_view control) {
  if (!Press(control) && control != "NList" && control != "memberNo") Unknown(control);
}

void ChainDialog::Select(std::string_view control, const std::vector<int>& lines) {
  ListControl(control);
  if (lines.size() != 1) Unsupported(control);
  Check(control, lines[0]);
}

void ChainDialog::Check(std::string_view control, int line) {
  ListControl(control);
  if (line < 0 || line >= static_cast<int>(NList.Lines.size())) Unsupported(control);
  NList.ItemCheck(line);
}

ControlState ChainDialog::State(std::string_view control) const {
  ControlState state;
  if (control == "memberNo") state.Text = memberNo;
  if (control == "NList") {
    state.Lines = NList.Lines;
    state.Ticked = NList.Ticked;
  }
  return state;
}

std::vector<std::pair<std::string, std::string>> ChainDialog::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  out.emplace_back("memberNo", memberNo);
  NList.AppendTo(out, "NList");
  for (auto& button : Buttons()) out.push_back(std::move(button));
  return out;
}

std::span<const ControlAlias> AddPlan::Aliases() const {
  return kAddPlanAliases;
}

std::span<const ControlAlias> ShowPlan::Aliases() const {
  return kShowPlanAliases;
}

}  // namespace velmora::lotdetail
