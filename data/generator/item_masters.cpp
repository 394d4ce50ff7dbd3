#include "generator/item_masters.h"

#include <algorithm>
#include <cmath>

#include "common/date_text.h"

namespace velmora::demo {
namespace {

struct PartType {
  const char* name;
  const char* letters;  // first two characters of the item code
  const char* ank;      // narrow-katakana name for the ANK and short-name columns
  char groupBKind;      // '4' or '2' for the outer-ring group, 0 otherwise
};

const std::vector<PartType> kPartTypes = {
    {"フロントカバー", "FC", "ﾌﾛﾝﾄｶﾊﾞｰ", 0},
    {"リアケース", "RC", "ﾘｱｹｰｽ", 0},
    {"ギアハウジング", "GH", "ｷﾞｱﾊｳｼﾞﾝｸﾞ", 0},
    {"操作ノブ", "KN", "ｿｳｻﾉﾌﾞ", 0},
    {"ベゼル", "BZ", "ﾍﾞｾﾞﾙ", 0},
    {"ブラケット", "BK", "ﾌﾞﾗｹｯﾄ", 0},
    {"ファンブレード", "FB", "ﾌｧﾝﾌﾞﾚｰﾄﾞ", 0},
    {"スイッチパネル", "SP", "ｽｲｯﾁﾊﾟﾈﾙ", 0},
    {"ダイヤル", "DL", "ﾀﾞｲﾔﾙ", 0},
    {"エンブレム", "EM", "ｴﾝﾌﾞﾚﾑ", 0},
    {"コネクタハウジング", "CH", "ｺﾈｸﾀﾊｳｼﾞﾝｸﾞ", 0},
    {"ランプレンズ", "LL", "ﾗﾝﾌﾟﾚﾝｽﾞ", 0},
    {"内輪リテーナ", "IR", "ﾅｲﾘﾝﾘﾃｰﾅ", 0},
    {"外輪シール", "OS", "ｶﾞｲﾘﾝｼｰﾙ", '4'},
    {"外輪カバー", "OC", "ｶﾞｲﾘﾝｶﾊﾞｰ", '4'},
    {"二色グリップ", "TG", "ﾆｼｮｸｸﾞﾘｯﾌﾟ", '2'},
};

struct Colour {
  const char* name;
  const char* letters;
  const char* ank;
};

const std::vector<Colour> kColours = {
    {"黒", "BK", "ｸﾛ"}, {"白", "WH", "ｼﾛ"}, {"灰", "GY", "ｸﾞﾚｰ"},           {"銀", "SV", "ｼﾙﾊﾞｰ"},
    {"赤", "RD", "ｱｶ"}, {"青", "BL", "ｱｵ"}, {"アイボリー", "IV", "ｱｲﾎﾞﾘｰ"},
};

// Process categories of a family's routing, with how often each routing occurs.
struct RoutingTemplate {
  std::vector<std::string> categories;
  int weight;
};

const std::vector<RoutingTemplate> kRoutings = {
    {{"03"}, 30},       {{"03", "10"}, 20},      {{"03", "20"}, 15},      {{"03", "10", "20"}, 10},
    {{"03", "30"}, 12}, {{"03", "10", "30"}, 8}, {{"03", "20", "30"}, 5},
};

const RoutingTemplate& PickRouting(Random& random) {
  int r = random.Between(0, 99);
  for (const RoutingTemplate& t : kRoutings) {
    if ((r -= t.weight) < 0) return t;
  }
  return kRoutings.front();
}

// The item-kind character: group B as the part type says, else after the last finishing step.
char KindOf(const PartType& type, const RoutingTemplate& routing) {
  if (type.groupBKind != 0) return type.groupBKind;
  const auto has = [&](const char* c) {
    return std::find(routing.categories.begin(), routing.categories.end(), c) !=
           routing.categories.end();
  };
  return has("30") ? '6' : has("10") ? '3' : has("20") ? '5' : '1';
}

std::vector<MachineCycle> PickCycles(const std::vector<int>& machines, double seconds,
                                     int percentWithout, Random& random) {
  std::vector<MachineCycle> cycles;
  if (machines.empty() || random.Percent(percentWithout)) return cycles;
  const int count = std::min(static_cast<int>(machines.size()), random.Between(1, 3));
  const int first = random.Between(0, static_cast<int>(machines.size()) - 1);
  for (int i = 0; i < count; ++i) {
    const int machine =
        machines[static_cast<std::size_t>((first + i) % static_cast<int>(machines.size()))];
    cycles.push_back({machine, HalfSeconds(seconds * random.Between(90, 110) / 100.0)});
  }
  std::sort(cycles.begin(), cycles.end(),
            [](const MachineCycle& a, const MachineCycle& b) { return a.machine < b.machine; });
  return cycles;
}

RoutingStep MakeStep(int seq, const std::string& category, char kind, const Plant& plant,
                     Random& random) {
  RoutingStep step;
  step.seq = seq;
  step.category = category;
  const std::vector<int> machines = plant.MachinesOf(plant.code, category);
  if (category == "03") {
    step.processCode = kind == '2' ? "0303" : random.Percent(10) ? "0302" : "0301";
    static const std::vector<int> kCavities = {1, 1, 2, 2, 2, 4, 4, 8};
    step.molded = true;
    step.cavities = random.Pick(kCavities);
    step.moldCycle = HalfSeconds(random.Between(40, 120) / 2.0);
    step.shotWeight = random.Between(15, 600) * step.cavities / 2.0;
    step.setupBefore = random.Between(6, 24) * 5;
    step.setupAfter = random.Between(3, 12) * 5;
    step.productivity = HalfSeconds(step.moldCycle * 1.1 / step.cavities);
    step.cycles = PickCycles(machines, step.moldCycle, 30, random);
    step.workers = 1;
  } else if (category == "10") {
    step.processCode = random.Percent(70) ? "1001" : "1002";
    step.productivity = HalfSeconds(random.Between(4, 24) / 2.0);
    step.setupMinutes = random.Between(3, 8) * 5;
    step.cycles = PickCycles(machines, step.productivity * 0.9, 40, random);
    step.workers = 2;
  } else if (category == "20") {
    static const std::vector<std::string> kPrinting = {"2001", "2001", "2002", "2003"};
    step.processCode = random.Pick(kPrinting);
    step.productivity = HalfSeconds(random.Between(3, 16) / 2.0);
    step.setupMinutes = random.Between(2, 6) * 5;
    step.cycles = PickCycles(machines, step.productivity * 0.9, 40, random);
    step.workers = 1;
  } else {
    static const std::vector<std::string> kAssembly = {"3001", "3001", "3002", "3003"};
    step.processCode = random.Pick(kAssembly);
    step.productivity = HalfSeconds(random.Between(12, 80) / 2.0);
    step.setupMinutes = random.Pick(std::vector<int>{0, 10, 15, 20, 30});
    step.cycles = PickCycles(machines, step.productivity * 0.9, 40, random);
    step.workers = random.Between(2, 4);
  }
  return step;
}

// Outside prices per piece for the steps subcontractors can take: older rows stay in the
// master, and a price revision may already be entered for a later date.
void AddPrices(Catalog& catalog, const Item& item, const Plant& plant, const DemoOptions& options,
               Random& random) {
  for (const RoutingStep& step : item.steps) {
    for (int s : plant.SubcontractorsOf(step.category)) {
      if (!random.Percent(70)) continue;
      double price = std::round(step.productivity * random.Between(12, 25)) / 10.0;
      const int revisions = random.Between(1, 3);
      const DateTime starts[] = {
          options.baseDate.AddDays(-400 + random.Between(0, 60)),
          options.baseDate.AddDays(-150 + random.Between(0, 60)),
          options.baseDate.AddDays(options.days / 2 + random.Between(0, 20))};
      for (int r = 0; r < revisions; ++r) {
        const bool provisional = r == 2;  // a future revision not agreed yet
        catalog.prices.push_back({plant.suppliers[static_cast<std::size_t>(s)].code, item.code,
                                  step.seq, FormatYmd(starts[r]), price, provisional ? "2" : "1"});
        price = std::round(price * random.Between(103, 108)) / 100.0;
      }
    }
  }
}

}  // namespace

Catalog BuildCatalog(const DemoOptions& options, const Plant& plant, Random& random) {
  Catalog catalog;
  const int familyCount = std::clamp(options.arrangements / 40, 12, 400);
  static const std::vector<int> kPackQuantities = {20, 50, 50, 100, 100, 200, 500};
  for (int f = 0; f < familyCount; ++f) {
    const PartType& type = kPartTypes[static_cast<std::size_t>(
        random.Between(0, static_cast<int>(kPartTypes.size()) - 1))];
    const int customerIndex = random.Between(0, static_cast<int>(plant.customers.size()) - 1);
    const Customer& customer = plant.customers[static_cast<std::size_t>(customerIndex)];
    const RoutingTemplate& routing = PickRouting(random);
    const char kind = KindOf(type, routing);
    const std::string number = std::to_string(1001 + f * 7 % 8999);  // distinct, four digits
    const std::string stem =
        std::string(type.letters) + customer.itemLetter + number;  // 7 characters

    // The family's shape: one routing, one mold (a few molds are the customer's and unnumbered).
    std::vector<RoutingStep> steps;
    int seq = 0;
    for (const std::string& category : routing.categories)
      steps.push_back(MakeStep(++seq, category, kind, plant, random));
    const std::optional<std::string> mold =
        random.Percent(8) ? std::nullopt : std::optional<std::string>("K-" + number);
    const bool otherPlant = random.Percent(15);
    const int packQty = random.Pick(kPackQuantities);

    static const std::vector<int> kVariantCounts = {1, 1, 1, 1, 2, 2, 2, 3, 3, 4};
    const int variants = random.Pick(kVariantCounts);
    const int firstColour = random.Between(0, static_cast<int>(kColours.size()) - 1);
    const std::string component = PadCode(stem + "-1-NT0", kItemCodeWidth);
    const bool withBom = variants > 1 || random.Percent(50);
    for (int v = 0; v < variants; ++v) {
      const Colour& colour =
          kColours[static_cast<std::size_t>((firstColour + v) % static_cast<int>(kColours.size()))];
      Item item;
      item.code = PadCode(stem + "-" + kind + "-" + colour.letters + "1", kItemCodeWidth);
      item.kind = kind;
      item.model = customer.modelPrefix + "-" + number + colour.letters;
      item.name = std::string(type.name) + " " + colour.name + " " + item.model;
      item.modelAnk = item.model + " " + type.ank + " " + colour.ank;
      item.shortName = std::string(type.ank) + "(" + colour.ank + ")";
      item.packQty = packQty;
      item.customer = customerIndex;
      item.moldNo = mold;
      item.steps = steps;
      item.otherPlantRouting = otherPlant;
      AddPrices(catalog, item, plant, options, random);
      for (const RoutingStep& step : item.steps) {
        if (random.Percent(65)) {
          catalog.stock.push_back(
              {item.code, step.seq, plant.code, packQty * random.Between(0, 40)});
        }
      }
      if (withBom) catalog.bom.push_back({item.code, component, plant.code});
      catalog.items.push_back(std::move(item));
    }
    if (withBom) {
      // The molded base in natural colour: a master row of its own, made by no routing here.
      Item base;
      base.code = component;
      base.kind = '1';
      base.model = customer.modelPrefix + "-" + number + "NT";
      base.name = std::string(type.name) + " 素材 " + base.model;
      base.modelAnk = base.model + " " + type.ank + " ｿｻﾞｲ";
      base.shortName = std::string(type.ank) + "(ｿｻﾞｲ)";
      base.packQty = packQty;
      base.customer = customerIndex;
      catalog.items.push_back(std::move(base));
    }
  }
  return catalog;
}

}  // namespace velmora::demo
