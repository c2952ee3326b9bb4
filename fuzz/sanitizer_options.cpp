// Defaults of the address sanitizer for every fuzz target (ASAN_OPTIONS still overrides).
//
// Freed memory is held back (the quarantine) so that a late use of it is caught. With the
// default 256 MB, a target that makes and drops a few hundred kilobytes per input walks through
// all of it, and every allocation lands on pages the kernel must hand out afresh: that, not
// the program, took most of each run. 16 MB still holds what many inputs freed.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
