// report.h -- the report's field writers and unit labels.
#pragma once

#include "model/model.h"

// SETLAB -- fill the unit-label set: +1 English, -1 SI, any other value generic.
void SETLAB(Run& run, int ISET);
