// beamcol.cpp -- the finite-difference beam-column solver.
#include "wall/wall.h"
