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

}  // namespace
}  // namespace velmora
