// unit.h -- inside io: one logical unit (a file, a text in memory or the console) and
// the list-directed reader that takes its records.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "io/io.h"

namespace io {

struct Unit {
  enum Kind : std::uint8_t { CLOSED, CONSOLE, FILE, MEM_IN, MEM_OUT };
  Kind kind = CLOSED;
  std::string path;  // file name as opened, trailing blanks removed; name of a memory unit
  std::string what;  // how messages name the file
  // Output: the record being built, then finished records waiting to be written (for a
  // memory unit or the console capture, everything written).
  std::string rec;
  bool rec_open = false;  // a record was kept open by \ or $
  std::string out;
  int fd = -1;            // descriptor of a file unit (an input file's until it is loaded)
  bool reading = false;   // a file opened to be read, never written
  bool device = false;    // a character device: written without waiting, never truncated
  bool truncated = false; // a regular file is emptied at its first write, not at OPEN
  // Input: the whole text, the start of the next record and its line number.
  std::string in;
  bool loaded = false;
  std::size_t inpos = 0;
  int line = 1;
  RecordSpan last;  // where the last READ found its record

  // The next record without its line end ("\n" or "\r\n"); false at end of file.
  bool next_line(std::string_view& line_out);
  // The name used in input messages: the path, or nothing for an anonymous text.
  std::string_view name() const { return path; }
};

// The watch of Units::watch_kept: the unit watched, the addresses watched, those a READ
// has assigned, and where kept values go.
struct Watch {
  int unit = -1;
  const char* lo = nullptr;
  const char* hi = nullptr;
  std::unordered_set<const void*> assigned;
  std::function<void(const Kept&)> hook;
  bool covers(const void* p) const {
    const char* c = static_cast<const char*>(p);
    return c >= lo && c < hi;
  }
};

// One list-directed READ from the unit into the targets (InputError on bad input); w,
// when given, learns what the READ assigned and receives what it kept.
void list_read(Unit& u, const Rec& rec, const Target* targets, std::size_t n, Watch* w = nullptr);

}  // namespace io
