// soil.h -- soil resistance: p-y curves of the soil on both sides of the wall below the
// excavation level, one model per soil type, with the profile lookups, the multipliers
// and the equivalent depth that every model shares. What the run driver calls; the rest
// of the folder is in soil_impl.h.
#pragma once

#include "model/model.h"

// PYGEN -- the soil profile below the excavation, the curve depths, the curves of both
// sides by soil type, "SOIL LAYERS AND STRENGTH DATA"; writes the curve-exchange file
// (user curves first when KPYGEN = 2 and NPYU > 0, then the generated curves).
//   reads   C: IUNIT, XEXC, H, NI, NPYU, NPYMOD; SOIL (profile, WP, WA, KSTAT, the
//           multipliers); UPY; D.NAMES[9]
//   writes  SW (layers, curve depths, distributions, equivalent depths, the counts of
//           the curve-exchange file); the report; the curve-exchange file (unit LPYW,
//           closed again)
//   ends the run on input the curves cannot be built from (INPERR) and with STOP 1 or 4
//           where the profile ends above a curve depth
void PYGEN(Run& run);

// READPY -- read the curve-exchange file back: one 33-point support curve per curve
// depth at its nearest station, appended to CRV after the records already there (CONTD
// = 1 on every one but the last); copies to the plot output file. Unit 8 is closed
// when the read is done, also when the file holds no curve.
//   reads   C: H, NI, IUNIT; SW (the counts and the curves it kept); the curve-exchange file
//   writes  CRV (NCRV and the appended records); the plot output file
void READPY(Run& run);

// P- and Y-multiplier at depth X below the top of the wall: the product of the factor of
// closely-spaced elements (from SW.RWAWP) and the modification table of SOIL (PYMP,
// PYMY, KPYOPT, C.NPYMOD). Reads only; 1 where nothing applies.
double PMULT(Run& run, double X);
double YMULT(Run& run, double X);
