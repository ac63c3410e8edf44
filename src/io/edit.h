// edit.h -- inside io: numeric edit descriptors as gfortran applies them, the parsed
// layouts and the record being built. Not seen outside src/io.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "io/io.h"

namespace io::edit {

// Widest field a layout may give (w of I, F, E, A, L) and the largest d or scale factor:
// a numeric field is built in a stack buffer of FIELD_MAX characters.
constexpr int WMAX = 999;
constexpr int DMAX = 99;
constexpr int FIELD_MAX = 1400;

// Rounding of |v| (finite, >= 0) to decimal digits, correctly rounded from the exact
// binary value with ties to even, as gfortran's run time (through the C library) rounds.
// Every number printed is rounded here, by std::to_chars.
struct Digits {
  char d[800];  // decimal digits, no point; round_fixed drops leading zeros
  int n = 0;    // number of digits (round_fixed: 0 for a zero result)
  int exp = 0;  // round_sig: the value is 0.d1d2... * 10**exp
  std::uint64_t N = 0;  // the digits as an integer, when they were formed as one (else 0)
};
// round(a * 10**places) as an integer (places >= 0): its digits.
void round_fixed(double a, int places, Digits& out);
// The first `sig` significant digits (sig >= 1), a > 0; exp so a ~ 0.d1d2.. * 10**exp.
void round_sig(double a, int sig, Digits& out);

// The number a field shows, as a list-directed READ takes it back: an integer field its
// value i; a real field (sign) d1d2..dn * 10**q. The number stands in the len characters
// from lead in the field, blanks around it. n = -1: nothing to take back (Inf, NaN,
// asterisks, or more digits than d holds). The field writers set what they show.
struct Shown {
  bool neg;
  int n;
  int q;
  int lead, len;
  std::int64_t i;
  std::uint64_t N;  // d1..dn as an integer when the writer had it (else 0)
  char d[40];
};

// Fields. Each writes exactly its width (or, for w = 0, the minimal width) into buf and
// returns the number of characters; sh, when given, receives what the field shows.
int put_int(char* buf, std::int64_t v, int w, int m, Shown* sh = nullptr);                 // Iw, Iw.m (m < 0: none)
int put_f(char* buf, double v, int w, int d, int k, Shown* sh = nullptr);                  // Fw.d under kP
int put_e(char* buf, double v, int w, int d, int e, int k, char ec, Shown* sh = nullptr);  // Ew.d[Ee] under kP
int put_infnan(char* buf, double v, int w);
// List-directed items: the field without the separator in front.
int put_list_int(char* buf, std::int64_t v, Shown* sh = nullptr);
int put_list_real(char* buf, double v, Shown* sh = nullptr);

// ---------------------------------------------------------------------------
// A parsed layout: a flat list of edit descriptors with group brackets.
enum class Op : std::uint8_t {
  LIT,    // literal text lits[lit, lit+len)
  X,      // nX, TRn: move right n
  T,      // Tn: to column n
  TL,     // TLn: move left n
  SLASH,  // rep times: end the record
  COLON,  // stop when no item is left
  NOADV,  // \ or $: keep the last record open
  SCALE,  // kP
  I, F, E, D, A, L,
  OPEN,   // rep( ... ): other = index of the matching CLOSE
  CLOSE,  // other = index of the matching OPEN
};
struct Node {
  Op op = Op::LIT;
  int rep = 1;
  int w = 0, d = 0, e = -1, m = -1;  // w = -1 for A without width
  int k = 0;                         // SCALE
  std::uint32_t lit = 0, len = 0;    // LIT
  int other = 0;                     // OPEN / CLOSE partner
};
struct Layout {
  std::string text;         // the layout as written
  std::vector<Node> nodes;  // without the outer parentheses
  std::string lits;         // literal texts
  int revert = 0;           // index where reversion resumes: the last top-level group, or 0
  bool has_data = false;    // at least one data edit descriptor
};
// The parsed layout for this text: cached by address (checked against the text, so a
// buffer reused for another text is parsed again) and by content. Throws std::logic_error
// for a malformed layout.
const Layout& layout_of(const char* text);

// The record being written: characters placed at a column, blank filled, like a Fortran
// record buffer. end_record() passes a finished record on. A record is built in a buffer
// of the sink and goes to the string rec (the unit's open record) only when a WRITE keeps
// it open (settle), when asked for (rec), or when it outgrows the buffer.
class Sink {
 public:
  explicit Sink(std::string& rec) : rec_(rec), len_(rec.size()), pos_(len_), big_(len_ > CAP) {
    if (!big_) std::memcpy(buf_, rec.data(), len_);
  }
  virtual ~Sink() { sync(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  void put(const char* s, std::size_t n) {
    if (!big_ && pos_ + n <= CAP) {  // as nearly always
      if (pos_ > len_) std::memset(buf_ + len_, ' ', pos_ - len_);
      std::memcpy(buf_ + pos_, s, n);
      pos_ += n;
      if (pos_ > len_) len_ = pos_;
      return;
    }
    put_big(s, n);
  }
  void put(std::string_view s) { put(s.data(), s.size()); }
  void skip(int n) { pos_ += static_cast<std::size_t>(n); }
  void tab(int col) { pos_ = col > 0 ? static_cast<std::size_t>(col - 1) : 0; }
  void tab_left(int n) { pos_ = pos_ > static_cast<std::size_t>(n) ? pos_ - static_cast<std::size_t>(n) : 0; }
  void end_record() {
    if (big_) {
      emit(rec_.data(), rec_.size());
    } else {
      emit(buf_, len_);
    }
    rec_.clear();
    len_ = pos_ = 0;
    big_ = false;
    ++ended_;
  }
  // After a WRITE that keeps the record open, the next one continues after its last
  // character (pending blanks from X are dropped, as gfortran does).
  void settle() {
    sync();
    pos_ = rec_.size();
  }
  std::string& rec() {
    sync();
    return rec_;
  }
  std::string_view record() const { return big_ ? std::string_view(rec_) : std::string_view(buf_, len_); }
  std::size_t pos() const { return pos_; }
  int ended() const { return ended_; }  // records ended so far

 protected:
  virtual void emit(const char* text, std::size_t n) = 0;  // a finished record

 private:
  static constexpr std::size_t CAP = 2048;
  void sync() {
    if (!big_ && (len_ > 0 || !rec_.empty())) rec_.assign(buf_, len_);
  }
  void put_big(const char* s, std::size_t n);
  std::string& rec_;
  std::size_t len_, pos_;  // length of the record in buf_; column of the next character
  bool big_;               // the record is built in rec_ itself
  int ended_ = 0;
  char buf_[CAP];
};

// The fields of a WRITE whose values are handed back: where the field of each value
// stands in the record and what it shows. ok: every value took a numeric field, with no
// tabbing and within one record.
constexpr int MXHELD = 16;
struct HeldField {
  std::size_t from, to;
  Shown shown;
};
struct Held {
  HeldField f[MXHELD];
  int n = 0;
  bool ok = true;
};

// Run a layout over the values into the sink. Returns true when the layout asked to keep
// the last record open (\ or $); otherwise the caller ends it. held, when given, receives
// the fields of the values.
bool run_layout(const Layout& lay, const Item* items, std::size_t n, Sink& out, Held* held = nullptr);
// One list-directed WRITE of the values into the sink (the record is not ended).
void run_list(const Item* items, std::size_t n, Sink& out, Held* held = nullptr);

}  // namespace io::edit
