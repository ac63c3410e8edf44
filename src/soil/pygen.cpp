// pygen.cpp -- p-y curve generation.
#include "soil/soil.h"

void PYGEN(Run&) {}
void READPY(Run&) {}
