// writers.cpp -- the field writers of the report and the unit-label set. Each writer
// builds its layout at run time in a 50-character text, widths and decimals as two-digit
// fields (I2.2), and writes one item with it, leaving the line open (\).
#include <cmath>
#include <stdexcept>
#include <string>

#include "report/report.h"

namespace {

// 10.0**N in single precision, by the repeated squaring that the Fortran run time uses
// for a real raised to an integer power (so 10**13 and beyond round as it rounds them).
float P10F(int N) {
  unsigned int U = N < 0 ? 0u - static_cast<unsigned int>(N) : static_cast<unsigned int>(N);
  float X = 10.0f;
  float Y = (U % 2) ? X : 1.0f;
  while (U >>= 1) {
    X = X * X;
    if (U % 2) Y = Y * X;
  }
  return N < 0 ? 1.0f / Y : Y;
}

// The layout texts: "(1P,1Eww.dd,\)", "(   1Fww.dd,\)", "(    Iww,\)".
struct Layout50 {
  char F[50];
};

void two(char* P, int V) {  // I2.2
  if (V < 0 || V > 99) throw std::logic_error("field width or decimals outside 0..99: " + std::to_string(V));
  P[0] = static_cast<char>('0' + V / 10);
  P[1] = static_cast<char>('0' + V % 10);
}

// Build "<head>ww.dd<tail>" into L.
void build(Layout50& L, const char* HEAD, int IW, int ID, const char* TAIL) {
  int n = 0;
  for (const char* p = HEAD; *p; ++p) L.F[n++] = *p;
  two(L.F + n, IW);
  n += 2;
  if (ID >= 0) {
    L.F[n++] = '.';
    two(L.F + n, ID);
    n += 2;
  }
  for (const char* p = TAIL; *p; ++p) L.F[n++] = *p;
  L.F[n] = '\0';
}

// The real-number field rule; LOWEXP gives the lower limit 10**(LOWEXP-ID) (1 for WREAL,
// 3 for BREAL). Builds the layout and returns the value to write with it.
double REALRULE(Layout50& L, int IW, int ID, double VAL, int LOWEXP, const char* TAIL) {
  const double A = std::fabs(VAL);
  // Infinity and NaN: log10 and the integer conversion are never taken of them.
  if (!std::isfinite(VAL)) {
    build(L, "(1P,1E", IW, ID, TAIL);
    return VAL;
  }
  // Step 1: zero, or too small to tell from zero, is 0 with ID decimals (also -0.0).
  if (VAL == 0 || A < 1.0E-50) {
    build(L, "(   1F", IW, ID, TAIL);
    return 0.0;
  }
  // Step 2: outside the single-precision limits, scientific.
  const float LO = P10F(LOWEXP - ID);
  const float HI = P10F(ID);
  if (A <= LO || A >= HI) {
    build(L, "(1P,1E", IW, ID, TAIL);
    return VAL;
  }
  // Step 3: fixed point, one decimal less per power of ten, two more below 0.1.
  int G = static_cast<int>(std::log10(A));  // 1e-50 <= A < 1e99: no overflow
  if (G < 0) G = G - 1;
  // Decimals that a two-digit field cannot hold (huge values once 10**ID overflows in
  // single precision, ID >= 39) take the scientific form as well.
  const int IDD = ID - G;
  if (IDD <= ID + 2 && IDD >= 0 && IDD <= 99) build(L, "(   1F", IW, IDD, TAIL);
  else build(L, "(1P,1E", IW, ID, TAIL);
  return VAL;
}

void room(std::span<char> BUF, int IPOS, int N) {
  if (IPOS < 1 || N < 0 || static_cast<std::size_t>(IPOS - 1) + static_cast<std::size_t>(N) > BUF.size())
    throw std::logic_error("buffer writer beyond the end of its buffer");
}

}  // namespace

void SETLAB(Run& run, int KUNIT) {
  Labels& LAB = run.m.LAB;
  if (KUNIT == 1) {
    LAB.ULENA.assign(" FT     ");
    LAB.ULENB.assign("FT      ");
    LAB.ULENS.assign("IN");
    LAB.UFOR3B.assign("LBS");
    LAB.ULEN3.assign(" IN");
    LAB.UFOR4.assign(" LBS");
    LAB.ULEN2.assign("IN");
    LAB.UFOR3.assign("LBS");
  } else if (KUNIT == -1) {
    LAB.ULENA.assign("  M     ");
    LAB.ULENB.assign(" M      ");
    LAB.ULENS.assign("MM");
    LAB.UFOR3B.assign(" KN");
    LAB.ULEN3.assign("  M");
    LAB.UFOR4.assign("  KN");
    LAB.ULEN2.assign(" M");
    LAB.UFOR3.assign(" KN");
  } else {
    LAB.ULENA.assign("  L     ");
    LAB.ULENB.assign(" L      ");
    LAB.ULENS.assign(" L");
    LAB.UFOR3B.assign("  F");
    LAB.ULEN3.assign("  L");
    LAB.UFOR4.assign("   F");
    LAB.ULEN2.assign(" L");
    LAB.UFOR3.assign("  F");
  }
  LAB.USLASH.assign("/");
  LAB.UDASH.assign("-");
  LAB.UPOW.assign("**");
  LAB.USQ.assign("2");
  LAB.UCUBE.assign("3  ");
  LAB.UFOURTH.assign("4");
  LAB.URAD.assign("RAD");
}

void WREAL(Run& run, int LU, int IW, int ID, double VAL) {
  Layout50 L;
  const double V = REALRULE(L, IW, ID, VAL, 1, ",\\)");
  io::write(run, LU, L.F, V);
}

void WINT(Run& run, int LU, int IW, int IVAL) {
  Layout50 L;
  build(L, "(    I", IW, -1, ",\\)");
  io::write(run, LU, L.F, IVAL);
}

void WBLANK(Run& run, int LU, int N) {
  for (int I = 1; I <= N; ++I) io::write(run, LU, R"((1H ,\))");
}

void WSTR256(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((1H ,A256,1H ,\))", TEXT); }
void WSTR10(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((1H ,A10,1H ,\))", TEXT); }
void WSTR6(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((1H ,A6,1H ,\))", TEXT); }
void WCHR1(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((A1,\))", TEXT); }
void WCHR2(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((A2,\))", TEXT); }
void WCHR3(Run& run, int LU, std::string_view TEXT) { io::write(run, LU, R"((A3,\))", TEXT); }

void WCHARS(Run& run, int LU, std::string_view TEXT) {
  while (!TEXT.empty() && TEXT.back() == ' ') TEXT.remove_suffix(1);
  for (std::size_t I = 0; I < TEXT.size(); ++I) io::write(run, LU, R"((A1,\))", TEXT.substr(I, 1));
}

void WEOL(Run& run, int LU) { io::write(run, LU, "(1H )"); }

void BREAL(std::span<char> BUF, int& IPOS, int IW, int ID, double VAL) {
  room(BUF, IPOS, IW);
  Layout50 L;
  const double V = REALRULE(L, IW, ID, VAL, 3, ")");
  io::format_to_text(BUF.subspan(static_cast<std::size_t>(IPOS - 1), static_cast<std::size_t>(IW)), L.F, V);
  IPOS += IW;
}

void BBLANK(std::span<char> BUF, int& IPOS, int N) {
  if (N < 1) return;
  room(BUF, IPOS, N);
  for (int I = 0; I < N; ++I) BUF[static_cast<std::size_t>(IPOS - 1 + I)] = ' ';
  IPOS += N;
}

void BCHARS(std::span<char> BUF, int& IPOS, int N, std::string_view TEXT) {
  if (N < 1) return;
  room(BUF, IPOS, N);
  for (int I = 0; I < N; ++I)
    BUF[static_cast<std::size_t>(IPOS - 1 + I)] = static_cast<std::size_t>(I) < TEXT.size() ? TEXT[static_cast<std::size_t>(I)] : ' ';
  IPOS += N;
}

double CVDIV3(double X) { return X; }
double CVDIV6(double X) { return X; }
double CVMUL3(double X) { return X; }
double CVMUL6(double X) { return X; }
double CVMUL12(double X) { return X; }
double CVDIV3B(double X) { return X; }
