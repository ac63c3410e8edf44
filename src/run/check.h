// check.h -- a reading of an input data file without its analysis, kept as data: every
// record read with its input lines, its name and its fields (name, value as read, unit),
// the facts of each problem that a user should confirm (the wall's length, the
// excavation depth, the widths, the curves per soil layer, the earth-pressure
// coefficient of each layer), then the warnings of the checks and the error that ended
// the reading. `branto check` prints it; other hosts take the data as it is.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"

// One value of a record: the field's name, the value as the READ left it (null values
// keep what the field held), its unit in the problem's unit system (none for counts,
// codes and ratios, and before the control record gives the unit system).
struct ListField {
  std::string name, value, unit;
};
// One record read: its problem, its first and last input line, the values left unread
// on its last line (a sign of a record given twice or with a value too many), its name
// as messages give it ("soil layer top record 2") and its fields.
struct ListRecord {
  int NPROB = 0;
  int first = 0, last = 0, left = 0;
  std::string what;
  std::vector<ListField> fields;
};
// A fact derived from a problem's input, as a name and a text ("wall length",
// "NI * H = 110 * 0.1 = 11 m, HWALL = 11 m").
struct ListFact {
  int NPROB = 0;
  std::string name, value;
};
struct InputListing {
  std::vector<ListRecord> records;
  std::vector<ListFact> facts;
  std::vector<std::string> warnings;  // texts of the WARNING lines, in order
  std::string error;                  // the error or stop that ended the reading, or nothing
  int problems = 0;                   // problems read
  int status = 0;                     // 0 clean, 1 warnings, 2 an error or a stop
};

// LSTINP -- read the input data file at path (LSTTXT: the input given as text, named
// name in messages) on the model m, as CHKRUN reads it: nothing is analysed and no file
// is written. The model keeps what the reading left.
InputListing LSTINP(Model& m, std::string_view path);
InputListing LSTTXT(Model& m, std::string_view name, std::string_view text);

// The unit of each field that has one, in English and in SI units: the record by the
// last part of its name ("record E2" of "cross section 1, record E2", "point" of "user p-y
// curve 3, point"), the field by its name. One table for the program; the input reference
// gives the same units.
struct FieldUnit {
  const char* record;
  const char* field;
  const char* english;
  const char* si;
};
std::span<const FieldUnit> UNITAB();
// The unit of a field of a record named what (as messages name it) under unit code
// IUNIT; empty when it has none.
std::string_view FLDUNT(std::string_view what, std::string_view field, int IUNIT);
