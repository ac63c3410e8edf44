// rdwall.cpp -- input groups of a problem with wall sections.
#include "run/run.h"

void RDWALL(Run&) {}
