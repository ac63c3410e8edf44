// stadat.cpp -- station data.
#include "wall/wall.h"

void STADAT(Run&) {}
void PRSLOD(Run&) {}
