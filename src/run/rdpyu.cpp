// rdpyu.cpp -- user p-y curves.
#include "run/run.h"

void RDPYU(Run&) {}
