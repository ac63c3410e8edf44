// pressure.h -- earth pressure on the retained side: coefficients, layer forces,
// surcharges, the sampled pressure table and their report sections. What the run driver
// calls; the rest of the folder is in pressure_impl.h.
#pragma once

#include "model/model.h"

// EARTHP -- the earth pressure of a problem by KEP: generated (>= 2), specified (1) or
// none; leaves the pressure table PRS (PT_LOAD the load per station) and writes its
// block of the plot output file.
//   KEP >= 2: PRESS7, then the pressure-exchange file read back, scaled by WA / WP,
//             listed, PT_LOAD multiplied by H, the plot block
//   KEP  = 1: the specified pairs of SOIL listed, with surcharges, times H; the plot block
//   KEP  = 0: one record holding 0 on the plot file; KEP < 0: nothing. Both: no rows.
//   reads   C: KEP, H, NI, IUNIT, XEXC; SOIL (layers, surcharges, specified pairs, WA,
//           WP, HFREE, BETA); TIE; LAB; D.NAMES
//   writes  EP; PRS (NPRES and the rows); the report, the iteration log, the
//           pressure-exchange file and the plot output file
//   stops   as PRESS7; a row or coefficient that is not a finite number ends the run
void EARTHP(Run& run);
