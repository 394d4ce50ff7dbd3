#include "startup/current_user.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace velmora {
namespace {

TEST(CurrentUserName, IsTheEffectiveAccountName) {
  std::unique_ptr<FILE, int (*)(FILE*)> id(popen("id -un", "r"), pclose);
  ASSERT_TRUE(id);
  char buffer[256] = {};
  ASSERT_TRUE(fgets(buffer, sizeof buffer, id.get()));
  std::string expected = buffer;
  if (!expected.empty() && expected.back() == '\n') expected.pop_back();
  EXPECT_EQ(expected, CurrentUserName());
}

}  // namespace
}  // namespace velmora
