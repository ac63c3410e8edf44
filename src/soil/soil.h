// soil.h -- soil resistance: p-y curves of the soil on both sides of the wall below the
// excavation level, one model per soil type.
#pragma once

#include "model/model.h"

// PYGEN -- the soil profile below the excavation, the curve depths, the curves of both
// sides by soil type, "SOIL LAYERS AND STRENGTH DATA"; writes the curve-exchange file.
void PYGEN(Run& run);

// READPY -- read the curve-exchange file back: one 33-point support curve per curve
// depth at its nearest station, appended to CRV; copies to the plot output file.
void READPY(Run& run);
