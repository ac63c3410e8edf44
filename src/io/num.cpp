// num.cpp -- numbers in Iw.m, Fw.d, Ew.dEe under a scale factor, and the list-directed
// integer and real fields, character for character as gfortran writes them.
// Every digit comes from std::to_chars: correctly rounded digits of the exact binary value,
// ties to even, as the C library's printf that gfortran calls (round_fixed, round_sig, and
// round_left_of_point for gfortran's own rounding under a negative scale factor).
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "io/edit.h"

namespace io::edit {

namespace {

int fill(char* buf, char c, int n) {
  for (int i = 0; i < n; ++i) buf[i] = c;
  return n;
}

// A few characters into a field buffer, eight at a time: the field buffers (FIELD_MAX)
// and digit buffers have room beyond what is copied; what lands there is overwritten by
// the characters that follow or left out of the field.
void copy8(char* dst, const char* src, int n) {
  for (int i = 0; i < n; i += 8) std::memcpy(dst + i, src + i, 8);
}
int blanks8(char* dst, int n) {
  for (int i = 0; i < n; i += 8) std::memcpy(dst + i, "        ", 8);
  return n;
}

// What a field shows: a real (sign) d1..dn * 10**q written in the len characters from
// lead, or nothing to take back.
void show_real(Shown* sh, bool neg, const Digits& D, int n, int q, int lead, int len) {
  if (sh == nullptr) return;
  if (n > static_cast<int>(sizeof sh->d)) {
    sh->n = -1;
    return;
  }
  const char* d = D.d;
  sh->N = D.N;
  sh->neg = neg;
  sh->n = n;
  sh->q = q;
  sh->lead = lead;
  sh->len = len;
  std::memcpy(sh->d, d, sizeof sh->d);  // d has room beyond its n digits
}
int shows_none(Shown* sh, int len) {
  if (sh != nullptr) sh->n = -1;
  return len;
}

// Digits of `text` without the point, leading zeros removed, into out.
void take_digits(const char* first, const char* last, Digits& out) {
  out.n = 0;
  for (const char* p = first; p < last; ++p) {
    if (*p < '0' || *p > '9') continue;
    if (out.n == 0 && *p == '0') continue;
    out.d[out.n++] = *p;
  }
}

// The powers of ten that a double holds exactly.
constexpr double P10X[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::uint64_t P10U[] = {1u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u, 10000000u, 100000000u,
                                  1000000000u, 10000000000u, 100000000000u, 1000000000000u, 10000000000000u,
                                  100000000000000u, 1000000000000000u, 10000000000000000u,
                                  100000000000000000u, 1000000000000000000u, 10000000000000000000u};

// x * y = p + e exactly (Dekker's product, without fused operations; no overflow or
// underflow in the range it is used).
void two_product(double x, double y, double& p, double& e) {
  constexpr double SPLIT = 134217729.0;  // 2**27 + 1
  p = x * y;
  const double cx = SPLIT * x, xh = cx - (cx - x), xl = x - xh;
  const double cy = SPLIT * y, yh = cy - (cy - y), yl = y - yh;
  e = ((xh * yh - p) + xh * yl + xl * yh) + xl * yl;
}

// N = round(a * 10**k), ties to even, for a normal a > 0, |k| <= 22 and a result below
// 10**15, decided exactly: for k >= 0 a * 10**k is y + dy exactly (error-free product);
// for k < 0 the quotient y = a / 10**-k is correctly rounded, within bound of the exact
// one, which settles every case but those within bound of a half-way point. False when
// it cannot be decided so (out of range, or too near a half-way point).
bool round_scaled(double a, int k, std::uint64_t& N) {
  if (!(a >= std::numeric_limits<double>::min()) || k < -22 || k > 22) return false;
  double y, dy = 0;
  double bound = 0;
  if (k >= 0) {
    two_product(a, P10X[k], y, dy);
  } else {
    y = a / P10X[-k];
    bound = y * 0x1p-52;  // at least half a unit of y
  }
  if (!(y < 1e15)) return false;
  const std::uint64_t whole = static_cast<std::uint64_t>(y);  // floor: 0 <= y < 2**50
  const double t = (y - static_cast<double>(whole)) - 0.5;    // exact for y >= 0.25; far from 0 otherwise
  bool up;
  if (k >= 0) {
    up = t > -dy || (t == -dy && (whole & 1) != 0);
  } else {
    if (t > bound) up = true;
    else if (t < -bound) up = false;
    else return false;
  }
  N = whole + (up ? 1 : 0);
  return true;
}

// N = round(m * 2**-s * 10**k), ties to even, for 0 <= k <= 22 and 0 < s < 128, in
// exact integer arithmetic on 128 bits (m * 10**k stays below 2**127 for m < 2**53).
// The wider fields (16 and 17 significant digits) take this way.
bool round_wide(std::uint64_t m, int s, int k, std::uint64_t& N) {
  if (k < 0 || k > 22 || s <= 0 || s >= 128) return false;
  // 64 x 64 -> 128 bits.
  auto mul = [](std::uint64_t x, std::uint64_t y, std::uint64_t& hi, std::uint64_t& lo) {
    const std::uint64_t x0 = x & 0xffffffffu, x1 = x >> 32, y0 = y & 0xffffffffu, y1 = y >> 32;
    const std::uint64_t p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    lo = (mid << 32) | (p00 & 0xffffffffu);
  };
  constexpr std::uint64_t P19 = P10U[19];
  std::uint64_t hi = 0, lo = 0;
  if (k <= 19) {
    mul(m, P10U[k], hi, lo);
  } else {
    std::uint64_t h1 = 0, l1 = 0, h2 = 0;
    mul(m, P10U[k - 19], h1, l1);  // h1 = 0: m * 1000 < 2**64
    mul(l1, P19, h2, lo);
    hi = h2 + h1 * P19;
  }
  // N = (hi, lo) >> s; the bits shifted out decide the rounding.
  std::uint64_t q, rhi, rlo, half_hi, half_lo;
  if (s < 64) {
    q = (lo >> s) | (hi << (64 - s));
    if (hi >> s != 0) return false;  // N beyond 64 bits
    rhi = 0;
    rlo = lo & ((std::uint64_t{1} << s) - 1);
    half_hi = 0;
    half_lo = std::uint64_t{1} << (s - 1);
  } else {
    q = s == 64 ? hi : hi >> (s - 64);
    rhi = s == 64 ? 0 : hi & ((std::uint64_t{1} << (s - 64)) - 1);
    rlo = lo;
    half_hi = s == 64 ? 0 : std::uint64_t{1} << (s - 65);
    half_lo = s == 64 ? std::uint64_t{1} << 63 : 0;
  }
  const bool above = rhi > half_hi || (rhi == half_hi && rlo > half_lo);
  const bool tie = rhi == half_hi && rlo == half_lo;
  N = q + ((above || (tie && (q & 1) != 0)) ? 1 : 0);
  return true;
}

// The n digits of N > 0 (n: its number of digits, or 0 to count them), two at a time
// from the right, in 32 bits once N fits.
int digits_of(std::uint64_t N, char* d, int n = 0) {
  static constexpr char PAIRS[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  if (n == 0) {
    n = 1;
    while (n < 20 && N >= P10U[n]) ++n;
  }
  int i = n;
  while (N > 0xffffffffu) {
    const std::size_t r = static_cast<std::size_t>(N % 100) * 2;
    N /= 100;
    d[--i] = PAIRS[r + 1];
    d[--i] = PAIRS[r];
  }
  std::uint32_t M = static_cast<std::uint32_t>(N);
  while (M >= 100) {
    const std::uint32_t r = M % 100 * 2;
    M /= 100;
    d[--i] = PAIRS[r + 1];
    d[--i] = PAIRS[r];
  }
  if (M >= 10) {
    d[--i] = PAIRS[M * 2 + 1];
    d[--i] = PAIRS[M * 2];
  } else {
    d[--i] = static_cast<char>('0' + M);
  }
  return n;
}

}  // namespace

// round(a * 10**places), places >= 0, a >= 0: exactly by round_scaled when it can, else
// to_chars rounds at that decimal place.
void round_fixed(double a, int places, Digits& out) {
  out.exp = 0;
  std::uint64_t N = 0;
  if (a == 0 || (round_scaled(a, places, N) && N == 0)) {
    out.n = 0;
    return;
  }
  if (N > 0) {
    out.n = digits_of(N, out.d);
    out.N = N;
    return;
  }
  char buf[FIELD_MAX];
  auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, places);
  take_digits(buf, r.ptr, out);
}

// First `sig` significant digits of a > 0; a ~ 0.d1d2...dsig * 10**exp. Up to 15 digits
// exactly by round_scaled, 16 and 17 by round_wide, when they can; else to_chars rounds
// them.
void round_sig(double a, int sig, Digits& out) {
  if (sig <= 17 && a >= std::numeric_limits<double>::min()) {
    // a = m * 2**(e2 - 52); 10**(E-1) <= a < 10**E, E from e2, or one less.
    std::uint64_t b;
    std::memcpy(&b, &a, sizeof b);
    const int e2 = static_cast<int>((b >> 52) & 0x7ff) - 1023;
    const std::uint64_t m = (b & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    int E = (e2 >= 0 ? (e2 * 78913) >> 18 : -(((-e2) * 78913) >> 18) - 1) + 1;  // floor(e2 log10 2) + 1
    auto scaled = [&](std::uint64_t& N) {
      return sig <= 15 ? round_scaled(a, sig - E, N) : round_wide(m, 52 - e2, sig - E, N);
    };
    std::uint64_t N = 0;
    const std::uint64_t TOP = P10U[sig];
    bool ok = scaled(N);
    if (ok && N > TOP) {
      ++E;
      ok = scaled(N);
    }
    if (ok && N >= TOP / 10 && N <= TOP) {
      if (N == TOP) {  // rounded up to the next power of ten
        N = TOP / 10;
        ++E;
      }
      out.n = digits_of(N, out.d, sig);
      out.exp = E;
      out.N = N;
      return;
    }
  }
  char buf[FIELD_MAX];
  auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, sig - 1);
  const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<std::size_t>(r.ptr - buf)));
  out.n = 0;
  for (const char* p = buf; p < e; ++p)
    if (*p != '.') out.d[out.n++] = *p;
  int x = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, x);
  out.exp = x + 1;
}

// F under a negative scale factor that puts the rounding place left of the point
// (d + k < 0). gfortran rounds such a field itself, to nearest with ties to even, on the
// digits that printf gives with 20 guard places, in a buffer of w + places + 3 bytes.
// When the integer digits of the value outnumber w, that buffer cuts the printed digits
// short and gfortran, finding no exact tie, rounds a tie away from zero.
namespace {
void round_left_of_point(double a, int w, int places, Digits& out) {
  const int guard = places + 20 > 0 ? places + 20 : 0;
  char buf[FIELD_MAX];
  auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, guard);
  const int len = static_cast<int>(r.ptr - buf);
  const char* dot = static_cast<const char*>(std::memchr(buf, '.', static_cast<std::size_t>(len)));
  const int nint = dot ? static_cast<int>(dot - buf) : len;
  // Digits without the point; those the short buffer keeps.
  char dig[FIELD_MAX];
  int nd = 0;
  for (int i = 0; i < len; ++i)
    if (buf[i] != '.') dig[nd++] = buf[i];
  const bool cut = w > 0 && nint > w;
  const int keep = nint + places;  // digits before the rounding place
  out.n = 0;
  out.exp = 0;
  if (keep < 0) return;
  bool up = false;
  if (keep < nd) {
    const char first = dig[keep];
    bool rest_nonzero = cut;
    for (int i = keep + 1; i < nd && !rest_nonzero; ++i) rest_nonzero = dig[i] != '0';
    if (first > '5' || (first == '5' && rest_nonzero)) up = true;
    else if (first == '5') up = keep > 0 && (dig[keep - 1] - '0') % 2 == 1;
  }
  char num[FIELD_MAX];
  int n = 0;
  num[n++] = '0';  // room for a carry
  for (int i = 0; i < keep; ++i) num[n++] = dig[i];
  if (up) {
    int i = n - 1;
    while (num[i] == '9') num[i--] = '0';
    ++num[i];
  }
  take_digits(num, num + n, out);
}
}  // namespace

// Iw.m: m digits at least (m = 0 and a zero value: blanks only); w = 0 the minimal width.
int put_int(char* buf, std::int64_t v, int w, int m, Shown* sh) {
  const bool neg = v < 0;
  const std::uint64_t u = neg ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  char dig[24];
  int nd = 0;
  if (!(m == 0 && u == 0)) nd = static_cast<int>(std::to_chars(dig, dig + sizeof dig, u).ptr - dig);
  const int nzero = m > nd ? m - nd : 0;
  const int len = nzero + nd + (neg ? 1 : 0);
  if (w == 0) w = len > 0 ? len : 1;
  if (len > w) return shows_none(sh, fill(buf, '*', w));
  int p = blanks8(buf, w - len);
  if (neg) buf[p++] = '-';
  p += fill(buf + p, '0', nzero);
  copy8(buf + p, dig, nd);
  if (sh != nullptr) {
    sh->n = 0;
    sh->i = v;
    sh->lead = w - len;
    sh->len = len;
  }
  return w;
}

// Inf and NaN as gfortran writes them in a real field of width w.
int put_infnan(char* buf, double v, int w) {
  const bool neg = std::signbit(v);
  const bool nan = std::isnan(v);
  int nb = w;
  if (nb == 0) nb = nan ? 3 : (neg ? 4 : 3);
  if (nb < 3) return fill(buf, '*', nb);
  fill(buf, ' ', nb);
  if (nan) {
    std::memcpy(buf + nb - 3, "NaN", 3);
    return nb;
  }
  if (neg && nb == 3) return fill(buf, '*', nb);
  const int mark = neg ? 8 : 7;
  if (nb > mark) std::memcpy(buf + nb - 8, "Infinity", 8);
  else std::memcpy(buf + nb - 3, "Inf", 3);
  if (neg) buf[nb > 8 ? nb - 9 : nb - 4] = '-';
  return nb;
}

// Fw.d under the scale factor k (the value times 10**k). gfortran keeps the minus sign of
// a negative zero and of a negative value that rounds to zero, and writes the zero before
// the point only when the width leaves room for it.
int put_f(char* buf, double v, int w, int d, int k, Shown* sh) {
  if (!std::isfinite(v)) return shows_none(sh, put_infnan(buf, v, w));
  const bool neg = std::signbit(v);
  const double a = std::fabs(v);
  // At least w+1 digits before the point cannot fit: skip the digits of huge values.
  static constexpr double P10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (w > 0 && k == 0 && w <= 22 && a >= P10[w]) return shows_none(sh, fill(buf, '*', w));
  Digits D;
  if (d + k >= 0) round_fixed(a, d + k, D);
  else round_left_of_point(a, w, d + k, D);
  const int nbefore = D.n > d ? D.n - d : 0;
  if (w == 0) w = D.n == 0 ? d + (neg ? 2 : 1) + (d == 0 ? 1 : 0) : nbefore + d + 1 + (neg ? 1 : 0);
  int nblanks = w - (nbefore + d + 1) - (neg ? 1 : 0);
  const bool lead = nbefore == 0 && nblanks > 0;
  if (lead) --nblanks;
  if (nblanks < 0 || w == 1 || (w == 2 && neg)) return shows_none(sh, fill(buf, '*', w));
  int p = blanks8(buf, nblanks);
  if (neg) buf[p++] = '-';
  if (lead) buf[p++] = '0';
  copy8(buf + p, D.d, nbefore);
  p += nbefore;
  buf[p++] = '.';
  const int lz = d - (D.n - nbefore);  // zeros between the point and the digits
  p += fill(buf + p, '0', lz);
  copy8(buf + p, D.d + nbefore, D.n - nbefore);
  show_real(sh, neg, D, D.n, -d, nblanks, w - nblanks);
  return w;
}

// Ew.d[Ee] (ec = 'E') or Dw.d (ec = 'D') under the scale factor k: k > 0 gives k digits
// before the point and d-k+1 after, k <= 0 gives -k zeros after the point and d+k
// significant digits. Without Ee, an exponent of three digits drops the letter.
int put_e(char* buf, double v, int w, int d, int e, int k, char ec, Shown* sh) {
  if (k <= -d || k >= d + 2) throw std::logic_error("scale factor out of range for an E edit descriptor");
  if (!std::isfinite(v)) return shows_none(sh, put_infnan(buf, v, w));
  const bool neg = std::signbit(v);
  const double a = std::fabs(v);
  // The fields the reports are made of: scale factor 0 or 1, no exponent width, a
  // nonzero value whose exponent has two digits, the field wide enough.
  if ((k == 0 || k == 1) && e < 0 && a != 0 && w <= 40 && d <= 16) {
    Digits D;
    const int sig = d + k;
    round_sig(a, sig, D);
    const int ex = D.exp - k;
    const int nblanks = w - (d + 5 + k) - (neg ? 1 : 0);  // k = 1: d.ddd; k = 0: .ddd, and 0 if room
    if (ex > -100 && ex < 100 && nblanks >= 0) {
      const bool lead = k == 0 && nblanks > 0;
      const int nb = lead ? nblanks - 1 : nblanks;
      show_real(sh, neg, D, sig, D.exp - sig, nb, w - nb);
      char* p = buf + blanks8(buf, nb);
      if (neg) *p++ = '-';
      if (lead) *p++ = '0';
      if (k == 1) *p++ = D.d[0];
      *p++ = '.';
      copy8(p, D.d + k, d);
      p += d;
      *p++ = ec;
      const int ea = ex < 0 ? -ex : ex;
      *p++ = ex < 0 ? '-' : '+';
      *p++ = static_cast<char>('0' + ea / 10);
      *p = static_cast<char>('0' + ea % 10);
      return w;
    }
  }
  const int sig = k > 0 ? d + 1 : d + k;
  Digits D;
  int ex = 0;
  if (a == 0) {
    D.n = sig;
    fill(D.d, '0', sig);
  } else {
    round_sig(a, sig, D);
    ex = D.exp - k;
  }
  const int nbefore = k > 0 ? k : 0;
  const int nzero = k < 0 ? -k : 0;
  const int nafter = k > 0 ? d - k + 1 : d + k;
  const int ea = ex < 0 ? -ex : ex;
  const int edig = ea > 99 ? 3 : ea > 9 ? 2 : 1;
  bool letter = true;
  int edigits;  // letter, sign and digits of the exponent
  if (e < 0) {
    edigits = 4;
    if (ea > 99) letter = false;
  } else if (e == 0) {
    edigits = edig + 2;
  } else {
    if (edig > e) return shows_none(sh, fill(buf, '*', w));
    edigits = e + 2;
  }
  int nblanks = w - (nbefore + nzero + nafter + edigits + 1) - (neg ? 1 : 0);
  if (w == 0) nblanks = 0;
  const bool lead = nbefore == 0 && nblanks > 0;
  if (lead) --nblanks;
  if (w == 0) w = nbefore + nzero + nafter + edigits + 1 + (neg ? 1 : 0);
  if (nblanks < 0 || w == 1 || (w == 2 && neg)) return shows_none(sh, fill(buf, '*', w));
  show_real(sh, neg, D, sig, D.exp - sig, nblanks, w - nblanks);
  int p = blanks8(buf, nblanks);
  if (neg) buf[p++] = '-';
  if (lead) buf[p++] = '0';
  copy8(buf + p, D.d, nbefore);
  p += nbefore;
  buf[p++] = '.';
  p += fill(buf + p, '0', nzero);
  copy8(buf + p, D.d + nbefore, nafter);
  p += nafter;
  if (letter) {
    buf[p++] = ec;
    --edigits;
  }
  buf[p++] = ex < 0 ? '-' : '+';
  // The exponent's digits, right-justified in edigits - 1 places (ea < 1000).
  const int n = ea > 99 ? 3 : ea > 9 ? 2 : 1;
  p += fill(buf + p, '0', edigits - 1 - n);
  if (n == 3) buf[p++] = static_cast<char>('0' + ea / 100);
  if (n >= 2) buf[p++] = static_cast<char>('0' + ea / 10 % 10);
  buf[p] = static_cast<char>('0' + ea % 10);
  return w;
}

// List-directed integer: a default integer in 11 columns, a value beyond 32 bits in 20
// (gfortran's widths for integer kinds 4 and 8).
int put_list_int(char* buf, std::int64_t v, Shown* sh) {
  const bool wide = v < INT32_MIN || v > INT32_MAX;
  return put_int(buf, v, wide ? 20 : 11, -1, sh);
}

// List-directed REAL(8): 17 significant digits in 25 columns. Rounded values from 0.1 up
// to below 10**17 in fixed form followed by 5 blanks (where an exponent would stand),
// others in the form d.dddddddddddddddd E+eee.
int put_list_real(char* buf, double v, Shown* sh) {
  constexpr int W = 25, SIG = 17;
  if (!std::isfinite(v)) return shows_none(sh, put_infnan(buf, v, W));
  const bool neg = std::signbit(v);
  const double a = std::fabs(v);
  Digits D;
  if (a == 0) {
    D.n = SIG;
    fill(D.d, '0', SIG);
    D.exp = 1;
  } else {
    round_sig(a, SIG, D);
  }
  char t[48];
  int n = 0;
  if (neg) t[n++] = '-';
  if (D.exp >= 0 && D.exp <= SIG) {
    if (D.exp == 0) t[n++] = '0';
    copy8(t + n, D.d, D.exp);
    n += D.exp;
    t[n++] = '.';
    copy8(t + n, D.d + D.exp, SIG - D.exp);
    n += SIG - D.exp;
    show_real(sh, neg, D, SIG, D.exp - SIG, W - n - 5, n);
    n += blanks8(t + n, 5);
  } else {
    t[n++] = D.d[0];
    t[n++] = '.';
    copy8(t + n, D.d + 1, SIG - 1);
    n += SIG - 1;
    const int x = D.exp - 1;
    t[n++] = 'E';
    t[n++] = x < 0 ? '-' : '+';
    const int xa = x < 0 ? -x : x;
    t[n++] = static_cast<char>('0' + xa / 100);
    t[n++] = static_cast<char>('0' + xa / 10 % 10);
    t[n++] = static_cast<char>('0' + xa % 10);
    show_real(sh, neg, D, SIG, D.exp - SIG, W - n, n);
  }
  int p = blanks8(buf, W - n);
  copy8(buf + p, t, n);
  return W;
}

}  // namespace io::edit
