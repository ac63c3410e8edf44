// io.h -- the engine's file runtime: logical units opened by name, output through
// layouts in edit-descriptor notation, list-directed reads and writes, fixed-width
// text reads and the clock. Numbers come out exactly as gfortran prints them.
// io knows nothing about walls: callers name a unit, a layout and the values.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace io {

// ---------------------------------------------------------------------------
// Values handed to a write: an integer, a real, a text or a logical (T or F under Lw).
// Items only point at the caller's data for the duration of one call; nothing is copied
// or kept.
struct Item {
  enum Kind : std::uint8_t { INT, REAL, TEXT, INTS, REALS, LOGICAL } kind = INT;
  std::int64_t i = 0;
  double r = 0;
  std::string_view s;
  const int* ip = nullptr;     // INTS: ip[0..n-1]
  const double* rp = nullptr;  // REALS: rp[0..n-1]
  std::size_t n = 0;
};
inline Item to_item(int v) { Item t; t.kind = Item::INT; t.i = v; return t; }
inline Item to_item(long v) { Item t; t.kind = Item::INT; t.i = v; return t; }
inline Item to_item(long long v) { Item t; t.kind = Item::INT; t.i = v; return t; }
inline Item to_item(double v) { Item t; t.kind = Item::REAL; t.r = v; return t; }
inline Item to_item(float v) { Item t; t.kind = Item::REAL; t.r = v; return t; }
inline Item to_item(std::string_view v) { Item t; t.kind = Item::TEXT; t.s = v; return t; }
inline Item to_item(const char* v) { return to_item(std::string_view(v)); }
inline Item to_item(const std::string& v) { return to_item(std::string_view(v)); }
inline Item to_item(bool v) { Item t; t.kind = Item::LOGICAL; t.i = v ? 1 : 0; return t; }
inline Item to_item(std::span<const int> v) { Item t; t.kind = Item::INTS; t.ip = v.data(); t.n = v.size(); return t; }
inline Item to_item(std::span<const double> v) { Item t; t.kind = Item::REALS; t.rp = v.data(); t.n = v.size(); return t; }

// Fixed-length character variable, blank padded like CHARACTER*N.
template <int N>
struct Chars {
  char c[N];
  Chars() { fill(' '); }
  Chars(std::string_view v) { assign(v); }
  Chars& operator=(std::string_view v) { assign(v); return *this; }
  void fill(char ch) { for (char& x : c) x = ch; }
  void assign(std::string_view v) {  // first N characters, blank padded
    for (int k = 0; k < N; ++k) c[k] = k < static_cast<int>(v.size()) ? v[k] : ' ';
  }
  std::string_view view() const { return {c, static_cast<std::size_t>(N)}; }
  std::string_view trimmed() const {  // without trailing blanks
    int n = N;
    while (n > 0 && c[n - 1] == ' ') --n;
    return {c, static_cast<std::size_t>(n)};
  }
  operator std::string_view() const { return view(); }
  bool operator==(std::string_view v) const { return trimmed() == v; }
};
template <int N>
Item to_item(const Chars<N>& v) { return to_item(v.view()); }

// ---------------------------------------------------------------------------
// Values filled by a read. A list-directed read leaves an item unchanged when its
// value is null (",,", "r*" or after a slash).
struct Target {
  enum Kind : std::uint8_t { INT, REAL, TEXT, INTS, REALS } kind = INT;
  int* ip = nullptr;
  double* rp = nullptr;
  char* cp = nullptr;  // TEXT: blank-padded buffer of n characters
  std::size_t n = 1;
};
inline Target to_target(int& v) { Target t; t.kind = Target::INT; t.ip = &v; return t; }
inline Target to_target(double& v) { Target t; t.kind = Target::REAL; t.rp = &v; return t; }
inline Target to_target(std::span<int> v) { Target t; t.kind = Target::INTS; t.ip = v.data(); t.n = v.size(); return t; }
inline Target to_target(std::span<double> v) { Target t; t.kind = Target::REALS; t.rp = v.data(); t.n = v.size(); return t; }
template <int N>
Target to_target(Chars<N>& v) { Target t; t.kind = Target::TEXT; t.cp = v.c; t.n = N; return t; }

// How a record is named in messages: what = "second control record" or "wall
// section" with n = 3 ("wall section 3"); names = the item names separated by blanks
// ("NI H DMAX ..."), the k-th naming value k. Array targets count one value per element.
struct Rec {
  Rec(std::string_view what_, int n_ = 0, std::string_view names_ = {}) : what(what_), n(n_), names(names_) {}
  std::string_view what;
  int n = 0;
  std::string_view names = {};
};
// The k-th blank-separated word of names (k from 1): the name of a record's k-th field;
// nothing past the last.
std::string_view nth_name(std::string_view names, int k);

// Where the last READ of an input unit found its record: the line of its first value
// (of its first line when it had none), the line it ended on, and the number of values
// left unread on that last line (none after a slash). Messages name the record by its
// line; a record spread over lines or with values left over hints at a record missing
// or given twice above it.
struct RecordSpan {
  int first = 0;
  int last = 0;
  int left = 0;
};

// Malformed or missing input. The message names the file, the line, the record and
// the value: "in.dat, line 3: second control record, value 2 (H): expected a real,
// found 'x'". eof is set when the file ended before the record was complete.
class InputError : public std::runtime_error {
 public:
  InputError(const std::string& msg, bool at_eof) : std::runtime_error(msg), eof(at_eof) {}
  bool eof;
};

// A file that cannot be opened, read or written ("cannot open report file 'x': ...").
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text from a file or a user, fit for a message: bytes that do not print (control
// characters, DEL, bytes outside well-formed UTF-8) are shown as \xNN; beyond max bytes
// of the text, "..." stands for the rest.
std::string printable(std::string_view text, std::size_t max = std::string_view::npos);

// What a path names, found without opening, creating or changing anything.
struct FileId {
  enum Kind : std::uint8_t {
    MISSING,      // nothing there yet; its directory exists
    REGULAR,      // a regular file
    DEVICE,       // a character device (/dev/null, a terminal)
    OTHER,        // a directory, FIFO, socket or block device
    UNREACHABLE,  // its directory is missing or cannot be searched (err says why)
  };
  Kind kind = MISSING;
  unsigned long long dev = 0, ino = 0;  // device and inode of an existing file
  std::string resolved;  // absolute, symbolic links resolved; for a missing file its
                         // directory resolved and its name (a dangling link followed)
  int err = 0;
};
// Trailing blanks of the path are ignored, as OPEN ignores them.
FileId identify(std::string_view path);
// Two paths naming one file: the same device and inode when both exist, else the same
// resolved path.
bool same_file(const FileId& a, const FileId& b);
// Kind of a file as messages name it: "a regular file", "a FIFO", "a directory", ...
std::string kind_text(std::string_view path);

// A value that a list-directed READ left unchanged (a null value, or an item after a
// slash) at an address that no READ of the watched unit has assigned since the watch
// began, so that its value comes from before: where names it as messages do
// ("in.dat, line 3: second control record, value 8 (ITMAX)"), value is the value kept
// as list-directed output writes it (without its leading blank).
struct Kept {
  std::string where;
  std::string value;
};

// ---------------------------------------------------------------------------
// A parsed layout, cached by the address of its text: callers pass string literals.
struct Layout;

// Local date and time for report headers.
struct Clock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// The local time now; SOURCE_DATE_EPOCH, when set to a number of seconds, gives the
// time instead (as UTC), so reports can be reproduced.
Clock now();

constexpr int MXUNIT = 100;  // unit numbers 0..99
constexpr int LCON = 0;      // the console: standard error, or a capture in tests

// The logical units of one run. Unit 0 is the console; every other unit is opened by
// name, with status "UNKNOWN" semantics: a missing file is created, an existing file is
// read from its start or, at the first write, overwritten from its start. Input lines end
// with "\n" or "\r\n"; output records end with "\n". Output is buffered and written at
// CLOSE (or when the buffer is full): a write that fails raises FileError there. Using a
// unit that is not open, or a unit number outside 0..99, is a std::logic_error.
class Units {
 public:
  Units();
  ~Units();
  Units(const Units&) = delete;
  Units& operator=(const Units&) = delete;

  // OPEN(unit, FILE=path, STATUS='UNKNOWN'). A unit already open is closed first.
  // what names the file in messages ("input data file"). must_exist: the file is only
  // read; it must be a regular file (a missing one is a FileError instead of being
  // created). Otherwise the file is written: a regular file (created when missing) or a
  // character device, which is written without ever waiting (a write it cannot take at
  // once is a FileError). Anything else (a FIFO, a directory, a socket), a name holding
  // a NUL character, or a name without characters is a FileError. Opening never waits.
  void open(int unit, std::string_view path, std::string_view what = "file", bool must_exist = false);
  // CLOSE(unit): an open output record is ended, buffered output written; no effect on a
  // unit that is not open.
  void close(int unit);
  void close_all();
  bool is_open(int unit) const;
  std::string path(int unit) const;

  // In-memory units for tests: an input unit reading the given text, an output unit whose
  // records are kept in memory and returned by text(unit).
  void open_memory_input(int unit, std::string_view name, std::string_view text);
  void open_memory_output(int unit, std::string_view name);
  std::string text(int unit) const;  // everything written to a memory unit (or the console capture)
  // Send console output (unit 0) to memory instead of standard error.
  void capture_console();

  // Line number (1-based) of the record that the next read of an input unit takes.
  int line(int unit) const;
  // Where the last READ of an input unit found its record (all 0 before the first).
  RecordSpan last_record(int unit) const;
  // The line of the next line of an input unit that holds more than blanks, 0 when none
  // is left. Nothing is read.
  int next_data_line(int unit);

  // Core operations behind the templates below.
  void write_items(int unit, const char* layout, const Item* items, std::size_t n);
  void list_write_items(int unit, const Item* items, std::size_t n);
  void list_read_targets(int unit, const Rec& rec, const Target* targets, std::size_t n);
  // write_held and list_write_held: one scalar item per value, dst[i] the variable of a
  // real value to replace (nullptr: none).
  bool write_items_held(int unit, const char* layout, const Item* items, double* const* dst, std::size_t n);
  bool list_write_items_held(int unit, const Item* items, double* const* dst, std::size_t n);
  // Read one record with an Aw edit descriptor: the first w characters of the line,
  // blank padded to the length of dst (n characters); a field wider than dst gives its
  // rightmost n characters, as Fortran does. Throws InputError at end of file. Returns
  // true when the line goes on beyond the field with other characters than blanks, tabs
  // or NULs (the record was cut).
  bool read_a(int unit, const Rec& rec, int w, char* dst, std::size_t n);

  // Watch the list-directed READs of one unit: from now on every value a READ of it
  // leaves unchanged at an address in [begin, begin + size) that no READ of it has
  // assigned since this call goes to hook, once the READ is complete. A new watch
  // replaces the old one and forgets what was assigned.
  void watch_kept(int unit, const void* begin, std::size_t size, std::function<void(const Kept&)> hook);
  void unwatch_kept();

  // Observe the READs of one unit: after each list-directed READ and each Aw read of it
  // is complete, hook gets where the record was, how it is named and its targets as the
  // READ left them (an Aw read as one TEXT target). For a listing of the input as it was
  // taken; a READ that fails calls nothing. A new observer replaces the old one; a null
  // hook ends the observing. Without an observer a READ costs nothing more.
  using Observer = std::function<void(const RecordSpan&, const Rec&, std::span<const Target>)>;
  void observe(int unit, Observer hook);
  // A value at p was set from this run's input in another way than by a READ (a copy of
  // a value read): a null value there later is not reported.
  void note_set(const void* p);

  struct Impl;

 private:
  std::unique_ptr<Impl> p_;
};

// Format values with a layout into text, as write() would put them on a fresh unit:
// records separated by '\n', no final newline. For tests and for building lines.
std::string format_items(const char* layout, const Item* items, std::size_t n);
// WRITE to an internal text of len characters (a CHARACTER*len variable): one record,
// blank padded to len. A layout that writes more than len characters or more than one
// record is a programming error (std::logic_error).
void format_into(char* dst, std::size_t len, const char* layout, const Item* items, std::size_t n);
// List-directed output of the values as one record, without newline.
std::string list_format_items(const Item* items, std::size_t n);
// List-directed read of one record (continued on following lines of text) into targets.
void list_parse(std::string_view text, const Rec& rec, const Target* targets, std::size_t n);

// ---------------------------------------------------------------------------
// WRITE(unit, layout) values...   e.g. write(u, 6, R"((/,6X,"Stage No :",I2,2X,A70))", NPROB, TITLE1)
// Format control as gfortran: after the last value, literals, X and / are processed up to
// the next data edit descriptor (a WRITE without values stops at the first one), a colon
// stops at once; values left at the end of the layout start a new record and resume at
// the last top-level group. \ or $ keeps the last record open for the next WRITE.
// A value whose type does not fit its descriptor, or a malformed layout, is a
// std::logic_error.
template <class... A>
void write(Units& u, int unit, const char* layout, const A&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  u.write_items(unit, layout, items, sizeof...(A));
}
// WRITE(unit, *) values...  one list-directed record
template <class... A>
void list_write(Units& u, int unit, const A&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  u.list_write_items(unit, items, sizeof...(A));
}

// The same WRITEs, to a file that the run reads back: afterwards each real given as a
// variable holds the value that a list-directed READ of the record gives for it, the
// number its field shows, so the run takes the values without reading the file again.
// False, with the values left as given, when the record would not read back value for
// value: a field that shows no number (Inf, NaN, asterisks), a number beyond the doubles,
// two fields that touch, other text in the record, more than one record.
inline double* held_target(double& v) { return &v; }
template <class T>
double* held_target(const T&) { return nullptr; }
template <class... A>
bool write_held(Units& u, int unit, const char* layout, A&&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  double* const dst[sizeof...(A) + 1] = {held_target(a)...};
  return u.write_items_held(unit, layout, items, dst, sizeof...(A));
}
template <class... A>
bool list_write_held(Units& u, int unit, A&&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  double* const dst[sizeof...(A) + 1] = {held_target(a)...};
  return u.list_write_items_held(unit, items, dst, sizeof...(A));
}
// READ(unit, *) targets...  one list-directed READ: one record, continued as needed
template <class... A>
void list_read(Units& u, int unit, const Rec& rec, A&&... a) {
  const Target t[sizeof...(A) + 1] = {to_target(a)...};
  u.list_read_targets(unit, rec, t, sizeof...(A));
}
template <int N>
bool read_a(Units& u, int unit, const Rec& rec, int w, Chars<N>& dst) {
  return u.read_a(unit, rec, w, dst.c, N);
}
template <class... A>
std::string format(const char* layout, const A&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  return format_items(layout, items, sizeof...(A));
}
template <class... A>
void format_to_text(std::span<char> dst, const char* layout, const A&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  format_into(dst.data(), dst.size(), layout, items, sizeof...(A));
}
template <class... A>
std::string list_format(const A&... a) {
  const Item items[sizeof...(A) + 1] = {to_item(a)...};
  return list_format_items(items, sizeof...(A));
}
template <class... A>
void list_parse_into(std::string_view text, const Rec& rec, A&&... a) {
  const Target t[sizeof...(A) + 1] = {to_target(a)...};
  list_parse(text, rec, t, sizeof...(A));
}

}  // namespace io
