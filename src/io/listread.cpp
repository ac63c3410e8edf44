// listread.cpp -- list-directed READ: values separated by blanks, tabs or a comma, r*v and
// r* repetitions, null values that leave an item unchanged, a slash that ends the READ,
// quoted texts, records continued onto the following lines and values left over on the
// last line ignored. Numbers are taken as gfortran takes them; a bad value throws
// InputError naming the file, the line, the record and the value.
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "io/unit.h"

namespace io {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }
bool separator(char c) { return blank(c) || c == ',' || c == '/'; }
bool digit(char c) { return c >= '0' && c <= '9'; }


// An integer: optional sign and digits only, within 32 bits.
enum class Conv { OK, SYNTAX, RANGE, NONFINITE };

Conv to_int(std::string_view t, int& out) {
  std::size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  if (i == t.size()) return Conv::SYNTAX;
  long long v = 0;
  bool big = false;
  for (; i < t.size(); ++i) {
    if (!digit(t[i])) return Conv::SYNTAX;
    if (!big) {
      v = v * 10 + (t[i] - '0');
      if (v > 2147483648LL) big = true;
    }
  }
  if (neg) v = -v;
  if (big || v > INT_MAX || v < INT_MIN) return Conv::RANGE;
  out = static_cast<int>(v);
  return Conv::OK;
}

bool ieq(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

// A real as gfortran reads it: [sign] digits [. digits] or [sign] . digits, then an
// optional exponent: a letter E, D or Q with an optional sign, or a sign alone, and
// digits. Inf, Infinity and NaN are read by gfortran but are not finite numbers here;
// neither is a value beyond the range of a double. A value below the smallest denormal
// becomes zero of its sign, as in gfortran.
Conv to_real(std::string_view t, double& out) {
  std::size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  {
    std::string_view w = t.substr(i);
    const std::size_t paren = w.find('(');
    if (ieq(w, "inf") || ieq(w, "infinity") || ieq(w, "nan") ||
        (paren == 3 && ieq(w.substr(0, 3), "nan") && w.back() == ')'))
      return Conv::NONFINITE;
  }
  // Mantissa digits (without the point), the position of the point, the exponent.
  char buf[512];
  std::size_t nb = 0;
  if (neg) buf[nb++] = '-';
  int ndig = 0, lead_zero = 0, int_digits = 0, dropped = 0;
  bool point = false, nonzero = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (digit(c)) {
      ++ndig;
      if (!point) ++int_digits;
      if (c != '0') nonzero = true;
      else if (!nonzero) ++lead_zero;
      if (nb < sizeof buf - 40) buf[nb++] = c;
      else if (!point) ++dropped;  // digits beyond 470 only move the point
    } else if (c == '.' && !point) {
      point = true;
      if (nb < sizeof buf - 40) buf[nb++] = '.';
    } else {
      break;
    }
  }
  if (ndig == 0) return Conv::SYNTAX;
  long long ex = 0;
  if (i < t.size()) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[i])));
    if (c == 'E' || c == 'D' || c == 'Q') ++i;
    else if (c != '+' && c != '-') return Conv::SYNTAX;
    bool eneg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) eneg = t[i++] == '-';
    if (i == t.size()) return Conv::SYNTAX;
    for (; i < t.size(); ++i) {
      if (!digit(t[i])) return Conv::SYNTAX;
      if (ex < 100000000) ex = ex * 10 + (t[i] - '0');
    }
    if (eneg) ex = -ex;
  }
  if (!nonzero) {
    out = neg ? -0.0 : 0.0;
    return Conv::OK;
  }
  buf[nb++] = 'e';
  nb = static_cast<std::size_t>(std::to_chars(buf + nb, buf + sizeof buf, ex + dropped).ptr - buf);
  double v = 0;
  const auto r = std::from_chars(buf, buf + nb, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Magnitude about 10**mag: below the doubles it is zero, above them not finite.
    const long long mag = int_digits - lead_zero + ex;
    if (mag < 0) {
      out = neg ? -0.0 : 0.0;
      return Conv::OK;
    }
    return Conv::NONFINITE;
  }
  if (r.ec != std::errc() || r.ptr != buf + nb) return Conv::SYNTAX;
  if (!std::isfinite(v)) return Conv::NONFINITE;
  out = v;
  return Conv::OK;
}

// Address of element e of a target.
const void* address(const Target& tg, std::size_t e) {
  switch (tg.kind) {
    case Target::INT:
    case Target::INTS: return tg.ip + e;
    case Target::REAL:
    case Target::REALS: return tg.rp + e;
    case Target::TEXT: break;
  }
  return tg.cp;
}

// Element e of a target as list-directed output writes it, without the leading blank.
std::string value_text(const Target& tg, std::size_t e) {
  Item it;
  switch (tg.kind) {
    case Target::INT:
    case Target::INTS: it = to_item(tg.ip[e]); break;
    case Target::REAL:
    case Target::REALS: it = to_item(tg.rp[e]); break;
    case Target::TEXT: {
      std::string_view v(tg.cp, tg.n);
      while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
      return "'" + std::string(v) + "'";
    }
  }
  std::string t = list_format_items(&it, 1);
  while (!t.empty() && t.front() == ' ') t.erase(0, 1);
  return t;
}

class Reader {
 public:
  Reader(Unit& u, const Rec& rec, Watch* w) : u_(u), rec_(rec), w_(w) {}

  void read(const Target* targets, std::size_t n) {
    if (n == 0) {  // a READ without items passes over one record
      std::string_view l;
      if (!u_.next_line(l)) eof();
      u_.last = RecordSpan{u_.line - 1, u_.line - 1, 0};
      return;
    }
    fetch_first();
    struct Pending {
      std::string where, value;
    };
    std::vector<Pending> pend;
    int first = 0;
    for (std::size_t t = 0; t < n && !(done_ && !w_); ++t) {
      const Target& tg = targets[t];
      const std::size_t count = tg.kind == Target::TEXT ? 1 : tg.n;
      for (std::size_t e = 0; e < count && !(done_ && !w_); ++e) {
        ++k_;
        bool assigned = false;
        if (!done_) {
          if (rep_ == 0) next_value();
          if (first == 0) first = lineno_;
          if (!done_) {
            --rep_;
            if (!null_) {
              assign(tg, e);
              assigned = true;
            }
          }
        }
        if (w_ == nullptr) continue;
        // Values after a slash or of a null value keep what they held: reported when no
        // READ has assigned them since the watch began.
        const void* p = address(tg, e);
        if (!w_->covers(p)) continue;
        if (assigned) {
          w_->assigned.insert(p);
        } else if (!w_->assigned.count(p)) {
          pend.push_back({where(lineno_) + record_and_value(), value_text(tg, e)});
        }
      }
    }
    // The rest of the current line is passed over: the next READ starts on a new line.
    u_.last = RecordSpan{first > 0 ? first : lineno_, lineno_, done_ ? 0 : left_over()};
    if (w_ && w_->hook)
      for (const Pending& p : pend) w_->hook(Kept{p.where, p.value});
  }

 private:
  Unit& u_;
  const Rec& rec_;
  Watch* w_;
  std::string_view line_;
  std::size_t col_ = 0;
  int lineno_ = 0;      // line of line_
  int k_ = 0;           // value being filled, from 1
  bool after_value_ = false;  // a comma now separates; otherwise it gives a null value
  bool done_ = false;   // a slash ended the READ
  long rep_ = 0;        // repetitions left of the current value
  bool null_ = false;
  std::string_view tok_;     // the value as written (for numbers and messages)
  bool quoted_ = false;
  std::string text_;         // a quoted text, quotes removed
  int tok_line_ = 0;

  std::string where(int line) const {
    std::string m = u_.name().empty() ? std::string() : printable(u_.name()) + ", ";
    m += "line " + std::to_string(line) + ": ";
    return m;
  }
  std::string record_and_value() const {
    std::string m(rec_.what);
    if (rec_.n > 0) m += " " + std::to_string(rec_.n);
    m += ", value " + std::to_string(k_);
    const std::string_view nm = nth_name(rec_.names, k_);
    if (!nm.empty()) m += " (" + std::string(nm) + ")";
    return m;
  }
  [[noreturn]] void eof() const {
    std::string m = where(u_.line) + "end of file in " + std::string(rec_.what);
    if (rec_.n > 0) m += " " + std::to_string(rec_.n);
    if (k_ > 0) {
      m += ", value " + std::to_string(k_);
      const std::string_view nm = nth_name(rec_.names, k_);
      if (!nm.empty()) m += " (" + std::string(nm) + ")";
    }
    throw InputError(m, true);
  }
  [[noreturn]] void fail(const char* what) const {
    throw InputError(where(tok_line_) + record_and_value() + ": " + what + ", found '" + printable(tok_, 64) + "'", false);
  }

  // Values left on the current line after the last one taken: words between blanks
  // and commas, up to a slash. A repeat r*v left over counts once.
  int left_over() const {
    int n = 0;
    std::size_t i = col_;
    while (i < line_.size()) {
      while (i < line_.size() && (blank(line_[i]) || line_[i] == ',')) ++i;
      if (i >= line_.size() || line_[i] == '/') break;
      ++n;
      while (i < line_.size() && !separator(line_[i])) ++i;
    }
    return n;
  }

  bool fetch() {
    if (!u_.next_line(line_)) return false;
    col_ = 0;
    lineno_ = u_.line - 1;
    return true;
  }
  void fetch_first() {
    k_ = 1;
    if (!fetch()) eof();
    k_ = 0;
  }

  // Blanks and line ends up to the next character of a value or separator.
  void skip_blanks() {
    for (;;) {
      while (col_ < line_.size() && blank(line_[col_])) ++col_;
      if (col_ < line_.size()) return;
      if (!fetch()) eof();
    }
  }

  void next_value() {
    null_ = false;
    quoted_ = false;
    rep_ = 1;
    for (;;) {
      skip_blanks();
      const char c = line_[col_];
      if (c == ',') {
        ++col_;
        if (after_value_) {
          after_value_ = false;
          continue;
        }
        null_ = true;
        return;
      }
      if (c == '/') {
        ++col_;
        done_ = true;
        return;
      }
      break;
    }
    after_value_ = true;
    tok_line_ = lineno_;
    const std::size_t start = col_;
    // r*v or r*: a repeat count is digits followed by '*'.
    std::size_t j = col_;
    while (j < line_.size() && digit(line_[j])) ++j;
    if (j > col_ && j < line_.size() && line_[j] == '*') {
      long r = 0;
      for (std::size_t q = col_; q < j; ++q) r = r < 100000000 ? r * 10 + (line_[q] - '0') : r;
      tok_ = line_.substr(start, j + 1 - start);
      if (r == 0) fail("repeat count 0");
      rep_ = r;
      col_ = j + 1;
      if (col_ >= line_.size() || separator(line_[col_])) {
        null_ = true;
        return;
      }
    }
    if (line_[col_] == '\'' || line_[col_] == '"') {
      quoted(start);
      return;
    }
    const std::size_t vs = col_;
    while (col_ < line_.size() && !separator(line_[col_])) ++col_;
    tok_ = line_.substr(vs, col_ - vs);
  }

  // A quoted text: a doubled quote stands for one; a text may go on over line ends, which
  // add nothing to it. The closing quote must be followed by a separator.
  void quoted(std::size_t start) {
    const char q = line_[col_++];
    quoted_ = true;
    text_.clear();
    for (;;) {
      if (col_ >= line_.size()) {
        if (!fetch()) eof();
        continue;
      }
      const char c = line_[col_++];
      if (c == q) {
        if (col_ < line_.size() && line_[col_] == q) {
          text_ += q;
          ++col_;
          continue;
        }
        break;
      }
      text_ += c;
    }
    const std::size_t from = lineno_ == tok_line_ ? start : 0;
    tok_ = line_.substr(from, col_ - from);
    if (col_ < line_.size() && !separator(line_[col_])) {
      while (col_ < line_.size() && !separator(line_[col_])) ++col_;
      tok_ = line_.substr(from, col_ - from);
      fail("expected a text, bad closing quote");
    }
  }

  void assign(const Target& tg, std::size_t e) {
    switch (tg.kind) {
      case Target::INT:
      case Target::INTS: {
        int v = 0;
        const Conv c = quoted_ ? Conv::SYNTAX : to_int(tok_, v);
        if (c == Conv::RANGE) fail("integer out of range");
        if (c != Conv::OK) fail("expected an integer");
        tg.ip[e] = v;
        return;
      }
      case Target::REAL:
      case Target::REALS: {
        double v = 0;
        const Conv c = quoted_ ? Conv::SYNTAX : to_real(tok_, v);
        if (c == Conv::NONFINITE) fail("expected a finite real");
        if (c != Conv::OK) fail("expected a real");
        tg.rp[e] = v;
        return;
      }
      case Target::TEXT: {
        const std::string_view v = quoted_ ? std::string_view(text_) : tok_;
        for (std::size_t i = 0; i < tg.n; ++i) tg.cp[i] = i < v.size() ? v[i] : ' ';
        return;
      }
    }
  }
};

}  // namespace

// The k-th blank-separated word of names (k from 1), or nothing.
std::string_view nth_name(std::string_view names, int k) {
  std::size_t i = 0;
  for (int w = 1;; ++w) {
    while (i < names.size() && names[i] == ' ') ++i;
    if (i >= names.size()) return {};
    std::size_t j = i;
    while (j < names.size() && names[j] != ' ') ++j;
    if (w == k) return names.substr(i, j - i);
    i = j;
  }
}

void list_read(Unit& u, const Rec& rec, const Target* targets, std::size_t n, Watch* w) {
  Reader(u, rec, w).read(targets, n);
}

// A decimal of at most 15 digits and a power of ten within the exact powers of a double
// is one correctly rounded product or quotient, as the conversion of its text gives it;
// anything else goes through that conversion.
bool shown_value(const edit::Shown& s, double& out) {
  static constexpr double P10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (s.n < 0) return false;
  if (s.N > 0 && s.N <= (std::uint64_t{1} << 53) && s.q >= -22 && s.q <= 22) {  // the digits as formed
    const double v = s.q >= 0 ? static_cast<double>(s.N) * P10[s.q] : static_cast<double>(s.N) / P10[-s.q];
    out = s.neg ? -v : v;
    return true;
  }
  int i = 0, n = s.n, q = s.q;
  while (i < n && s.d[i] == '0') ++i;
  if (i == n) {
    out = s.neg ? -0.0 : 0.0;
    return true;
  }
  while (s.d[n - 1] == '0') {
    --n;
    ++q;
  }
  if (n - i <= 15 && q >= -22 && q <= 22) {
    std::uint64_t M = 0;
    for (int k = i; k < n; ++k) M = M * 10 + static_cast<std::uint64_t>(s.d[k] - '0');
    const double v = q >= 0 ? static_cast<double>(M) * P10[q] : static_cast<double>(M) / P10[-q];
    out = s.neg ? -v : v;
    return true;
  }
  char t[64];
  std::size_t nt = 0;
  if (s.neg) t[nt++] = '-';
  for (int k = i; k < n; ++k) t[nt++] = s.d[k];
  t[nt++] = 'e';
  nt = static_cast<std::size_t>(std::to_chars(t + nt, t + sizeof t, q).ptr - t);
  return to_real(std::string_view(t, nt), out) == Conv::OK;
}

}  // namespace io
