#include "automation/plan_csv.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/csv_writer.h"

namespace velmora {
namespace {

TEST(CsvWriter, QuotesOnlyWhatNeedsQuoting) {
  std::ostringstream out;
  CsvWriter(out).Record({"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "成形"});
  EXPECT_EQ("plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",,成形\r\n", out.str());
}

PlanData SmallWorld() {
  PlanData data;
  data.SetPeriod("2024/04/10", "2024/04/10");
  data.DayCount = 3;
  data.RowCount = 4;
  data.MachineRowCount = 2;
  data.DepartmentRowEnd = 2;
  data.RowCode = {"", "        ", "M01     ", "S00001", ""};
  data.RowCaption = {"", "", "M01 成形機", "S00001\r山田工業\r(株)", ""};
  data.RowTop = {0, 240, 840, 1440, 0};
  data.WorkCenterLimit = {0, 720, 1320, 1920, 480};
  data.SizeCalendars(4);
  data.WorkMinutes(2, 1) = 480;
  data.ShiftTimes(2, 1, 1) = DateTime::FromTime(8, 0, 0);
  data.ShiftTimes(2, 2, 1) = DateTime::FromTime(17, 0, 0);
  data.ResetPlanTable();
  PlanEntry& e = data.PlanTable.emplace_back();
  e.BarIndex = 2;
  e.OrderNo = 77;
  e.InUse = 1;
  e.MachineCode = "M01     ";
  e.StartDate = DateTime::FromDate(2024, 4, 10);
  e.StartTime = DateTime::FromTime(8, 30, 0);
  e.EndDate = DateTime::FromDate(2024, 4, 11);
  e.EndTime = DateTime::FromTime(9, 5, 7);
  e.CycleSeconds = 0.1f;
  e.ModelName = "ケース, 上";
  e.A.Slot(1).OrderNo = 77;
  e.A.Slot(2).OrderNo = -1;
  e.B.Slot(1).OrderNo = 80;
  return data;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(PlanCsv, OneLinePerEntryWithTextForms) {
  const PlanData data = SmallWorld();
  std::ostringstream out;
  WritePlansCsv(data, out);
  const auto lines = Lines(out.str());
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(
      0u, lines[0].find("index,BarIndex,OrderNo,MachineCode,DestinationCode,StartDate,StartTime"));
  EXPECT_NE(std::string::npos, lines[0].find(",OrderNoA,OrderNoB"));
  EXPECT_EQ(0u, lines[1].find("2,2,77,M01     ,,2024/04/10,08:30:00,2024/04/11,09:05:07,0,0.1,0,"));
  EXPECT_NE(std::string::npos, lines[1].find(",\"ケース, 上\","));
  EXPECT_NE(std::string::npos,
            lines[1].find(",,,,0,0,0,0,0,0,,1,0,0,77|-1,80"));  // empty dates, members
}

TEST(PlanCsv, RowsWithKindsAndEscapedBreaks) {
  const PlanData data = SmallWorld();
  std::ostringstream out;
  WriteRowsCsv(data, out);
  const auto lines = Lines(out.str());
  ASSERT_EQ(5u, lines.size());
  EXPECT_EQ("1,        ,,240,720,unplanned", lines[1]);
  EXPECT_EQ("2,M01     ,M01 成形機,840,1320,machine", lines[2]);
  EXPECT_EQ("3,S00001,S00001\\n山田工業\\n(株),1440,1920,subcontractor", lines[3]);
  EXPECT_EQ("4,,,0,480,filler", lines[4]);
}

TEST(PlanCsv, CalendarOfEveryMachineRowAndDay) {
  const PlanData data = SmallWorld();
  std::ostringstream out;
  WriteCalendarCsv(data, out);
  const auto lines = Lines(out.str());
  ASSERT_EQ(1u + 4u, lines.size());  // one machine row, days 0..3
  EXPECT_EQ(
      "2,2024/04/08,0,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00",
      lines[1]);
  EXPECT_EQ(
      "2,2024/04/09,480,08:00:00,17:00:00,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00,00:00:00",
      lines[2]);
}

TEST(PlanCsv, MembersOfBothGroupsWithoutTheFreeSlots) {
  PlanData data;
  data.ResetPlanTable();
  data.PlanTable[1].A.Slot(1).OrderNo = 5;  // entry 1 is no plan
  PlanEntry& e = data.PlanTable.emplace_back();
  Member& first = e.A.Slot(1);
  first.PlanNo = 12;
  first.OrderNo = 77;
  first.ItemCode = "BX1000-01A";
  first.Seq = 3;
  first.ProcessName = "成形";
  first.ModelName = "ケース, 上";
  first.OrderQty = 100;
  first.ReceivedQty = 40;
  e.A.Slot(2).ItemCode = "BX1000-01A";  // freed: its number is 0, the rest may linger
  Member& split = e.A.Slot(3);          // new, not saved yet
  split.OrderNo = -1;
  split.SourceOrderNo = 77;
  split.ItemCode = "BX1000-01A";
  split.OrderQty = 60;
  Member& b = e.B.Slot(1);
  b.OrderNo = 80;
  b.ItemCode = "BX1000-04B";
  b.ModelName = "=SUM(A1)";
  std::ostringstream out;
  WriteMembersCsv(data, out);
  EXPECT_EQ(
      "Entry,Group,Slot,OrderNo,SourceOrderNo,ItemCode,Seq,ProcessName,ModelName,PlanNo,"
      "OrderQty,ReceivedQty\r\n"
      "2,A,1,77,0,BX1000-01A,3,成形,\"ケース, 上\",12,100,40\r\n"
      "2,A,3,-1,77,BX1000-01A,0,,,0,60,0\r\n"
      "2,B,1,80,0,BX1000-04B,0,,'=SUM(A1),0,0,0\r\n",
      out.str());
}

}  // namespace
}  // namespace velmora
