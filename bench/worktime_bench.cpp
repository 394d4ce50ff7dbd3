#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "common/date_text.h"
#include "plandata/plan_data.h"
#include "plandata/plan_end_time.h"
#include "worktime/production_minutes.h"

namespace {

using velmora::DateTime;

constexpr int kMachines = 100;

// 100 machines on two shifts (08:00-17:00, 20:00-05:00) every day of a period of `days` days,
// and one plan on the middle machine.
velmora::PlanData TwoShiftPlant(int days) {
  velmora::PlanData data;
  data.SetPeriod("2024/04/10", "2024/04/10");
  data.DayCount = static_cast<std::int16_t>(days + 2);
  data.RowCount = kMachines + 1;
  data.RowCode = {"", "        "};
  for (int m = 1; m <= kMachines; ++m) {
    char code[16];
    std::snprintf(code, sizeof code, "M%03d    ", m);
    data.RowCode.emplace_back(code);
  }
  data.SizeCalendars(data.RowCount);
  const DateTime shifts[] = {DateTime::FromTime(8, 0, 0), DateTime::FromTime(17, 0, 0),
                             DateTime::FromTime(20, 0, 0), DateTime::FromTime(5, 0, 0)};
  for (int r = 2; r <= data.RowCount; ++r) {
    for (int d = 0; d <= data.DayCount; ++d) {
      for (int s = 1; s <= 4; ++s) data.ShiftTimes(r, s, d) = shifts[s - 1];
    }
  }
  data.ResetPlanTable();
  data.PlanTable.emplace_back();
  data.PlanTable.back().MachineCode = data.RowCode[kMachines / 2 + 1];
  return data;
}

// A job of ten two-shift days (1080 minutes a day) starting in the first week of the period.
void BM_ComputeEndTime_TenDayJob(benchmark::State& state) {
  const velmora::PlanData data = TwoShiftPlant(static_cast<int>(state.range(0)));
  const DateTime start = *velmora::ParseSlashDate("2024/04/12") + DateTime::FromTime(10, 30, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        velmora::ComputeEndTime(data, start, 10 * 1080, velmora::PlanIdx(data.PlanCount())));
  }
}
BENCHMARK(BM_ComputeEndTime_TenDayJob)->Arg(90)->Arg(3650);

void BM_ProductionMinutes(benchmark::State& state) {
  float cycle = 12.5f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(velmora::ProductionMinutes(30, cycle, 1000));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ProductionMinutes);

}  // namespace

BENCHMARK_MAIN();
