// input.h -- the pieces of the wall-data reader shared by its files: cross sections and
// their catalogue, the nonlinear EI tables, and the line writers of the catalogue.
#pragma once

#include <string>
#include <string_view>

#include "model/model.h"

// SI moments of inertia are given in mm**4 and divided by this number (1.0E12 as the
// method holds it in single precision) to give m**4.
constexpr double SIDIV = 999999995904.0;

// RDCROS -- the NCROSS cross sections of group 6, elastic or nonlinear, with the
// derivation of XIT, XIB, EMT, EMB right after each section is read.
void RDCROS(Run& run);
// ECHCRS -- "CROSS SECTIONS" and "CROSS SECTIONS PROPERTIES" for sections 1..NCROSS.
void ECHCRS(Run& run);
// RDNEI -- group 7: the user-defined EI sets with "USER DEFINED NONLINEAR EI", the
// per-section EI data, the moment-curvature tables NEI and "INTERNALLY GENERATED
// NONLINEAR EI".
void RDNEI(Run& run);

// Record names for messages that carry the cross section: "cross section 3, bar" etc.
std::string CSREC(int I, std::string_view what);

// Catalogue lines: 5 blanks and a label literal, then the value.
//   RLINE  a real (width 13, 5 significant digits), a blank and the unit label
//   ILINE  an integer in 13 columns
//   TLINE  a text
//   TPLINE top and bottom values of a tapered section, each with its unit label; the
//          bottom field starts in the same column whatever the label's width
void RLINE(Run& run, std::string_view LABEL, double X, std::string_view UNIT);
void ILINE(Run& run, std::string_view LABEL, int I);
void TLINE(Run& run, std::string_view LABEL, std::string_view TEXT);
void TPLINE(Run& run, std::string_view LABEL, double XTOP, double XBOT, std::string_view UNIT);
// Unit labels of the catalogue: length (two characters) and stress (force/length**2).
std::string ULEN(const Run& run);
std::string USTR(const Run& run);
