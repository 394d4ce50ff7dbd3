#pragma once

#include "common/questions.h"

namespace velmora::bench {

// Every question answered Yes (mold conflicts are kept), every message taken in silence.
class YesToAll : public Questions {
 public:
  void Tell(const Message&) override {}
  Answer Ask(const Question&) override { return Answer::Yes; }
};

}  // namespace velmora::bench
