// Fontconfig keeps its caches until the process ends; the leak checker would fail every window
// test for them.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
