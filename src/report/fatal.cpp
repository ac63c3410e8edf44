// fatal.cpp -- the messages of the input checks that end the run: written to the
// report, kept for the host, then the run goes to its end (EndRun).
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"

namespace {

// Keep the first line of a run-ending message for the host.
void KEEPMS(Run& run, int KERR, std::string_view text) {
  auto& D = run.m.D;
  D.KERR = KERR;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  D.ERRMSG.assign(text);
}

}  // namespace

void TOOMCH(Run& run) {
  io::write(run, LOUT, R"((/,/,"     TOO MUCH DATA FOR AVAILABLE STORAGE",/,/))");
  KEEPMS(run, 1, "TOO MUCH DATA FOR AVAILABLE STORAGE");
  throw EndRun{};
}

void TOOMCH(Run& run, std::string_view what, int value, int limit, int LINE) {
  // The limits that the input does not announce get a second line naming the table.
  const std::string AT = ONLINE(LINE);
  io::write(run, LOUT, R"((/,/,"     TOO MUCH DATA FOR AVAILABLE STORAGE",/,5X,A," =",I11,", AT MOST",I6,A,/,/))",
            what, value, limit, AT);
  KEEPMS(run, 1, "TOO MUCH DATA FOR AVAILABLE STORAGE: " + std::string(what) + " = " +
                     std::to_string(value) + ", at most " + std::to_string(limit) + AT);
  throw EndRun{};
}

namespace {

// A fixed message, then the line naming the record when there is one.
[[noreturn]] void FIXED2(Run& run, const char* TEXT, std::string_view WHERE) {
  io::write(run, LOUT, R"((/,/,5X,A))", TEXT);
  if (!WHERE.empty()) io::write(run, LOUT, "(5X,A)", WHERE);
  KEEPMS(run, 1, WHERE.empty() ? std::string(TEXT) : std::string(TEXT) + ": " + std::string(WHERE));
  throw EndRun{};
}

}  // namespace

void NOTORD(Run& run, std::string_view WHERE) { FIXED2(run, "ERROR STOP -- STATIONS NOT IN ORDER", WHERE); }

void BEYOND(Run& run, std::string_view WHERE) { FIXED2(run, "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END", WHERE); }

void INPERR(Run& run, std::string_view text) {
  io::write(run, LOUT, R"((/,/,5X,A))", text);
  KEEPMS(run, 1, text);
  throw EndRun{};
}

void WARN(Run& run, std::string_view TEXT) {
  auto& WRN = run.m.WRN;
  ++WRN.NWARN;
  if (WRN.NWARN <= MXWARN) {
    WRN.NPROB(WRN.NWARN) = run.m.D.NPROB;
    WRN.TEXT(WRN.NWARN).assign(TEXT);
  }
  if (run.u.is_open(LOUT)) io::write(run, LOUT, R"(("WARNING -- ",A))", TEXT);
  io::write(run, LCON, R"(("WARNING -- ",A))", TEXT);
}

std::string ATLINE(std::string_view REC, int LINE) {
  std::string T(REC);
  if (LINE > 0) T += ", INPUT LINE " + std::to_string(LINE);
  return T;
}

std::string ONLINE(int LINE) { return LINE > 0 ? " (INPUT LINE " + std::to_string(LINE) + ")" : ""; }

std::string RTEXT(double X) {
  const double A = std::fabs(X);
  std::string T;
  if (!std::isfinite(X) || (A != 0 && (A < 1.0E-3 || A >= 1.0E6))) {
    T = io::format("(1PE11.4)", X);
  } else {
    // Six significant digits: ND decimals, trailing zeros dropped down to one decimal.
    static const char* const FIX[9] = {"(F20.1)", "(F20.1)", "(F20.2)", "(F20.3)", "(F20.4)",
                                       "(F20.5)", "(F20.6)", "(F20.7)", "(F20.8)"};
    int ND = 5;
    for (double P = 10; P <= A && ND > 0; P *= 10) --ND;
    if (A != 0 && A < 1) {
      ND = 6;
      for (double P = 0.1; A < P && ND < 8; P /= 10) ++ND;
    }
    T = io::format(FIX[ND], X);
    while (T.back() == '0' && T[T.size() - 2] != '.') T.pop_back();
  }
  return T.substr(T.find_first_not_of(' '));
}

std::string LTEXT(const Run& run, double X) {
  std::string_view U = run.m.LAB.ULEN3.view();
  while (!U.empty() && U.front() == ' ') U.remove_prefix(1);
  return U.empty() ? RTEXT(X) : RTEXT(X) + " " + std::string(U);
}

void STOPMS(Run& run, std::string_view CODE, std::string_view TEXT) {
  auto& D = run.m.D;
  D.ERRMSG.assign(TEXT);
  if (run.u.is_open(LOUT)) io::write(run, LOUT, R"((/,/,5X,A))", TEXT);
  io::write(run, LCON, "(1X,A)", TEXT);
  throw Stop{std::string(CODE), std::string(TEXT)};
}

void ENDSIL(Run& run) {
  run.m.D.KERR = 2;
  throw EndRun{};
}

std::string INREC(Run& run, std::string_view WHAT, int N, int LINE) {
  std::string R(WHAT);
  if (N > 0) R += " " + std::to_string(N);
  if (LINE <= 0) return R + ", read by an earlier run";
  const std::string F = run.u.is_open(LINP) ? run.u.path(LINP) : std::string();
  return (F.empty() ? std::string() : F + ", ") + "line " + std::to_string(LINE) + ": " + R;
}

void NONFIN(Run& run, std::string_view VALUE, std::string_view RECORD) {
  INPERR(run, "ERROR -- " + std::string(VALUE) + " IS NOT A FINITE NUMBER (" + std::string(RECORD) + ")");
}
