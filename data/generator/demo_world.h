#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "generator/demo_options.h"

namespace velmora::demo {

// The generated plant held in memory before it is written; fields carry the stored text
// forms (codes padded, dates "yyyymmdd", times "hhnnss").

struct Department {
  int code = 0;
  int section = 0;  // 0 = the department itself
  std::string name;
  bool deleted = false;
};

struct Category {
  std::string code;  // two digits
  std::string name;
  bool deleted = false;
  int machineShare = 0;  // percent of the plant's machines
};

struct ProcessContent {
  std::string code;
  std::string name;
  std::string category;
};

enum class ShiftPattern {
  kDay,                // 08:00-17:00
  kLateDay,            // 08:30-17:30
  kDayAndEvening,      // 08:00-17:00 and 17:00-01:00 in one row
  kDayAndNight,        // 08:00-17:00 and 20:00-05:00 in one row
  kDayAndNightTwoRows  // the same two shifts as two rows
};

struct Machine {
  std::string code;  // 8 characters
  std::string name;
  int plant = 0;
  std::string category;
  std::string destination;  // 指示先コード: the section running it
  bool deleted = false;
  ShiftPattern pattern = ShiftPattern::kDay;
  bool saturdayShifts = false;  // works the 1st and 3rd Saturday mornings
};

struct Supplier {
  std::string code;  // 12 characters
  std::string shortName;
  std::string supplierClass;  // "1" in-house section, "2" subcontractor, "3" material
  bool deleted = false;
  std::vector<std::string> categories;
};

struct Customer {
  std::string code;
  std::string shortName;
  std::string modelPrefix;  // customer part of the model names, e.g. "HN"
  char itemLetter = 'X';    // customer letter inside the item codes
};

struct CalendarRow {
  std::string machine;
  std::string day;
  int minutes = 0;  // 勤務時間
  std::string start1 = "000000", end1 = "000000", start2 = "000000", end2 = "000000";
};

// One working window of a machine as absolute moments (a night shift ends the next day).
struct Window {
  DateTime start;
  DateTime end;
};

struct MachineCycle {
  int machine = 0;     // index into Plant::machines
  double seconds = 0;  // サイクル: seconds per shot (molding) or per piece
};

struct RoutingStep {
  int seq = 0;
  std::string processCode;
  std::string category;
  double productivity = 0;  // 標準生産性＿機械: seconds per piece
  int setupMinutes = 0;     // 段取時間 written on the arrangements (0 = molding master)
  int workers = 1;
  // Molding master (only molded steps).
  bool molded = false;
  int cavities = 0;
  double shotWeight = 0;
  double moldCycle = 0;
  int setupBefore = 0;
  int setupAfter = 0;
  std::vector<MachineCycle> cycles;

  // Setup minutes as the editor takes them: the arrangement's own, else the molding master's.
  int SetupMinutes() const;
};

struct Item {
  std::string code;  // 13 significant characters padded to 25
  char kind = '1';   // the 9th character
  std::string name;  // 品名＿品名仕様
  std::string model;
  std::string modelAnk;
  std::string shortName;
  int packQty = 0;
  int customer = 0;
  std::optional<std::string> moldNo;
  std::vector<RoutingStep> steps;
  bool otherPlantRouting = false;  // the other plant can make step 1 as well
};

struct PurchasePrice {
  std::string supplier;
  std::string item;
  int seq = 0;
  std::string startDay;
  double price = 0;
  std::string priceClass;
};

struct Stock {
  std::string item;
  int seq = 0;
  int plant = 0;
  int quantity = 0;
};

struct Arrangement {
  std::int64_t orderNo = 0;
  std::int64_t parentOrderNo = 0;  // the next process step of the lot
  std::int64_t planNo = 0;
  std::string itemCode;
  int seq = 0;
  int plant = 0;
  std::string processCode;
  std::string machineCode = "        ";
  std::string destination;
  std::string lineCode;
  std::string startDay = "00000000";
  std::string dueDay = "00000000";
  std::string startTime = "000000";
  std::string endTime = "000000";
  std::string initialDue = "00000000";
  int minutes = 0;
  int setup = 0;
  int quantity = 0;
  int received = 0;
  std::string lastResultDay = "00000000";
  std::string sheetIssueDay = "00000000";
  int workers = 0;
  int resultMinutes = 0;
  std::optional<std::string> moldNo;
  std::string confirm = "1";
  std::string completion = "0";
  std::string fixed = "0";
  std::string kind = "3";
  std::string inOut = "1";
  std::string purchase = " ";
  double unitPrice = 0;
  double amount = 0;
  double tax = 0;
  double total = 0;
  bool deleted = false;
  std::string lotNo;
  std::string registeredDay = "00000000";
  std::string registeredBy;
};

struct ProductionPlan {
  std::int64_t planNo = 0;
  int quantity = 0;
  std::string item;
};

struct Requirement {
  std::int64_t parentOrderNo = 0;
  std::int64_t orderNo = 0;
  std::string supplyControl;
  double denominator = 1;
  double numerator = 1;
  double required = 0;
  std::string confirm;
  int plant = 0;
  bool deleted = false;
};

struct SalesOrder {
  std::int64_t orderNo = 0;
  std::string customer;
  std::string item;
  std::string dueDay;
  int quantity = 0;
  int shipped = 0;
};

struct RequirementPlan {
  std::int64_t planNo = 0;
  std::string customer;
  std::string item;
  std::string dueDay;
  int quantity = 0;
};

struct OrderRelation {
  std::int64_t orderNo = 0;  // 手配番号
  std::int64_t number = 0;   // 番号
  std::string kind;          // "2" sales order, "1" requirement plan
};

struct BomRow {
  std::string parent;
  std::string child;
  int plant = 0;
};

// Masters that describe the plant itself.
struct Plant {
  int code = 0;
  int otherPlant = 0;  // a second plant whose rows the editor must skip
  std::vector<Department> departments;
  std::vector<Category> categories;
  std::vector<ProcessContent> contents;
  std::vector<Machine> machines;
  std::vector<Supplier> suppliers;
  std::vector<Customer> customers;

  // Section (指示先コード) that runs the category's work in `plant`.
  std::string SectionCode(int plant, const std::string& category) const;
  // Live machines of a plant and category, as indexes into `machines`.
  std::vector<int> MachinesOf(int plant, const std::string& category) const;
  // Live subcontractors of a category, as indexes into `suppliers`.
  std::vector<int> SubcontractorsOf(const std::string& category) const;
};

struct Catalog {
  std::vector<Item> items;
  std::vector<BomRow> bom;
  std::vector<Stock> stock;
  std::vector<PurchasePrice> prices;
};

struct Orders {
  std::vector<Arrangement> arrangements;
  std::vector<ProductionPlan> plans;
  std::vector<Requirement> requirements;
  std::vector<SalesOrder> salesOrders;
  std::vector<RequirementPlan> requirementPlans;
  std::vector<OrderRelation> relations;
  std::int64_t firstOrderNo = 0;
  std::int64_t lastOrderNo = 0;
};

struct DemoWorld {
  DemoOptions options;
  DateTime asOf;  // the day the data treats as today: before it work is done, after it planned
  Plant plant;
  std::vector<CalendarRow> calendar;
  std::vector<std::vector<Window>> windows;  // per machine, in time order
  Catalog catalog;
  Orders orders;
};

// "M101" -> "M101    " and the like: blanks up to the fixed width of a code column.
std::string PadCode(const std::string& code, std::size_t width);
inline constexpr std::size_t kMachineCodeWidth = 8;
// Cycle seconds in half-second steps (at least 0.5): the editor reads cycles as float, and
// halves stay exact there.
double HalfSeconds(double seconds);
inline constexpr std::size_t kItemCodeWidth = 25;
inline constexpr std::size_t kSupplierCodeWidth = 12;

}  // namespace velmora::demo
