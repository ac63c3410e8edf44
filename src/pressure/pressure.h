// pressure.h -- earth pressure on the retained side: coefficients, layer forces,
// surcharges, the sampled pressure table and their report sections.
#pragma once

#include "model/model.h"

// EARTHP -- the earth pressure of a problem by KEP: generated (>= 2), specified (1) or
// none; leaves the pressure table PRS and writes its block of the plot output file.
void EARTHP(Run& run);
