// check.cpp -- a reading of an input data file without its analysis, kept as data: the
// records as the READs took them, with the units of their fields, the facts of each
// problem a user should confirm, the warnings and the error. The unit table of the
// fields lives here.
#include "run/run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Units of the input fields. Lengths in English units are inches but for the depths of
// wall sections and tie backs and the tie backs' unbonded length and spacing, in feet.
constexpr FieldUnit UNITS[] = {
    {"second control record", "H", "in", "m"},
    {"second control record", "DMAX", "in", "m"},
    {"second control record", "TOL", "in", "m"},
    {"second control record", "XEXC", "in", "m"},
    {"second control record", "RV6", "in", "m"},
    {"second control record", "HWALL", "in", "m"},
    {"specified point", "SPDEF", "in", "m"},
    {"specified point", "SPSLP", "rad", "rad"},
    {"wall section", "XTOP", "ft", "m"},
    {"wall section", "XBOT", "ft", "m"},
    {"record E1", "PROP1", "in", "m"},
    {"record E1", "PROP2", "in", "m"},
    {"record E1", "PROP3", "in", "m"},
    {"record E1", "PROP4", "in", "m"},
    {"record E1", "PROP5", "in", "m"},
    {"record E1", "PROP6", "in", "m"},
    {"record E1", "PROP7", "in", "m"},
    {"record E1", "PROP8", "in", "m"},
    {"record E2", "PROP12", "in⁴", "mm⁴"},
    {"record E2", "PROP17", "psi", "kPa"},
    {"record E3", "PROP19", "in", "m"},
    {"record E3", "PROP20", "in", "m"},
    {"record E3", "PROP21", "in", "m"},
    {"record E3", "PROP22", "in", "m"},
    {"record E3", "PROP23", "in", "m"},
    {"record E3", "PROP24", "in", "m"},
    {"record E3", "PROP25", "in", "m"},
    {"record E3", "PROP26", "in", "m"},
    {"record E4", "PROP30", "in⁴", "mm⁴"},
    {"record E4", "PROP35", "psi", "kPa"},
    {"record E5", "RE5", "in", "m"},
    {"record N1", "PROP1", "in", "m"},
    {"record N1", "PROP11", "in⁴", "m⁴"},
    {"record N1", "PROP17", "psi", "kPa"},
    {"thrust record", "THRUST", "lb", "kN"},
    {"point", "MOMENT", "lb-in", "kN-m"},
    {"point", "CURVATURE", "1/in", "1/m"},
    {"stiffness and load record", "Q", "lb", "kN"},
    {"stiffness and load record", "T", "lb-in", "kN-m"},
    {"stiffness and load record", "P", "lb", "kN"},
    {"restraint record", "S", "lb/in", "kN/m"},
    {"restraint record", "R", "lb-in/rad", "kN-m/rad"},
    {"tie back", "DEPTH", "ft", "m"},
    {"tie back", "AREA", "in²", "m²"},
    {"tie back", "ELAS", "psi", "kPa"},
    {"tie back", "XLU", "ft", "m"},
    {"tie back", "ANGLE", "deg", "deg"},
    {"tie back", "SPACE", "ft", "m"},
    {"tie back", "F0", "lb", "kN"},
    {"p-y modification factor", "DEPTH", "in", "m"},
    {"wall record", "HFREE", "in", "m"},
    {"wall record", "WA", "in", "m"},
    {"wall record", "WP", "in", "m"},
    {"wall record", "ZWA", "in", "m"},
    {"wall record", "ZWP", "in", "m"},
    {"wall record", "BETA", "deg", "deg"},
    {"wall record", "BETAE", "deg", "deg"},
    {"surface-load record", "QSURF", "psi", "kPa"},
    {"surcharge row", "LOAD", "lb; lb/in; psi", "kN; kN/m; kPa"},
    {"surcharge row", "DISTANCE", "in", "m"},
    {"surcharge row", "WIDTH", "in", "m"},
    {"surcharge row", "VERTICAL", "in", "m"},
    {"soil layer", "ZBOT", "in", "m"},
    {"soil layer top record", "GAMMA", "lb/in³", "kN/m³"},
    {"soil layer top record", "S", "psi", "kPa"},
    {"soil layer top record", "PHI", "deg", "deg"},
    {"soil layer top record", "KPY", "lb/in³", "kN/m³"},
    {"soil layer bottom record", "S", "psi", "kPa"},
    {"soil layer bottom record", "PHI", "deg", "deg"},
    {"soil layer bottom record", "KPY", "lb/in³", "kN/m³"},
    {"specified pressure", "DEPTH", "in", "m"},
    {"specified pressure", "PRESSURE", "lb/in", "kN/m"},
    {"point", "Y", "in", "m"},
    {"point", "P", "lb/in", "kN/m"},
};

// The last part of a record's name: "record E2" of "cross section 1, record E2".
std::string_view kind_of(std::string_view what) {
  const std::size_t c = what.rfind(", ");
  return c == std::string_view::npos ? what : what.substr(c + 2);
}

// A real as the shortest text that reads back as the same double.
std::string shortest(double v) {
  char b[40];
  const auto r = std::to_chars(b, b + sizeof b, v);
  return std::string(b, r.ptr);
}

// A derived value: six significant digits, trailing zeros dropped.
std::string figures(double v) {
  char b[40];
  const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::general, 6);
  return std::string(b, r.ptr);
}


// The record just read, as the listing keeps it.
ListRecord record_of(const Model& m, const io::RecordSpan& at, const io::Rec& rec, std::span<const io::Target> t) {
  ListRecord r;
  r.NPROB = m.D.NPROB;
  r.first = at.first;
  r.last = at.last;
  r.left = at.left;
  r.what = std::string(rec.what);
  if (rec.n > 0) r.what += " " + std::to_string(rec.n);
  // The unit system is known from the control record on.
  const int IUNIT = rec.what == "title record" || rec.what == "control record" ? 0 : m.C.IUNIT;
  int k = 0;
  for (const io::Target& tg : t) {
    const std::size_t n = tg.kind == io::Target::TEXT ? 1 : tg.n;
    for (std::size_t e = 0; e < n; ++e) {
      ListField f;
      ++k;
      f.name = std::string(io::nth_name(rec.names, k));
      if (f.name.empty()) f.name = "value " + std::to_string(k);
      switch (tg.kind) {
        case io::Target::INT:
        case io::Target::INTS: f.value = std::to_string(tg.ip[e]); break;
        case io::Target::REAL:
        case io::Target::REALS: f.value = shortest(tg.rp[e]); break;
        case io::Target::TEXT: {
          std::string_view v(tg.cp, tg.n);
          while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
          f.value = "'" + io::printable(v) + "'";
          break;
        }
      }
      f.unit = std::string(FLDUNT(r.what, f.name, IUNIT));
      r.fields.push_back(std::move(f));
    }
  }
  if (rec.what == "title record" && !r.fields.empty()) r.fields[0].name = "TITLE";
  return r;
}

// Facts of the problem just read.
void FACTS(const Model& m, std::vector<ListFact>& out) {
  const auto& C = m.C;
  const auto& S = m.SOIL;
  const int NP = m.D.NPROB;
  const bool ENG = C.IUNIT == ENGLISH;
  const std::string L = ENG ? " in" : " m";
  auto add = [&](std::string name, std::string value) { out.push_back({NP, std::move(name), std::move(value)}); };
  auto len = [&](double x) { return figures(x) + L; };
  // Depths of wall sections and tie backs: feet in English units.
  auto dep = [&](double x) { return ENG ? figures(x) + " ft" : figures(x) + " m"; };
  if (C.IUNIT != ENGLISH && C.IUNIT != SI) return;
  const double XL = C.NI * C.H;
  add("wall length", "NI * H = " + std::to_string(C.NI) + " * " + len(C.H) + " = " + len(XL) + " (stations 0 to " +
                         std::to_string(C.NI) + "); HWALL = " + len(C.HWALL) + (ENG ? " (" + figures(XL / 12) + " ft)" : ""));
  for (int K = 1; K <= std::min(C.NSECT, MXSECT); ++K)
    add("wall section " + std::to_string(K),
        dep(m.WS.XTOP(K)) + " to " + dep(m.WS.XBOT(K)) + " = stations " + std::to_string(STATION(C, m.WS.XTOP(K))) +
            " to " + std::to_string(STATION(C, m.WS.XBOT(K))) + ", cross section " + std::to_string(m.WS.ISEC(K)));
  std::string X = "XEXC = " + len(C.XEXC) + " (station " + std::to_string(NEAREST(C.XEXC / C.H)) + ")";
  const bool PROF = C.KEP >= 2 && S.LWALL > 0;
  if (PROF) X += "; HFREE = " + len(S.HFREE) + (std::fabs(S.HFREE - C.XEXC) > 1.0E-5 ? " (differs)" : "");
  add("excavation depth", X);
  std::string W = "RV6 = " + len(C.RV6);
  if (PROF) {
    W += "; earth pressure on WA = " + len(S.WA) + ", soil resistance on WP = " + len(S.WP);
    if (S.WP > 0) {
      const double R = S.WA / S.WP;
      W += "; WA / WP = " + figures(R) +
           (R < 1.1   ? ": a continuous wall"
            : R < 3.1 ? ": separate shafts or piles, curves reduced for close spacing"
                      : ": separate shafts or piles, curves of isolated piles");
    }
  }
  add("analysed width", W + "; results are per this width");
  for (int I = 1; I <= std::min(C.NTIE, MXTIE); ++I)
    add("tie back " + std::to_string(I),
        "depth " + dep(m.TIE.DEPTH(I)) + " = station " + std::to_string(STATION(C, m.TIE.DEPTH(I))));
  static const char* const KEPS[] = {"none", "specified pressures", "generated Rankine pressures",
                                     "apparent-pressure envelope", "generated pressures, soil above the excavation as support curves",
                                     "apparent-pressure envelope (Rankine coefficient at the excavation level)"};
  add("earth pressure", "KEP = " + std::to_string(C.KEP) + ": " + KEPS[std::clamp(C.KEP, 0, 5)]);
  if (PROF) {
    static const char* const SOIL[] = {"unknown type (built as soft clay)", "soft clay", "stiff clay with free water",
                                       "stiff clay without free water", "sand", "silt", "rock", "weak rock"};
    double ZTOP = 0;
    for (int J = 1; J <= std::clamp(S.NL, 0, MXLAY); ++J) {
      const int KT = S.LTYPE(J);
      std::string T = std::string(SOIL[KT >= 1 && KT <= 7 ? KT : 0]) + ", " + len(ZTOP) + " to " + len(S.ZBOT(J));
      if (!(S.ZBOT(J) > ZTOP)) {
        add("soil layer " + std::to_string(J), T + ": not below the layer above, the profile ends here");
        break;
      }
      // The active coefficient: the sixth value of the top record when above 1.0E-7
      // (rock keeps its Rankine one), else Rankine from PHI.
      if (KT != 6 && KT != 7 && S.KPYTOP(J) > 1.0E-7f)
        T += "; active pressure: KOPT = " + figures(S.KPYTOP(J)) + " (the sixth value of its top record)";
      else
        T += "; active pressure: Rankine, PHI = " + figures(S.PHITOP(J)) + " deg" + (S.STRTOP(J) > 0 ? ", with S" : "");
      if (C.KPYGEN == 2) {
        const auto& SW = m.SW;
        int N = 0;
        for (int I = 1; I <= SW.NLI; ++I)
          if (SW.LNUM(I) == J) N = I;
        if (N > 0) {
          T += "; " + std::to_string(SW.NCD) + " p-y curves from " + len(C.XEXC + SW.XC(N, 1)) + " to " +
               len(C.XEXC + SW.XC(N, SW.NCD)) + " (stations " + std::to_string(NEAREST((C.XEXC + SW.XC(N, 1)) / C.H)) +
               " to " + std::to_string(NEAREST((C.XEXC + SW.XC(N, SW.NCD)) / C.H)) + ")";
        } else {
          T += S.ZBOT(J) <= C.XEXC ? "; no p-y curves (above the excavation)" : "; no p-y curves (below their end)";
        }
      }
      add("soil layer " + std::to_string(J), T);
      ZTOP = S.ZBOT(J);
    }
  }
  if (C.NPYU > 0) {
    std::string T = std::to_string(C.NPYU) + " at stations";
    for (int J = 1; J <= std::min(C.NPYU, MXPYU); ++J) T += " " + std::to_string(m.UPY.KEY(J));
    add("user p-y curves", T);
  }
}

InputListing listing(Model& m, std::string_view path, const std::string_view* text, int curve_depths) {
  InputListing out;
  io::Units u;
  u.capture_console();
  if (text != nullptr) {
    u.open_memory_input(LINP, path, *text);
  } else {
    try {
      u.open(LINP, path, "input data file", true);
    } catch (const io::FileError& e) {
      out.error = e.what();
      out.status = 2;
      return out;
    }
  }
  u.observe(LINP, [&](const io::RecordSpan& at, const io::Rec& rec, std::span<const io::Target> t) {
    out.records.push_back(record_of(m, at, rec, t));
  });
  Run run{m, u};
  HostHooks hooks;
  hooks.curve_depths = curve_depths;
  if (curve_depths != 0) run.host = &hooks;
  RunSummary s;
  s.problem_done = [&](const Model& mm) { FACTS(mm, out.facts); };
  CHKRUN(run, &s);
  out.problems = m.D.NPROB;
  out.warnings = s.warnings;
  out.error = s.message;
  const bool failed = s.code != RC_OK || s.input_error || s.silent_end;
  if (failed && out.error.empty()) out.error = "the run ended on a negative count or iteration limit";
  out.status = failed ? 2 : s.nwarn > 0 ? 1 : 0;
  return out;
}

}  // namespace

std::span<const FieldUnit> UNITAB() { return UNITS; }

std::string_view FLDUNT(std::string_view what, std::string_view field, int IUNIT) {
  if (IUNIT != ENGLISH && IUNIT != SI) return {};
  const std::string_view k = kind_of(what);
  std::string_view rec = k;
  // "soil layer 3" and "wall section 2": the name without its number.
  const std::size_t b = rec.find_last_of(' ');
  if (b != std::string_view::npos && rec.find_first_not_of("0123456789", b + 1) == std::string_view::npos)
    rec = rec.substr(0, b);
  for (const FieldUnit& f : UNITS)
    if (rec == f.record && field == f.field) return IUNIT == ENGLISH ? f.english : f.si;
  return {};
}

InputListing LSTINP(Model& m, std::string_view path, int curve_depths) { return listing(m, path, nullptr, curve_depths); }

InputListing LSTTXT(Model& m, std::string_view name, std::string_view text, int curve_depths) {
  return listing(m, name, &text, curve_depths);
}
