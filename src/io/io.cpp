// io.cpp -- logical units: files opened by name with status "UNKNOWN", texts in memory,
// the console; formatted and list-directed WRITEs into their records; fixed-width reads.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "io/edit.h"
#include "io/unit.h"

namespace io {

namespace {

// Buffered output is written out beyond FLUSH_AT; the buffer of a file, reserved once,
// holds that and the records that may follow before the next write, so it never grows
// (a run writes its files through a few small buffers, not through growing copies).
constexpr std::size_t FLUSH_AT = 1 << 14;
constexpr std::size_t BUFFER = FLUSH_AT + FLUSH_AT / 2;

std::string trim_path(std::string_view p) {
  while (!p.empty() && (p.back() == ' ' || p.back() == '\0')) p.remove_suffix(1);
  return std::string(p);
}

std::string quoted(const Unit& u) { return u.what + " '" + printable(u.path) + "'"; }

[[noreturn]] void file_error(const char* verb, const Unit& u, int err) {
  throw FileError(std::string("cannot ") + verb + " " + quoted(u) + ": " + std::strerror(err));
}

[[noreturn]] void kind_error(const Unit& u, const char* need) {
  throw FileError("cannot open " + quoted(u) + ": it is " + kind_text(u.path) + ", not " + need);
}

// Closes a descriptor that is given up; its error can change nothing any more.
void drop(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

void check_unit(int unit) {
  if (unit < 0 || unit >= MXUNIT) throw std::logic_error("unit number " + std::to_string(unit) + " out of range");
}

// Records finished by a WRITE go to the unit's output.
class UnitSink final : public edit::Sink {
 public:
  UnitSink(Unit& u, const bool& capture) : Sink(u.rec), u_(u), capture_(capture) {}

 protected:
  void emit(const char* text, std::size_t n) override {
    u_.out.append(text, n);
    u_.out += '\n';
    if (u_.kind == Unit::CONSOLE && !capture_) {
      std::fwrite(u_.out.data(), 1, u_.out.size(), stderr);
      u_.out.clear();
    }
  }

 private:
  Unit& u_;
  const bool& capture_;
};

// Records built into a string: separated by '\n', no final newline.
class TextSink final : public edit::Sink {
 public:
  TextSink(std::string& rec, std::string& text) : Sink(rec), text_(text) {}

 protected:
  void emit(const char* text, std::size_t n) override {
    text_.append(text, n);
    text_ += '\n';
  }

 private:
  std::string& text_;
};

// An internal file of one record.
class InternalSink final : public edit::Sink {
 public:
  explicit InternalSink(std::string& rec) : Sink(rec) {}

 protected:
  void emit(const char*, std::size_t) override { throw std::logic_error("internal write of more than one record"); }
};

}  // namespace

bool Unit::next_line(std::string_view& line_out) {
  if (inpos >= in.size()) return false;
  std::size_t nl = in.find('\n', inpos);
  if (nl == std::string::npos) nl = in.size();
  std::string_view l(in.data() + inpos, nl - inpos);
  if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
  line_out = l;
  inpos = nl + 1;
  ++line;
  return true;
}

struct Units::Impl {
  Unit units[MXUNIT];
  bool capture = false;
  Watch watch;
  int obsunit = -1;  // the unit observed, and its observer
  Observer observer;

  Unit& get(int unit) {
    check_unit(unit);
    Unit& u = units[unit];
    if (u.kind == Unit::CLOSED) throw std::logic_error("unit " + std::to_string(unit) + " is not open");
    return u;
  }

  // Buffered output of a file unit to its file: a regular file is emptied at the first
  // write (an OPEN that is never written leaves the file as it was). A device is never
  // waited for: a write it cannot take at once is a failure.
  void flush(Unit& u) {
    if (u.kind != Unit::FILE || u.out.empty()) return;
    if (u.reading || u.fd < 0) {
      u.out.clear();
      throw FileError("cannot write " + quoted(u) + ": it is open to be read");
    }
    if (!u.truncated) {
      if (!u.device && ::ftruncate(u.fd, 0) != 0) {
        const int err = errno;
        u.out.clear();
        file_error("write", u, err);
      }
      u.truncated = true;
    }
    const char* p = u.out.data();
    std::size_t left = u.out.size();
    while (left > 0) {
      const ssize_t k = ::write(u.fd, p, left);
      if (k < 0 && errno == EINTR) continue;
      if (k <= 0) {
        const int err = k < 0 ? errno : EIO;
        u.out.clear();
        if (err == EAGAIN || err == EWOULDBLOCK)
          throw FileError("cannot write " + quoted(u) + ": the device does not take the output at once");
        file_error("write", u, err);
      }
      p += k;
      left -= static_cast<std::size_t>(k);
    }
    u.out.clear();
  }

  void after_write(Unit& u) {
    if (u.kind != Unit::FILE) return;
    if (u.out.size() >= FLUSH_AT) flush(u);
    else if (u.out.capacity() < BUFFER) u.out.reserve(BUFFER);
  }

  // The text of an input unit, read whole at its first read; its descriptor is then
  // given up.
  void load(Unit& u) {
    if (u.loaded) return;
    u.loaded = true;
    if (u.kind != Unit::FILE) return;
    if (u.fd < 0) file_error("read", u, EBADF);
    char buf[1 << 14];
    for (;;) {
      const ssize_t k = ::read(u.fd, buf, sizeof buf);
      if (k < 0 && errno == EINTR) continue;
      if (k < 0) {
        const int err = errno;
        drop(u.fd);
        file_error("read", u, err);
      }
      if (k == 0) break;
      u.in.append(buf, static_cast<std::size_t>(k));
    }
    drop(u.fd);
    // A UTF-8 byte-order mark written by some editors is not part of the first record.
    if (u.in.starts_with("\xEF\xBB\xBF")) u.in.erase(0, 3);
  }

  void end_record(Unit& u) {
    UnitSink s(u, capture);
    s.end_record();
    u.rec_open = false;
    after_write(u);
  }

  void close(Unit& u) {
    if (u.kind == Unit::CLOSED) return;
    if (u.rec_open || !u.rec.empty()) end_record(u);
    try {
      flush(u);
    } catch (const FileError&) {
      reset(u);
      throw;
    }
    int err = 0;
    if (u.fd >= 0 && ::close(u.fd) != 0 && errno != EINTR) err = errno;
    u.fd = -1;
    Unit named;
    named.what = u.what;
    named.path = u.path;
    reset(u);
    if (err) file_error("write", named, err);
  }

  // A closed unit keeps the text of a memory unit for text() until it is opened again.
  void reset(Unit& u) {
    const bool console = &u == &units[LCON];
    const bool keep = u.kind == Unit::MEM_OUT || console;
    drop(u.fd);
    u.reading = false;
    u.device = false;
    u.truncated = false;
    u.kind = console ? Unit::CONSOLE : Unit::CLOSED;
    u.rec.clear();
    u.rec_open = false;
    u.in.clear();
    u.loaded = false;
    u.inpos = 0;
    u.line = 1;
    u.last = RecordSpan{};
    if (!keep) u.out.clear();
  }
};

Units::Units() : p_(std::make_unique<Impl>()) {
  Unit& con = p_->units[LCON];
  con.kind = Unit::CONSOLE;
  con.path = "console";
  con.what = "console";
}

Units::~Units() {
  for (Unit& u : p_->units) {
    try {
      p_->close(u);
    } catch (const FileError&) {
      // nothing more can be done with a file that cannot be written when the units go
    }
  }
}

void Units::open(int unit, std::string_view path, std::string_view what, bool must_exist) {
  check_unit(unit);
  close(unit);
  Unit& u = p_->units[unit];
  p_->reset(u);
  u.out.clear();
  u.path = trim_path(path);
  u.what = std::string(what);
  if (u.path.empty()) throw FileError("cannot open " + u.what + ": no file name given");
  if (u.path.find('\0') != std::string::npos)
    throw FileError("cannot open " + quoted(u) + ": the name holds a NUL character");
  // Nothing here may wait: a FIFO without a writer would block an OPEN for reading, one
  // without a reader an OPEN for writing. O_NONBLOCK makes both return; the kind is then
  // checked on the descriptor itself.
  struct stat st;
  int fd = -1;
  if (must_exist) {
    fd = ::open(u.path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) file_error("open", u, errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      drop(fd);
      kind_error(u, "a regular file");
    }
    u.reading = true;
  } else {
    // An existing file of another kind is refused before it is opened at all.
    const bool exists = ::stat(u.path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) file_error("open", u, errno);
    if (exists && !S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode)) kind_error(u, "a regular file or a device");
    // Status "UNKNOWN": a missing file is created empty; an existing one is emptied at
    // the first write.
    fd = ::open(u.path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) file_error(exists ? "open" : "create", u, errno);
    if (::fstat(fd, &st) != 0 || (!S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode))) {
      drop(fd);
      kind_error(u, "a regular file or a device");
    }
    u.device = S_ISCHR(st.st_mode);
    u.loaded = true;  // a file being written reads as ended
  }
  u.fd = fd;
  u.kind = Unit::FILE;
}

void Units::close(int unit) {
  check_unit(unit);
  p_->close(p_->units[unit]);
}

void Units::close_all() {
  // Every unit is closed even when one of them fails; the first failure is reported.
  std::string first;
  for (Unit& u : p_->units) {
    try {
      p_->close(u);
    } catch (const FileError& e) {
      if (first.empty()) first = e.what();
    }
  }
  if (!first.empty()) throw FileError(first);
}

bool Units::is_open(int unit) const {
  check_unit(unit);
  return p_->units[unit].kind != Unit::CLOSED;
}

std::string Units::path(int unit) const {
  check_unit(unit);
  return p_->units[unit].path;
}

void Units::open_memory_input(int unit, std::string_view name, std::string_view text) {
  check_unit(unit);
  close(unit);
  Unit& u = p_->units[unit];
  p_->reset(u);
  u.kind = Unit::MEM_IN;
  u.path = std::string(name);
  u.what = "file";
  u.in = std::string(text);
  // As for a file: a byte-order mark is not part of the first record.
  if (u.in.starts_with("\xEF\xBB\xBF")) u.in.erase(0, 3);
  u.loaded = true;
}

void Units::open_memory_output(int unit, std::string_view name) {
  check_unit(unit);
  close(unit);
  Unit& u = p_->units[unit];
  p_->reset(u);
  u.out.clear();
  u.kind = Unit::MEM_OUT;
  u.path = std::string(name);
  u.what = "file";
}

std::string Units::text(int unit) const {
  check_unit(unit);
  const Unit& u = p_->units[unit];
  return u.out + (u.rec_open || !u.rec.empty() ? u.rec : std::string());
}

void Units::capture_console() { p_->capture = true; }

int Units::line(int unit) const {
  check_unit(unit);
  return p_->units[unit].line;
}

RecordSpan Units::last_record(int unit) const {
  check_unit(unit);
  return p_->units[unit].last;
}

int Units::next_data_line(int unit) {
  Unit& u = p_->get(unit);
  p_->load(u);
  std::size_t pos = u.inpos;
  int line = u.line;
  while (pos < u.in.size()) {
    std::size_t nl = u.in.find('\n', pos);
    if (nl == std::string::npos) nl = u.in.size();
    for (std::size_t i = pos; i < nl; ++i)
      if (u.in[i] != ' ' && u.in[i] != '\t' && u.in[i] != '\r') return line;
    pos = nl + 1;
    ++line;
  }
  return 0;
}

void Units::write_items(int unit, const char* layout, const Item* items, std::size_t n) {
  Unit& u = p_->get(unit);
  if (u.kind == Unit::MEM_IN) throw std::logic_error("write to input unit " + std::to_string(unit));
  const edit::Layout& lay = edit::layout_of(layout);
  UnitSink s(u, p_->capture);
  if (edit::run_layout(lay, items, n, s)) {
    s.settle();
    u.rec_open = true;
  } else {
    s.end_record();
    u.rec_open = false;
  }
  p_->after_write(u);
}

void Units::list_write_items(int unit, const Item* items, std::size_t n) {
  Unit& u = p_->get(unit);
  if (u.kind == Unit::MEM_IN) throw std::logic_error("write to input unit " + std::to_string(unit));
  UnitSink s(u, p_->capture);
  edit::run_list(items, n, s);
  s.end_record();
  u.rec_open = false;
  p_->after_write(u);
}

namespace {

// The values of a held WRITE as a list-directed READ of its record gives them back: each
// value's field holds one number (with blanks around it), the numbers stand apart, and
// nothing but blanks stands between the fields or after the last. Assigns the reals only
// when every value reads back.
bool held_back(std::string_view rec, const edit::Held& held, const Item* items, double* const* dst,
               std::size_t n) {
  if (!held.ok || static_cast<std::size_t>(held.n) != n) return false;
  double v[edit::MXHELD];
  std::size_t prev = 0;  // end of the previous field
  std::size_t pend = 0;  // end of the previous number
  for (std::size_t i = 0; i < n; ++i) {
    const edit::HeldField& f = held.f[i];
    const edit::Shown& sh = f.shown;
    if (sh.n < 0 || sh.len <= 0 || f.from < prev || f.to > rec.size()) return false;
    for (std::size_t c = prev; c < f.from; ++c)
      if (rec[c] != ' ') return false;
    const std::size_t t = f.from + static_cast<std::size_t>(sh.lead);
    const std::size_t e = t + static_cast<std::size_t>(sh.len);
    if (e > f.to || (i > 0 && t == pend)) return false;
    prev = f.to;
    pend = e;
    if (items[i].kind == Item::REAL) {
      if (!shown_value(sh, v[i])) return false;
    } else if (items[i].kind != Item::INT || sh.i < INT32_MIN || sh.i > INT32_MAX) {
      return false;
    }
  }
  for (std::size_t c = prev; c < rec.size(); ++c)
    if (rec[c] != ' ') return false;
  for (std::size_t i = 0; i < n; ++i)
    if (dst[i] != nullptr && items[i].kind == Item::REAL) *dst[i] = v[i];
  return true;
}

}  // namespace

bool Units::write_items_held(int unit, const char* layout, const Item* items, double* const* dst, std::size_t n) {
  Unit& u = p_->get(unit);
  if (u.kind == Unit::MEM_IN) throw std::logic_error("write to input unit " + std::to_string(unit));
  const edit::Layout& lay = edit::layout_of(layout);
  UnitSink s(u, p_->capture);
  edit::Held held;
  bool ok = false;
  if (edit::run_layout(lay, items, n, s, &held)) {
    s.settle();
    u.rec_open = true;
  } else {
    ok = s.ended() == 0 && held_back(s.record(), held, items, dst, n);
    s.end_record();
    u.rec_open = false;
  }
  p_->after_write(u);
  return ok;
}

bool Units::list_write_items_held(int unit, const Item* items, double* const* dst, std::size_t n) {
  Unit& u = p_->get(unit);
  if (u.kind == Unit::MEM_IN) throw std::logic_error("write to input unit " + std::to_string(unit));
  UnitSink s(u, p_->capture);
  edit::Held held;
  edit::run_list(items, n, s, &held);
  const bool ok = held_back(s.record(), held, items, dst, n);
  s.end_record();
  u.rec_open = false;
  p_->after_write(u);
  return ok;
}

void Units::list_read_targets(int unit, const Rec& rec, const Target* targets, std::size_t n) {
  Unit& u = p_->get(unit);
  p_->load(u);
  Watch* w = p_->watch.unit == unit ? &p_->watch : nullptr;
  io::list_read(u, rec, targets, n, w);
  if (p_->obsunit == unit) p_->observer(u.last, rec, std::span<const Target>(targets, n));
}

void Units::observe(int unit, Observer hook) {
  check_unit(unit);
  p_->obsunit = hook ? unit : -1;
  p_->observer = std::move(hook);
}

void Units::watch_kept(int unit, const void* begin, std::size_t size, std::function<void(const Kept&)> hook) {
  check_unit(unit);
  Watch& w = p_->watch;
  w.unit = unit;
  w.lo = static_cast<const char*>(begin);
  w.hi = w.lo + size;
  w.assigned.clear();
  w.hook = std::move(hook);
}

void Units::unwatch_kept() {
  p_->watch.unit = -1;
  p_->watch.assigned.clear();
  p_->watch.hook = nullptr;
}

void Units::note_set(const void* p) {
  if (p_->watch.unit >= 0 && p_->watch.covers(p)) p_->watch.assigned.insert(p);
}

bool Units::read_a(int unit, const Rec& rec, int w, char* dst, std::size_t n) {
  Unit& u = p_->get(unit);
  p_->load(u);
  std::string_view line;
  const int at = u.line;
  if (!u.next_line(line)) {
    std::string msg = u.path.empty() ? std::string() : printable(u.path) + ", ";
    msg += "line " + std::to_string(at) + ": end of file in " + std::string(rec.what);
    if (rec.n > 0) msg += " " + std::to_string(rec.n);
    throw InputError(msg, true);
  }
  // The field is the first w characters, blank padded to w. A field at least as long as
  // the variable gives its rightmost n characters (Fortran's rule for Aw), a shorter one
  // is blank padded on the right.
  u.last = RecordSpan{at, at, 0};
  const std::size_t uw = w > 0 ? static_cast<std::size_t>(w) : 0;
  auto field = [&](std::size_t i) { return i < line.size() ? line[i] : ' '; };
  const std::size_t from = uw >= n ? uw - n : 0;
  for (std::size_t k = 0; k < n; ++k) dst[k] = from + k < uw ? field(from + k) : ' ';
  if (p_->obsunit == unit) {
    Target t;
    t.kind = Target::TEXT;
    t.cp = dst;
    t.n = n;
    p_->observer(u.last, rec, std::span<const Target>(&t, 1));
  }
  for (std::size_t i = uw; i < line.size(); ++i)
    if (line[i] != ' ' && line[i] != '\t' && line[i] != '\0') return true;
  return false;
}

// ---------------------------------------------------------------------------
std::string printable(std::string_view text, std::size_t max) {
  static const char HEX[] = "0123456789ABCDEF";
  std::string s;
  const std::size_t n = std::min(text.size(), max);
  for (std::size_t i = 0; i < n;) {
    const auto c = static_cast<unsigned char>(text[i]);
    // Length of a well-formed UTF-8 sequence starting here (0: not one).
    std::size_t len = 0;
    if (c >= 0x20 && c < 0x7F) len = 1;
    else if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) len = 3;
    else if (c >= 0xF0 && c <= 0xF4) len = 4;
    for (std::size_t k = 1; k < len; ++k)
      if (i + k >= n || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) len = 0;
    if (len == 0) {
      s += "\\x";
      s += HEX[c >> 4];
      s += HEX[c & 15];
      ++i;
    } else {
      s.append(text.substr(i, len));
      i += len;
    }
  }
  if (n < text.size()) s += "...";
  return s;
}

std::string format_items(const char* layout, const Item* items, std::size_t n) {
  std::string rec, text;
  TextSink s(rec, text);
  edit::run_layout(edit::layout_of(layout), items, n, s);
  text += s.rec();
  return text;
}

void format_into(char* dst, std::size_t len, const char* layout, const Item* items, std::size_t n) {
  thread_local std::string rec;
  rec.clear();
  InternalSink s(rec);
  edit::run_layout(edit::layout_of(layout), items, n, s);
  s.rec();
  if (rec.size() > len) throw std::logic_error(std::string("internal write longer than its text: ") + layout);
  std::memcpy(dst, rec.data(), rec.size());
  std::memset(dst + rec.size(), ' ', len - rec.size());
}

std::string list_format_items(const Item* items, std::size_t n) {
  std::string rec, text;
  TextSink s(rec, text);
  edit::run_list(items, n, s);
  return s.rec();
}

void list_parse(std::string_view text, const Rec& rec, const Target* targets, std::size_t n) {
  Unit u;
  u.kind = Unit::MEM_IN;
  u.in = std::string(text);
  u.loaded = true;
  list_read(u, rec, targets, n);
}

}  // namespace io
