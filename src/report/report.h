// report.h -- the report's field writers and unit labels. The cross-section echo and the
// nonlinear EI tables are written piece by piece on one line: each writer puts one item
// on the current line of a unit without ending it (its layout ends with \), WEOL ends it.
// The buffer writers build a line in a character buffer instead.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/model.h"

// SETLAB -- fill the unit-label set LAB: +1 English, -1 SI, anything else generic.
void SETLAB(Run& run, int KUNIT);

// WREAL -- the real VAL in a field of width IW (0..99) on the open line of unit LU:
// 0 in fixed point with ID decimals when VAL is zero or below 1e-50 in magnitude;
// scientific (1P,1Ew.d) at or below 10**(1-ID) or at or above 10**ID (single precision);
// otherwise fixed with ID - g decimals, g the truncated log10 lowered by one when
// negative, or scientific when that would pass ID + 2 (or not fit two digits). A value
// that is not finite is written in the scientific field (gfortran's Infinity or NaN).
void WREAL(Run& run, int LU, int IW, int ID, double VAL);
// WINT -- the integer IVAL as IIW.
void WINT(Run& run, int LU, int IW, int IVAL);
// WBLANK -- N single blanks ("(1H ,\)" each); nothing when N < 1.
void WBLANK(Run& run, int LU, int N);
// WSTR256, WSTR10, WSTR6 -- a blank, the text as A256, A10 or A6, a blank.
void WSTR256(Run& run, int LU, std::string_view TEXT);
void WSTR10(Run& run, int LU, std::string_view TEXT);
void WSTR6(Run& run, int LU, std::string_view TEXT);
// WCHR1, WCHR2, WCHR3 -- the first 1, 2 or 3 characters (A1, A2, A3), no blanks.
void WCHR1(Run& run, int LU, std::string_view TEXT);
void WCHR2(Run& run, int LU, std::string_view TEXT);
void WCHR3(Run& run, int LU, std::string_view TEXT);
// WCHARS -- the text without its trailing blanks, one A1 write per character.
void WCHARS(Run& run, int LU, std::string_view TEXT);
// WEOL -- "(1H )": a blank and the end of the line.
void WEOL(Run& run, int LU);

// Buffer writers: IPOS is the 1-based position in BUF, advanced by what is placed. A
// piece that would not fit in BUF is a programming error (std::logic_error).
// BREAL -- VAL formatted as WREAL does, with the lower limit 10**(3-ID), IW characters.
void BREAL(std::span<char> BUF, int& IPOS, int IW, int ID, double VAL);
// BBLANK -- N blanks.
void BBLANK(std::span<char> BUF, int& IPOS, int N);
// BCHARS -- the first N characters of TEXT (blank padded when it is shorter).
void BCHARS(std::span<char> BUF, int& IPOS, int N, std::string_view TEXT);

// Display conversions of the echo: divide by 1000, by 1000**2, multiply by 1000, by
// 1000**2, by 1000**4, divide by 1000 under the second condition. They act only under a
// display-unit switch that nothing sets, so each returns its argument.
double CVDIV3(double X);
double CVDIV6(double X);
double CVMUL3(double X);
double CVMUL6(double X);
double CVMUL12(double X);
double CVDIV3B(double X);

// WARN -- a warning of the engine's own checks, never changing the analysis: one line
// "WARNING -- TEXT" in the report (when it is open) and on the console, kept in WRN with
// the stage number for the host. Hosts find these lines by their first word.
void WARN(Run& run, std::string_view TEXT);

// Where a record was read, for messages: "WALL RECORD, INPUT LINE 40", or the record
// alone when its line is not known (LINE < 1).
std::string ATLINE(std::string_view REC, int LINE);
// The line alone, with its blank and parentheses: " (INPUT LINE 40)", or nothing.
std::string ONLINE(int LINE);
// A real as messages show it: up to six significant digits, fixed point from 1.0E-3 to
// below 1.0E6 ("180.0", "0.3048", "16300.0"), else in exponent form ("4.9000E+10").
std::string RTEXT(double X);

// A length in the internal unit of the problem with its label: "180.0 IN", "6.0 M".
std::string LTEXT(const Run& run, double X);

// STOPMS -- the analysis cannot go on: the line TEXT (what was wrong and where) in the
// report (when it is open) and on the console, then the stop with its code CODE ("1",
// "2", "4", or "" for a stop without a code). The run driver writes the stop line.
[[noreturn]] void STOPMS(Run& run, std::string_view CODE, std::string_view TEXT);

// Run-ending input messages, written to the report; each ends the run (throws EndRun
// after keeping the message in D.KERR and D.ERRMSG for the host).
[[noreturn]] void TOOMCH(Run& run);                       // "TOO MUCH DATA FOR AVAILABLE STORAGE"
// The second line names the table and, when LINE > 0, the input line of the count.
[[noreturn]] void TOOMCH(Run& run, std::string_view what, int value, int limit, int LINE = 0);
// The two fixed messages; WHERE, when given, is a second line naming the record.
[[noreturn]] void NOTORD(Run& run, std::string_view WHERE = {});  // "ERROR STOP -- STATIONS NOT IN ORDER"
[[noreturn]] void INPERR(Run& run, std::string_view text);  // an input error of our own checks
[[noreturn]] void BEYOND(Run& run, std::string_view WHERE = {});  // "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"
[[noreturn]] void ENDSIL(Run& run);                       // silent end: negative count or ITMAX

// INREC -- a record of the input data file as the reader's messages name it, for values
// computed from it: "in.dat, line 17: soil layer 2" (N > 0 numbers the record); LINE 0 (a
// record that this run did not read) gives "soil layer 2, read by an earlier run".
std::string INREC(Run& run, std::string_view WHAT, int N, int LINE);
// NONFIN -- VALUE, computed from the input, is not a finite number: the input error
// "ERROR -- VALUE IS NOT A FINITE NUMBER (RECORD)"; ends the run. Callers check where
// such values arise, before they are written anywhere.
[[noreturn]] void NONFIN(Run& run, std::string_view VALUE, std::string_view RECORD);

