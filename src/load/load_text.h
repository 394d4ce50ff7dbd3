#pragma once

#include <string>

#include "common/datetime.h"
#include "load/bucket_load.h"

namespace velmora::load {

// A bucket's figure as the strip, the marks, the tips and the printed pages write it: the whole
// percent, "休" with the minutes of work on a day (or shift) without working time, the number of
// plans of a row without a calendar; nothing for a bucket with neither.
std::string Figure(const BucketLoad& bucket);

// "05/14 (火)": a day as the load's tips, marks and pages name it.
std::string DayLabel(DateTime date);

}  // namespace velmora::load
