#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "generator/demo_command.h"

int main(int argc, char** argv) {
  // The only clock reading: the default start date. The generator itself never looks at it.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const velmora::DateTime today =
      velmora::DateTime::FromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return velmora::demo::RunDemoCommand(args, today, std::cout, std::cerr);
}
