// ibranto.cpp -- the exported entry point.
extern "C" __attribute__((visibility("default"))) int IBRANTO(int, int) { return 0; }
