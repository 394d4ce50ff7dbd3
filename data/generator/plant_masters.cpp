#include "generator/plant_masters.h"

#include <algorithm>
#include <map>

#include "common/format.h"

namespace velmora::demo {
namespace {

struct DepartmentPlan {
  const char* name;
  const char* shortName;
  std::vector<const char*> sections;
  bool deleted;
};

// The head office is department 1; the plant takes the configured code; the others take the
// free codes from 2 upward in this order (the first of them is a second plant).
const DepartmentPlan kHeadOffice{"本社", "本社", {"総務課", "経理課", "生産管理課"}, false};
const DepartmentPlan kThePlant{
    "滝沢工場", "滝沢", {"成形課", "塗装課", "印刷課", "組立課", "品質保証課"}, false};
const std::vector<DepartmentPlan> kOtherDepartments = {
    {"本庄工場", "本庄", {"成形課", "組立課"}, false},
    {"品質保証部", "品証", {"検査課", "試験課"}, false},
    {"物流センター", "物流", {"出荷課"}, false},
    {"技術開発部", "技術", {"金型課", "試作課"}, false},
    {"旧横田工場", "横田", {"成形課"}, true},
};

struct CategoryPlan {
  Category category;
  char codeLetter;
  std::vector<const char*> machineKinds;
  std::vector<ProcessContent> contents;
};

const std::vector<CategoryPlan>& CategoryPlans() {
  static const std::vector<CategoryPlan> plans = {
      {{"03", "成形", false, 40},
       'M',
       {},
       {{"0301", "射出成形", "03"}, {"0302", "インサート成形", "03"}, {"0303", "二色成形", "03"}}},
      {{"10", "塗装", false, 22},
       'C',
       {"スプレー塗装ブース", "UV塗装ライン", "自動塗装ロボット"},
       {{"1001", "スプレー塗装", "10"}, {"1002", "UV塗装", "10"}}},
      // Plating was given up; the category stays in the master, marked deleted.
      {{"15", "メッキ", true, 0}, 'X', {}, {{"1501", "無電解メッキ", "15"}}},
      {{"20", "印刷", false, 15},
       'P',
       {"パッド印刷機", "シルク印刷機", "ホットスタンプ機"},
       {{"2001", "パッド印刷", "20"},
        {"2002", "シルク印刷", "20"},
        {"2003", "ホットスタンプ", "20"}}},
      {{"30", "組立", false, 23},
       'A',
       {"組立ライン", "超音波溶着機", "検査梱包ライン"},
       {{"3001", "組立", "30"}, {"3002", "超音波溶着", "30"}, {"3003", "検査梱包", "30"}}},
  };
  return plans;
}

const char* const kTonnages[] = {"100T", "180T", "220T", "350T", "450T", "650T", "850T"};

// Machines per live category: shares of the total by largest remainder, at least one each.
std::vector<int> SplitMachines(int total) {
  std::vector<int> counts;
  std::vector<std::pair<int, int>> remainders;  // (remainder, index)
  int assigned = 0;
  for (const CategoryPlan& plan : CategoryPlans()) {
    const int share = plan.category.machineShare;
    const int count = plan.category.deleted ? 0 : std::max(1, total * share / 100);
    remainders.emplace_back(plan.category.deleted ? -1 : total * share % 100,
                            static_cast<int>(counts.size()));
    counts.push_back(count);
    assigned += count;
  }
  std::stable_sort(remainders.begin(), remainders.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; assigned < total; i = (i + 1) % remainders.size()) {
    if (remainders[i].first < 0) continue;
    ++counts[static_cast<std::size_t>(remainders[i].second)];
    ++assigned;
  }
  // Rounding up small shares may overshoot: take the surplus from the largest category.
  while (assigned > total) {
    auto largest = std::max_element(counts.begin(), counts.end());
    --*largest;
    --assigned;
  }
  return counts;
}

std::string MachineName(const CategoryPlan& plan, int index, int count,
                        std::map<std::string, int>& numbers) {
  std::string kind;
  if (plan.category.code == "03") {
    kind = std::string(kTonnages[std::min(6, index * 7 / std::max(1, count))]) + "成形機";
  } else {
    kind = plan.machineKinds[static_cast<std::size_t>(index) % plan.machineKinds.size()];
  }
  return kind + " " + std::to_string(++numbers[kind]) + "号";
}

ShiftPattern PatternFor(const std::string& category, int index) {
  if (category == "03") {
    static const ShiftPattern molding[] = {ShiftPattern::kDayAndNight,
                                           ShiftPattern::kDayAndNightTwoRows,
                                           ShiftPattern::kDayAndEvening};
    return molding[index % 3];
  }
  if (category == "10") return index % 2 == 0 ? ShiftPattern::kDayAndEvening : ShiftPattern::kDay;
  if (category == "20") return index % 2 == 0 ? ShiftPattern::kDay : ShiftPattern::kLateDay;
  return index % 3 == 2 ? ShiftPattern::kLateDay : ShiftPattern::kDay;
}

void AddDepartment(Plant& plant, int code, const DepartmentPlan& plan) {
  plant.departments.push_back({code, 0, plan.name, plan.deleted});
  int section = 0;
  for (const char* name : plan.sections)
    plant.departments.push_back({code, ++section, name, plan.deleted});
}

void AddSections(Plant& plant, int code, const DepartmentPlan& plan,
                 const std::vector<std::string>& categories) {
  for (std::size_t i = 0; i < plan.sections.size(); ++i) {
    const std::string sectionCode =
        PadCode(FormatNumber(code, "00") + FormatNumber(static_cast<long long>(i + 1), "00"),
                kSupplierCodeWidth);
    Supplier s{
        sectionCode, std::string(plan.shortName) + " " + plan.sections[i], "1", plan.deleted, {}};
    if (i < categories.size() && !categories[i].empty()) s.categories.push_back(categories[i]);
    plant.suppliers.push_back(std::move(s));
  }
}

void AddSuppliers(Plant& plant) {
  // Short names as the purchasing department keeps them, legal forms in both bracket widths.
  const std::vector<Supplier> outside = {
      {"210010", "山田工業(株)", "2", false, {"10"}},
      {"210020", "ミナト精工（有）", "2", false, {"03", "30"}},
      {"210030", "(株)北村塗装", "2", false, {"10"}},
      {"210040", "東邦プリント", "2", false, {"20"}},
      {"210050", "丸菱化成(株)", "2", false, {"03"}},
      {"210060", "青葉アッセンブリー", "2", false, {"30"}},
      {"210070", "三和塗研（株）", "2", false, {"10", "20"}},
      {"210080", "大成工業所", "2", false, {"30"}},
      {"210090", "旧・松原塗装", "2", true, {"10"}},
      {"310010", "日本樹脂商事(株)", "3", false, {}},
      {"310020", "東洋カラー（株）", "3", false, {}},
  };
  for (Supplier s : outside) {
    s.code = PadCode(s.code, kSupplierCodeWidth);
    plant.suppliers.push_back(std::move(s));
  }
}

}  // namespace

Plant BuildPlant(const DemoOptions& options, Random& random) {
  Plant plant;
  plant.code = options.plantCode;

  AddDepartment(plant, 1, kHeadOffice);
  AddDepartment(plant, options.plantCode, kThePlant);
  AddSections(plant, options.plantCode, kThePlant, {"03", "10", "20", "30", ""});
  int next = 2;
  for (const DepartmentPlan& plan : kOtherDepartments) {
    if (next == options.plantCode) ++next;
    AddDepartment(plant, next, plan);
    if (plant.otherPlant == 0) {
      plant.otherPlant = next;
      AddSections(plant, next, plan, {"03", "30"});
    }
    ++next;
  }
  std::stable_sort(plant.departments.begin(), plant.departments.end(),
                   [](const Department& a, const Department& b) {
                     return a.code != b.code ? a.code < b.code : a.section < b.section;
                   });
  AddSuppliers(plant);

  const std::vector<int> counts = SplitMachines(options.machines);
  for (std::size_t c = 0; c < CategoryPlans().size(); ++c) {
    const CategoryPlan& plan = CategoryPlans()[c];
    plant.categories.push_back(plan.category);
    for (const ProcessContent& content : plan.contents) plant.contents.push_back(content);
    std::map<std::string, int> numbers;
    for (int i = 0; i < counts[c]; ++i) {
      Machine m;
      m.code =
          PadCode(std::string(1, plan.codeLetter) + std::to_string(101 + i), kMachineCodeWidth);
      m.name = MachineName(plan, i, counts[c], numbers);
      m.plant = options.plantCode;
      m.category = plan.category.code;
      m.destination = plant.SectionCode(options.plantCode, m.category);
      m.pattern = PatternFor(m.category, i);
      m.saturdayShifts = m.category == "03" && random.Percent(60);
      plant.machines.push_back(std::move(m));
    }
  }
  // A scrapped press, still in the master, and the second plant's own presses.
  plant.machines.push_back({PadCode("M099", kMachineCodeWidth), "100T成形機 旧1号",
                            options.plantCode, "03", plant.SectionCode(options.plantCode, "03"),
                            true, ShiftPattern::kDay, false});
  plant.machines.push_back({PadCode("H101", kMachineCodeWidth), "220T成形機 1号", plant.otherPlant,
                            "03", plant.SectionCode(plant.otherPlant, "03"), false,
                            ShiftPattern::kDay, false});
  plant.machines.push_back({PadCode("H102", kMachineCodeWidth), "350T成形機 1号", plant.otherPlant,
                            "03", plant.SectionCode(plant.otherPlant, "03"), false,
                            ShiftPattern::kDayAndEvening, true});

  plant.customers = {
      {"100100", "ヒノデ電機", "HN", 'H'}, {"100200", "北斗自動車", "HK", 'K'},
      {"100300", "サクラ精機", "SK", 'S'}, {"100400", "東和産業", "TW", 'T'},
      {"100500", "ミドリ家電", "MD", 'M'}, {"100600", "大和オートパーツ", "YA", 'Y'},
      {"100700", "コスモ工業", "CS", 'C'}, {"100800", "日進ベアリング", "NB", 'N'},
  };
  return plant;
}

}  // namespace velmora::demo
