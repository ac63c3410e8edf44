// report.h -- the report's field writers and unit labels.
#pragma once

#include <string_view>

#include "model/model.h"

// SETLAB -- fill the unit-label set: +1 English, -1 SI, any other value generic.
void SETLAB(Run& run, int ISET);

// Run-ending input messages, written to the report; each ends the run (throws EndRun
// after keeping the message in D.KERR and D.ERRMSG for the host).
[[noreturn]] void TOOMCH(Run& run);                       // "TOO MUCH DATA FOR AVAILABLE STORAGE"
[[noreturn]] void TOOMCH(Run& run, std::string_view what, int value, int limit);
[[noreturn]] void NOTORD(Run& run);                       // "ERROR STOP -- STATIONS NOT IN ORDER"
[[noreturn]] void INPERR(Run& run, std::string_view text);  // an input error of our own checks
[[noreturn]] void BEYOND(Run& run);                       // "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"
[[noreturn]] void ENDSIL(Run& run);                       // silent end: negative count or ITMAX

