// pressure_impl.h -- the pressure folder's own declarations: the steps of PRESS7, the
// surcharges and the pieces shared by its files. Used by the folder and its tests only;
// the rest of the program calls pressure.h.
#pragma once

#include <string_view>

#include "pressure/pressure.h"

// PRESS7 -- working values, working layers, OUTPT7, START7, FORCES, BULK.
//   reads   C, SOIL, TIE; writes EP and the pressure-exchange file
//   stops   "1" no working layer starts at the excavation level, "2" more than MXLW
//           working layers (both after the soil, surcharge and wall sections)
void PRESS7(Run& run);
// The working layer table: the input layers split at HFREE and ZWA (EP.NLW, KOVFL,
// IEXC, IWAT, THICK, ZTOP, STREN, PHI, WEIGHT, KOPT, DRAIND).
void LAYERS(Run& run);
// OUTPT7 -- WALL INFORMATION, SURCHARGE INFORMATION (which also sets the single-load
// values from the listed rows), SOIL INFORMATION; then the two stop checks.
void OUTPT7(Run& run);
// START7 -- WETTOP, the effective overburden stress and its section, the coefficients
// and their section with the slope warnings (report and iteration log) and the notes.
void START7(Run& run);
// FORCES -- layer earth forces PA1..PA4 and water forces PW1, PW2 above the excavation
// level, their sections, the net-active check (console and report).
void FORCES(Run& run);
// The surcharge force of the single-load values on the layer with top ZTOP and
// thickness T, F/L.
double SURLAY(Run& run, double ZTOP, double T);
// BULK -- the sampled pressure table (options 3 and 5 with their envelopes), written to
// the pressure-exchange file on unit LNAM.
void BULK(Run& run);
// The rows BULK forms and writes for the working layers and the wall length: the
// sampled rows and, for options 3 and 5 with samples above the excavation level, the
// excavation-level row written a second time.
struct BulkRows {
  int NFORM = 0;   // rows formed: the surface row and the samples down to the wall tip
  int NWRITE = 0;  // rows written, the count announced in the file
};
BulkRows BULKN(Run& run);

// A depth, thickness or height as the report prints it: feet in English units.
inline double PRDEP(const Control& C, double X) { return C.IUNIT == ENGLISH ? X / 12 : X; }

// LAYFIN -- a value of working layer J (VALUE names it) is not a finite number: the run
// ends naming the input soil layer of the row, and the wall record when WALL is set.
void LAYFIN(Run& run, int J, double X, std::string_view VALUE, bool WALL = false);

// SURPRS -- lateral pressure of the surcharge list at depth Z below the top of the wall:
// EP.SIGMAH, with the shear QSHRP and the moments QMOMP (about Z), QMOMH (about HFREE).
void SURPRS(Run& run, double Z);
// The free height as the reference length of the surcharge formulas: a free height
// below 1.0E-6 with surcharge rows is an input error (INPERR).
double SURREF(Run& run);
