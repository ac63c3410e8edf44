// new.cpp -- `branto new TYPE [--si|--english]`: a starter input for a common case on
// standard output, ready to save and edit, and on standard error the values a user
// most likely changes first, listed as `branto check` lists them.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "commands.h"
#include "run/run.h"

namespace host {

namespace {

// A value to change: its input line, its field, and what it sets.
struct Knob {
  int line;
  const char* field;
  const char* what;
};

struct Starter {
  const char* type;
  const char* about;
  const char* si;
  const char* english;
  std::vector<Knob> knobs;  // the same lines and fields in both unit systems
};

const Starter STARTERS[] = {
    {"cantilever-sand",
     "cantilever sheet-pile wall in sand with a water table, analysed per metre (foot) of wall",
     R"(CANTILEVER SHEET-PILE WALL IN SAND WITH A WATER TABLE, SI UNITS
2 0 1 1 0 2 2 0 0 0 0 0
110 0.1 0.5 1.0E-5 4.0 1.0 11.0 100 0 0
0.0 11.0 1
1 1 6 0
'STEEL SHEET PILE, PER METRE OF WALL'
1.0 0.0 0.6 0.45 0.0 0.0 0.0 0.011
0.0 0.0 0.0 5.5E8 0.0 0.0 0.0 0.0 2.1E8 0.0 0.0 0
0 0 0.0 0 0
'Z-PROFILE 0.45 M'
1 0
0
0
4.0 1.0 1.0 3.0 4.0 1.0 1 0.0 0.0
10.0 0.0 0.0 0.0 0.0 0.0
0
2 1 0.0
4 3.0
18.0 0.0 35.0 0.0 0.0 0.0
0.0 0.0 35.0 0.0 0.0 0.0
4 20.0
20.0 0.0 35.0 0.0 0.0 0.0
0.0 0.0 35.0 0.0 0.0 33900.0
0
)",
     R"(CANTILEVER SHEET-PILE WALL IN SAND WITH A WATER TABLE, ENGLISH UNITS
1 0 1 1 0 2 2 0 0 0 0 0
72 6.0 20.0 1.0E-4 156.0 12.0 432.0 100 0 0
0.0 36.0 1
1 1 6 0
'STEEL SHEET PILE, PER FOOT OF WALL'
12.0 0.0 18.0 12.0 0.0 0.0 0.0 0.375
0.0 0.0 0.0 184.2 0.0 0.0 0.0 0.0 29.0E6 0.0 0.0 0
0 0 0.0 0 0
'PZ27'
1 0
0
0
156.0 12.0 12.0 120.0 156.0 1.0 1 0.0 0.0
1.45 0.0 0.0 0.0 0.0 0.0
0
2 1 0.0
4 120.0
0.0663 0.0 35.0 0.0 0.0 0.0
0.0 0.0 35.0 0.0 0.0 0.0
4 800.0
0.0737 0.0 35.0 0.0 0.0 0.0
0.0 0.0 35.0 0.0 0.0 125.0
0
)",
     {{3, "NI", "number of increments: NI * H is the length of the wall (change HWALL and XBOT with it)"},
      {3, "XEXC", "depth of the excavation (give HFREE the same value)"},
      {4, "XBOT", "bottom of the wall section: the tip of the wall"},
      {8, "PROP12", "moment of inertia of the section per width of wall"},
      {14, "HFREE", "depth of the excavation, as XEXC"},
      {14, "ZWA", "water table behind the wall"},
      {14, "ZWP", "water table in front of the wall"},
      {15, "QSURF", "uniform surcharge on the backfill"},
      {19, "PHI", "friction angle of the upper sand (give line 20 the same)"},
      {22, "PHI", "friction angle of the lower sand (give line 23 the same)"},
      {23, "KPY", "modulus of subgrade reaction at the bottom of the lower sand"}}},
    {"anchored-clay",
     "sheet-pile wall in clay with one row of tie backs, analysed per metre (foot) of wall",
     R"(ANCHORED SHEET-PILE WALL IN CLAY, ONE ROW OF TIE BACKS, SI UNITS
2 0 1 1 0 2 2 0 0 0 1 0
60 0.2 1.0 1.0E-5 6.0 1.0 12.0 100 0 0
0.0 12.0 1
1 1 6 0
'STEEL SHEET PILE, PER METRE OF WALL'
1.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0
0.0 0.0 0.0 2.5E8 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0
0 0 0.0 0 0
' '
1 0
0
0
2.0 0.0005 2.0E8 5.0 15.0 2.5 100.0
6.0 1.0 1.0 20.0 20.0 1.0 0 0.0 0.0
10.0 0.0 0.0 0.0 0.0 0.0
0
1 1 0.0
1 20.0
18.0 40.0 0.0 0.01 0.0 0.0
0.0 60.0 0.0 0.01 0.0 0.0
0
)",
     R"(ANCHORED SHEET-PILE WALL IN CLAY, ONE ROW OF TIE BACKS, ENGLISH UNITS
1 0 1 1 0 2 2 0 0 0 1 0
80 6.0 40.0 1.0E-4 240.0 12.0 480.0 100 0 0
0.0 40.0 1
1 1 6 0
'STEEL SHEET PILE, PER FOOT OF WALL'
12.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0
0.0 0.0 0.0 184.2 0.0 0.0 0.0 0.0 29.0E6 0.0 0.0 0
0 0 0.0 0 0
' '
1 0
0
0
6.5 0.78 29.0E6 16.0 15.0 8.0 22500.0
240.0 12.0 12.0 800.0 800.0 1.0 0 0.0 0.0
1.45 0.0 0.0 0.0 0.0 0.0
0
1 1 0.0
1 800.0
0.0663 5.8 0.0 0.01 0.0 0.0
0.0 8.7 0.0 0.01 0.0 0.0
0
)",
     {{3, "NI", "number of increments: NI * H is the length of the wall (change HWALL and XBOT with it)"},
      {3, "XEXC", "depth of the excavation (give HFREE the same value)"},
      {4, "XBOT", "bottom of the wall section: the tip of the wall"},
      {8, "PROP12", "moment of inertia of the section per width of wall"},
      {14, "DEPTH", "depth of the tie backs (feet in English units)"},
      {14, "SPACE", "spacing of the tie backs along the wall (feet in English units)"},
      {14, "F0", "prestress of one tie back"},
      {15, "HFREE", "depth of the excavation, as XEXC"},
      {20, "S", "undrained shear strength at the top of the clay"},
      {21, "S", "undrained shear strength at the bottom of the clay"}}},
    {"pile-soft-clay",
     "single laterally loaded pipe pile in soft clay, free head, load at the head",
     R"(LATERALLY LOADED PIPE PILE IN SOFT CLAY, FREE HEAD, SI UNITS
2 0 1 1 0 2 2 0 0 0 0 0
120 0.15 0.3 1.0E-6 0.0 6.0 18.0 100 0 0
0.0 18.0 1
1 1 1 0
'STEEL PIPE 610 MM X 12.7 MM'
0.61 0.585 0.0 0.0 0.0 0.0 0.0 0.0
0.0 0.0 0.0 1.06E9 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0
0 0 0.0 0 0
' '
1 0
1
0 0 0 90.0 0.0 0.0
0
0.0 6.0 0.61 0.0 0.0 1.0 0 0.0 0.0
0.0 0.0 0.0 0.0 0.0 0.0
0
1 1 0.0
1 30.0
17.3 17.0 0.0 0.02 0.0 0.0
0.0 58.0 0.0 0.01 0.0 0.0
0
)",
     R"(LATERALLY LOADED PIPE PILE IN SOFT CLAY, FREE HEAD, ENGLISH UNITS
1 0 1 1 0 2 2 0 0 0 0 0
120 6.0 12.0 1.0E-5 0.0 240.0 720.0 100 0 0
0.0 60.0 1
1 1 1 0
'STEEL PIPE 24 IN X 0.5 IN'
24.0 23.0 0.0 0.0 0.0 0.0 0.0 0.0
0.0 0.0 0.0 2549.0 0.0 0.0 0.0 0.0 29.0E6 0.0 0.0 0
0 0 0.0 0 0
' '
1 0
1
0 0 0 20000.0 0.0 0.0
0
0.0 240.0 24.0 0.0 0.0 1.0 0 0.0 0.0
0.0 0.0 0.0 0.0 0.0 0.0
0
1 1 0.0
1 1200.0
0.0637 2.5 0.0 0.02 0.0 0.0
0.0 8.5 0.0 0.01 0.0 0.0
0
)",
     {{3, "NI", "number of increments: NI * H is the length of the pile (change HWALL and XBOT with it)"},
      {4, "XBOT", "bottom of the pile section: the tip of the pile"},
      {8, "PROP12", "moment of inertia of the pile"},
      {13, "Q", "lateral load at the head (station 0)"},
      {15, "WP", "diameter of the pile"},
      {15, "WA", "at least 3.1 times WP, and RV6 the same: an isolated pile"},
      {20, "S", "undrained shear strength at the top of the clay"},
      {21, "S", "undrained shear strength at the bottom of the clay"}}},
};

}  // namespace

std::vector<std::string> starter_types() {
  std::vector<std::string> v;
  for (const Starter& s : STARTERS) v.emplace_back(s.type);
  return v;
}

const char* starter_text(const std::string& type, bool si) {
  for (const Starter& s : STARTERS)
    if (type == s.type) return si ? s.si : s.english;
  return nullptr;
}

Action add_new(CLI::App& app) {
  struct New {
    std::string type;
    bool si = false, english = false;
  };
  auto n = std::make_shared<New>();
  std::string types;
  for (const Starter& s : STARTERS) types += std::string("\n  ") + s.type + ": " + s.about;
  CLI::App* sub = app.add_subcommand(
      "new", "print a starter input for a common case on standard output (save it with > FILE.dat) and the values "
             "to change first on standard error; TYPE is one of:" + types);
  sub->footer("Exit status: 0, or 64 a usage error.");
  sub->add_option("TYPE", n->type, "the case")->required()->check(CLI::IsMember(starter_types()));
  auto* si = sub->add_flag("--si", n->si, "SI units (the default)");
  sub->add_flag("--english", n->english, "English units")->excludes(si);
  return [n]() {
    const bool SI = !n->english;
    const Starter* s = nullptr;
    for (const Starter& t : STARTERS)
      if (n->type == t.type) s = &t;
    const char* text = SI ? s->si : s->english;
    std::fputs(text, stdout);
    std::fflush(stdout);
    // The values to change, as `branto check` lists them.
    const InputListing l = LSTTXT(process_model(), "starter", text);
    std::string t = "\nThe values to change first (the layout of each record is fixed; they are named by line and "
                    "field; `branto check FILE.dat` lists every value):\n";
    for (const Knob& k : s->knobs)
      for (const ListRecord& r : l.records)
        if (r.first == k.line)
          for (const ListField& f : r.fields)
            if (f.name == k.field)
            {
              std::string at = "line " + std::to_string(k.line);
              at.resize(std::max<std::size_t>(at.size(), 12), ' ');
              t += "  " + at + r.what + ": " + f.name + "=" + f.value + (f.unit.empty() ? "" : " " + f.unit) +
                   "   " + k.what + "\n";
            }
    std::fputs(t.c_str(), stderr);
    return EX_OK;
  };
}

}  // namespace host
