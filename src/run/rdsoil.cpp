// rdsoil.cpp -- input groups of a problem with wall sections.
#include "run/run.h"

void RDSOIL(Run&) {}
