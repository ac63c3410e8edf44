// unit.h -- inside io: one logical unit (a file, a text in memory or the console) and
// the list-directed reader that takes its records.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "io/edit.h"
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
  std::FILE* fp = nullptr;  // a file once written: opened at the first write, truncating
  // Input: the whole text, the start of the next record and its line number.
  std::string in;
  bool loaded = false;
  std::size_t inpos = 0;
  int line = 1;

  // The next record without its line end ("\n" or "\r\n"); false at end of file.
  bool next_line(std::string_view& line_out);
  // The name used in input messages: the path, or nothing for an anonymous text.
  std::string_view name() const { return path; }
};

// One list-directed READ from the unit into the targets (InputError on bad input).
void list_read(Unit& u, const Rec& rec, const Target* targets, std::size_t n);
// The real that a list-directed READ takes from a field showing s; false when the READ
// would refuse it (nothing shown, or beyond the doubles).
bool shown_value(const edit::Shown& s, double& out);

}  // namespace io
