// The order relations of an arrangement, the item-code look-up, the search with its chooser and
// the discard question.
#include <gtest/gtest.h>

#include <algorithm>

#include "../editing/editing_world.h"
#include "db/recordset.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/order_relations.h"
#include "lotdetail/plan_change.h"
#include "lotdetail/plan_search.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

const DateTime kToday = DateTime::FromDate(2024, 12, 5);

TEST(OrderRelations, LinesAlignNumbersAndLeaveMissingColumnsOut) {
  TestDb db;
  db.Insert("得意先マスタ", {{"得意先コード", "C01"}, {"得意先略名", "東海自動車"}});
  db.Insert("品目マスタ", {{"品名コード", "P-1"}, {"品名略称", "ドアトリム"}});
  db.Insert("納期別受注情報", {{"受注番号", 5001},
                               {"得意先コード", "C01"},
                               {"品名コード", "P-1"},
                               {"納期", "20240420"},
                               {"受注数量", 500},
                               {"出荷数量", 120}});
  db.Insert("納期別所要計画情報", {{"所要計画No", 7001},
                                   {"得意先コード", "C02"},  // no such customer
                                   {"品名コード", "P-1"},
                                   {"納期", "20240425"},
                                   {"所要計画数量", 12345678}});
  db.Insert("手配受注関係情報", {{"手配番号", 2}, {"番号", 5001}, {"受注データ区分", "2"}});
  db.Insert("手配受注関係情報", {{"手配番号", 2}, {"番号", 7001}, {"受注データ区分", "1"}});
  db.Insert("手配受注関係情報", {{"手配番号", 2}, {"番号", 5999}, {"受注データ区分", "2"}});
  db.Insert("手配受注関係情報", {{"手配番号", 3}, {"番号", 5001}, {"受注データ区分", "2"}});

  EXPECT_EQ(lotdetail::ReadOrderRelations(db.connection(), 2),
            (std::vector<std::string>{
                "受注         5001 P-1ドアトリムC01東海自動車04/20     380",
                "所要計画     7001 P-1ドアトリムC0204/2512345678",
                "受注         5999         ",
            }));
  EXPECT_TRUE(lotdetail::ReadOrderRelations(db.connection(), 4).empty());
}

// The query itself: each relation row, known or not, with the customer and item of its own kind
// joined in and the other kind's columns left null.
TEST(OrderRelations, TheQueryJoinsTheMastersOfEachKind) {
  TestDb db;
  db.Insert("得意先マスタ", {{"得意先コード", "C01"}, {"得意先略名", "東海自動車"}});
  db.Insert("品目マスタ", {{"品名コード", "P-1"}, {"品名略称", "ドアトリム"}});
  db.Insert("納期別受注情報", {{"受注番号", 5001},
                               {"得意先コード", "C01"},
                               {"品名コード", "P-1"},
                               {"納期", "20240420"},
                               {"受注数量", 500},
                               {"出荷数量", 120}});
  db.Insert("納期別所要計画情報", {{"所要計画No", 7001},
                                   {"得意先コード", "C01"},
                                   {"品名コード", "P-1"},
                                   {"納期", "20240425"},
                                   {"所要計画数量", 800}});
  db.Insert("手配受注関係情報", {{"手配番号", 2}, {"番号", 5001}, {"受注データ区分", "2"}});
  db.Insert("手配受注関係情報", {{"手配番号", 2}, {"番号", 7001}, {"受注データ区分", "1"}});
  db.Insert("手配受注関係情報",
            {{"手配番号", 2}, {"番号", 5999}, {"受注データ区分", "2"}});  // order gone

  db::Recordset rs;
  rs.Open(lotdetail::OrderRelationsSql(2), db.connection(), db::CursorType::Keyset,
          db::LockType::ReadOnly);
  ASSERT_FALSE(rs.Eof());
  EXPECT_EQ("2", rs.Fields("受注データ区分").Text());
  EXPECT_EQ("東海自動車", rs.Fields("受注得意先名").Text());
  EXPECT_EQ("ドアトリム", rs.Fields("受注品名").Text());
  EXPECT_EQ("20240420", rs.Fields("受注納期").Text());
  EXPECT_EQ(380, rs.Fields("受注数量").Int32() - rs.Fields("出荷数量").Int32());
  EXPECT_TRUE(rs.Fields("所要計画数量").IsNull());
  rs.MoveNext();
  EXPECT_EQ("1", rs.Fields("受注データ区分").Text());
  EXPECT_EQ("東海自動車", rs.Fields("所要得意先名").Text());
  EXPECT_EQ(800, rs.Fields("所要計画数量").Int32());
  EXPECT_TRUE(rs.Fields("受注得意先名").IsNull());
  rs.MoveNext();
  EXPECT_EQ("5999", rs.Fields("番号").Text());
  EXPECT_TRUE(rs.Fields("受注品名コード").IsNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
}

TEST(OrderRelations, TheWindowListsThemAndLooksUpATypedItemCode) {
  TestDb db;
  db.Insert("手配受注関係情報", {{"手配番号", 1001}, {"番号", 5999}, {"受注データ区分", "1"}});
  db.Insert("品目マスタ",
            {{"品名コード", "P'2"}, {"型番名", "新型"}, {"型番名仕様ＡＮＫ", "ｼﾝｶﾞﾀ"}});
  db.Insert("品目マスタ", {{"品名コード", "199913"}, {"型番名", "汎用"}});
  EditingWorld w(&db.connection());
  const int lot = w.Add("M01     ", "2024/12/03 08:00:00", 120);
  w.Plan(lot).OrderNo = 1001;
  auto win = lotdetail::OpenPlanWindow(w.editor.Context(), PlanIdx{lot}, kToday);
  EXPECT_EQ(win->JList, std::vector<std::string>{"所要計画     5999         "});

  win->Type("itemCode", "199913");
  win->Click("orderQty");
  EXPECT_EQ(win->modelName, "") << "a generic code is not looked up";
  win->Type("itemCode", "P'2");  // a quote stays data
  win->Click("orderQty");
  EXPECT_EQ(win->modelName + "/" + win->process, "新型/ｼﾝｶﾞﾀ");
}

struct SearchWorld : EditingWorld {
  SearchWorld() {
    const char* items[][2] = {
        {"EMK-100", "エンブレム HK1"}, {"EMK-200", "エンブレム HK2"}, {"OCH-100", "カバー HK1"}};
    int n = 0;
    for (const auto& [item, model] : items) {
      const int i = Add("M01     ", "2024/12/03 08:00:00", 60);
      Plan(i).OrderNo = 5000 + ++n;
      Plan(i).PlanItemCode = item;
      Plan(i).ModelName = model;
      Plan(i).ProcessName = "成形  ";
    }
  }
  void Search(std::string code, std::string name) {
    boxes = {std::move(code), std::move(name)};
    lotdetail::ComKensaku_Click(
        boxes, data, test::TestQuestions(), [this](BarIdx bar) { opened.push_back(bar.value); },
        [this](std::shared_ptr<lotdetail::SelectPlan> c) { chooser = std::move(c); });
  }
  lotdetail::SearchBoxes boxes;
  std::vector<int> opened;
  std::shared_ptr<lotdetail::SelectPlan> chooser;
};

TEST(Search, TypedTextsAreFoldedAndMatchedAsSubstrings) {
  struct Case {
    const char* code;
    const char* name;
    const char* foldedCode;
    std::vector<int> hits;
  } cases[] = {
      {"emk", "", "EMK", {2, 3}}, {"ＥＭＫ－１", "", "EMK-1", {2}}, {"100", "", "100", {2, 4}},
      {"", "hk1", "", {2, 4}},    {"EMK", "HK1", "EMK", {2}},       {"emk-300", "", "EMK-300", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code + std::string("/") + c.name);
    SearchWorld w;
    w.Search(c.code, c.name);
    EXPECT_EQ(w.boxes.KCode, c.foldedCode);
    std::vector<int> hits;
    for (PlanIdx p : lotdetail::FindPlans(w.data, w.boxes.KCode, w.boxes.KName))
      hits.push_back(p.value);
    EXPECT_EQ(hits, c.hits);
  }
}

TEST(Search, MessagesOneHitOpensSeveralOfferTheChooser) {
  SearchWorld w;
  ScriptedMessages messages;
  w.Search("", "");
  w.Search("XYZ", "");
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{lotdetail::kEnterSearchTerms, lotdetail::kNoPlanFound}));
  w.Search("och", "");
  EXPECT_EQ(w.opened, std::vector<int>{4});
  EXPECT_EQ(w.chooser, nullptr);

  w.Plan(3).Hidden = 1;
  w.Search("emk", "");
  ASSERT_NE(w.chooser, nullptr);
  EXPECT_EQ(w.chooser->NList, (std::vector<std::string>{
                                  "5001 12/03 M01      成形 エンブレム HK1 100",
                                  "5002 12/03 M01      成形 エンブレム HK2 100削除済",
                              }));
  w.chooser->DblClick("NList", 1);
  EXPECT_TRUE(w.chooser->Closed());
  EXPECT_EQ(w.opened, (std::vector<int>{4, 3}));
}

TEST(Search, TheChooserOpensNothingWithoutAChoice) {
  for (bool press : {true, false}) {
    SearchWorld w;
    w.Search("emk", "");
    ASSERT_NE(w.chooser, nullptr);
    if (press) {
      w.chooser->Click("choose");
    } else {
      w.chooser->Close();
    }
    EXPECT_EQ(w.chooser->SelectedPlan, 0);
    EXPECT_TRUE(w.opened.empty());
  }
  SearchWorld w;
  w.Search("emk", "");
  w.chooser->Select("NList", {0});
  w.chooser->Click("choose");
  EXPECT_EQ(w.chooser->SelectedPlan, 1);
  EXPECT_EQ(w.opened, std::vector<int>{2});
  EXPECT_THROW(w.chooser->Select("NList", {5}), ControlError);
}

TEST(Discard, AsksOnlyWhenThereIsSomethingToLose) {
  EditingWorld w;
  ScriptedMessages messages;
  EXPECT_TRUE(lotdetail::ConfirmDiscard(w.data, test::TestQuestions()));
  EXPECT_TRUE(messages.texts().empty());

  w.data.Edits.MarkEdited();
  EXPECT_FALSE(lotdetail::ConfirmDiscard(w.data, test::TestQuestions())) << "No is the default";
  messages.Answer(Answer::Yes);
  EXPECT_TRUE(lotdetail::ConfirmDiscard(w.data, test::TestQuestions()));
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{lotdetail::kDiscardQuestion, lotdetail::kDiscardQuestion}));

  w.data.SetCommandLine("1");  // nothing can be saved: nothing to lose
  EXPECT_TRUE(lotdetail::ConfirmDiscard(w.data, test::TestQuestions()));
  EXPECT_EQ(messages.texts().size(), 2u);
}

// The parents of a component for a plan change: each with a live routing row for one of the two
// steps, the stock of that step where there is one.
TEST(PlanChangeParents, ParentItemsSharingAComponentWithStock) {
  TestDb db;
  const std::string component = "CMP-01";
  for (const char* parent : {"PA-1", "PA-2", "PA-3"}) {
    db.Insert("構成マスタ",
              {{"上位品名コード", parent}, {"下位品名コード", component}, {"生産工場コード", 3}});
    db.Insert("品目マスタ", {{"品名コード", parent}, {"型番名", std::string("型") + parent}});
  }
  for (int seq : {1, 2}) {
    db.Insert("工程手順マスタ", {{"品名コード", "PA-1"}, {"順序", seq}, {"生産工場コード", 3}});
    db.Insert("工程手順マスタ", {{"品名コード", "PA-2"}, {"順序", seq}, {"生産工場コード", 3}});
  }
  db.Insert("工程手順マスタ",
            {{"品名コード", "PA-3"}, {"順序", 1}, {"生産工場コード", 3}, {"削除フラグ", "1"}});
  db.Insert("在庫情報",
            {{"品名コード", "PA-1"}, {"順序", 2}, {"生産工場ｺｰﾄﾞ", 3}, {"現在庫数", 40}});

  const std::string sql = lotdetail::ParentItemsSql(component, 3, 1, 2);
  db::Recordset rs;
  rs.Open(sql, db.connection(), db::CursorType::Keyset, db::LockType::ReadOnly);
  std::vector<std::string> lines;
  for (; !rs.Eof(); rs.MoveNext()) {
    lines.push_back(rs.Fields("上位品名コード").Text() + "/" + rs.Fields("型番名").Text() + "/" +
                    rs.Fields("現在庫数").Text());
  }
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(
      (std::vector<std::string>{"PA-1/型PA-1/", "PA-1/型PA-1/40", "PA-2/型PA-2/", "PA-2/型PA-2/"}),
      lines);
}

}  // namespace
}  // namespace velmora::test
