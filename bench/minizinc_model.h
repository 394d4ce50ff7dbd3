#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "level_instance.h"

namespace velmora::bench {

// What the exact solver found for an instance.
struct SolverRun {
  bool found = false;
  bool optimal = false;  // the search proved nothing better exists
  double seconds = 0;
  std::vector<int> starts;  // working minute per instance plan; fixed plans as they stand
  std::string note;         // why nothing was found
};

// Whether `minizinc` runs here with its Gecode solver.
bool MiniZincReady();

// The instance as a MiniZinc model on its working-minute axis (plans keep their machine; fixed
// plans are fixed intervals; machines and molds take one plan at a time; a step starts after
// the step below it ends; nothing before the first day), minimising late plans first and then
// minutes late. Solved with Gecode for at most `limitMs`: a complete search for a third of the
// time, then, unless that proved its best optimal, a large-neighbourhood search from that best.
// The files stay in `dir` for a look by hand.
SolverRun SolveWithMiniZinc(const Instance& instance, const std::filesystem::path& dir,
                            int limitMs);

}  // namespace velmora::bench
