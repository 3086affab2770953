// Compiled into every program of the sanitizer build that may lay out text:
// the leak checker asks the program for its suppressions. fontconfig keeps its
// configuration for the life of the process and never frees it; tearing it
// down at exit instead races pango's font-loading thread.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// The suppressions are applied without a report of them, so that a program's
// stderr holds only what the program writes.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
