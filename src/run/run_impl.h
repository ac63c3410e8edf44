// run_impl.h -- the run folder's own declarations: the report header, the path rules,
// the readers of the input groups, the checks and the plot file's end of stage. Used by
// the folder and its tests only; the entry point and the hosts call run.h.
#pragma once

#include <string>
#include <string_view>

#include "run/run.h"

// The report header of one problem: banner, file names, time and date.
void HEADER(Run& run);

// Windows path rules: drive ("C:"), directory (ending with its separator), base name and
// extension (the last dot and at most four characters after it), of the path held in a
// buffer of width characters.
struct PathParts {
  std::string drive, dir, base, ext;
};
PathParts split_path(std::string_view path, std::size_t width = 256);

// Input of the control records and specified points, with their echo.
void RDTITL(Run& run);   // title record
void RDCTRL(Run& run);   // control record
void ECHCTL(Run& run);   // "PROGRAM CONTROL PARAMETERS" and the hinge note
void RDCTL2(Run& run);   // second control record, its checks and the wall geometry lines
void RDSPEC(Run& run);   // specified deflections and slopes, coded into KODE
void RDKEND(Run& run);   // end code
// A negative count or iteration limit ends the run with a message naming the field:
// "ERROR -- NAME = VALUE (REC, VALUE IVAL, INPUT LINE n): A NEGATIVE WHAT ENDS THE RUN".
[[noreturn]] void NEGERR(Run& run, const char* NAME, int VALUE, const char* REC, int IVAL, int LINE,
                         const char* WHAT);

// Input groups of a problem with wall sections, read in file order with their echo.
void RDWALL(Run& run);   // wall sections, cross sections, nonlinear EI tables
void RDSUPP(Run& run);   // stiffness and load records, restraints and tie backs
void RDSOIL(Run& run);   // p-y modification factors, earth-pressure and soil-profile data
void RDPYU(Run& run);    // user p-y curves into UPY (NPYU of them)
// Soil-resistance curves by KPYGEN and NPYU: user curves, generated curves, or none.
void PYCURV(Run& run);

// The checks that never change the analysis (checks.cpp), each finding one WARNING line:
//   CHECKS  after the input of a problem is read, before the analysis: the wall length
//           against HWALL, the excavation depth given twice, RV6 against the width WA
//           with tie backs; with wall sections read: stations without rigidity, and with
//           the soil profile read: where it ends, soil type codes, implausible optional
//           earth-pressure coefficients; generated curves that no layer can give
//   CHKMEC  after the solution: a solution that counts as closed but whose largest
//           deflection exceeds the length of the wall, or that is not finite, is no
//           equilibrium (ITR.KMECH = 1)
//   CHKEND  after the end code that ends the run: data left unread in the input
void CHECKS(Run& run);
void CHKMEC(Run& run);
void CHKEND(Run& run);

// The end-of-stage block of the plot output file, with first value KODEP (short form
// when the last solution ended in a warning exit).
void PLTEND(Run& run, int KODEP);
