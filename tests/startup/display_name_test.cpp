#include "startup/display_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(NormalizeDisplayName, OneSpellingPerDisplay) {
  struct Case {
    const char* display;
    const char* normal;
  };
  for (const Case& c : {
           Case{":0", ":0"},
           Case{":0.0", ":0"},
           Case{":0.1", ":0"},
           Case{"unix:0", ":0"},
           Case{"localhost:0.0", ":0"},
           Case{"LocalHost:0", ":0"},
           Case{"unix/:0", ":0"},
           Case{"tcp/localhost:0", ":0"},
           Case{":00", ":0"},
           Case{":1", ":1"},
           Case{":10.0", ":10"},
           Case{"localhost:10.0", ":10"},
           Case{"Build-Host.example:0.0", "build-host.example:0"},
           Case{"wayland-0", "wayland-0"},
           Case{"", ""},
       }) {
    EXPECT_EQ(c.normal, NormalizeDisplayName(c.display)) << c.display;
  }
}

}  // namespace
}  // namespace velmora
