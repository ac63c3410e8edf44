// results.cpp -- the results of one problem taken out of the model: the station table
// of the last solution, its extremes, the tie-back, restraint and node results, the
// pressure table and the support curves in force, with the labels of the problem's units.
#include "results/results.h"

#include <algorithm>
#include <cmath>

namespace results {

namespace {

// Depths are shown in feet in English units, in the unit of H otherwise.
double depth_unit(const Control& C) { return C.IUNIT == ENGLISH ? 12.0 : 1.0; }
// Depth of station I, as the report computes it.
double station_depth(const Control& C, int I) { return C.IUNIT == ENGLISH ? I * C.H / 12 : I * C.H; }

std::string no_blanks(std::string_view s) {
  std::string r;
  for (char c : s)
    if (c != ' ') r += c;
  return r;
}

Units units(const Model& m) {
  const auto& L = m.LAB;
  Units u;
  u.system = m.C.IUNIT == ENGLISH ? "English" : m.C.IUNIT == SI ? "SI" : "generic";
  u.depth = no_blanks(L.ULENA.view().substr(0, 3));
  u.length = no_blanks(L.ULEN3.view());
  u.force = no_blanks(L.UFOR3.view());
  const std::string len2 = no_blanks(L.ULEN2.view());
  u.moment = u.force + "-" + len2;
  u.force_per_length = u.force + "/" + len2;
  u.rigidity = u.force + "-" + len2 + "**2";
  u.slope = no_blanks(L.URAD.view());
  return u;
}

// The problem heading of the report and the iteration log.
std::string heading(const Model& m) {
  std::string h;
  if (m.C.ISTAGE > 1) {
    h = io::format(R"(("Stage No :",I2,2X,A70))", m.D.NPROB, m.D.TITLE1);
  } else if (m.D.NPROB == 1) {
    h = std::string(m.D.TITLE.trimmed());
  } else {
    h = io::format(R"(("Long Term :",2X,A70))", m.D.TITLE1);
  }
  while (!h.empty() && h.back() == ' ') h.pop_back();
  return h;
}

// Largest and smallest value of a column with the shallowest station of each.
void extremes(const std::vector<double>& v, const StationTable& s, Extreme& hi, Extreme& lo) {
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i == 0 || v[i] > hi.value) hi = {v[i], s.depth[i], s.station[i]};
    if (i == 0 || v[i] < lo.value) lo = {v[i], s.depth[i], s.station[i]};
  }
}

// Of the largest and the smallest value, the one of larger magnitude (the shallower at
// equal magnitudes).
Extreme largest(const Extreme& hi, const Extreme& lo) {
  const double A = std::fabs(hi.value), B = std::fabs(lo.value);
  return B > A || (B == A && lo.station < hi.station) ? lo : hi;
}

void take_stations(const Model& m, Stage& s) {
  const auto& C = m.C;
  const auto& STA = m.STA;
  const int NI = std::clamp(C.NI, 0, MXNI);
  // The tie backs' prestress is part of Q; here it belongs to the tie backs.
  Arr<double, 1, MXSTA> FTB;  // prestress load of the tie backs by station
  for (int I = 1; I <= std::min(m.TIE.NTIEF, MXTIE); ++I) {
    const int K = m.TIE.KSTA(I);
    if (1 <= K && K <= MXSTA) FTB(K) += m.TIE.FTB(I);
  }
  StationTable& t = s.stations;
  for (int I = 0; I <= NI; ++I) {
    const int K = I + 4;
    t.station.push_back(I);
    t.depth.push_back(station_depth(C, I));
    t.deflection.push_back(STA.W(K));
    t.slope.push_back(STA.SLOPE(K));
    t.moment.push_back(STA.XMOM(K));
    t.shear.push_back(STA.SHEAR(K));
    t.soil_reaction.push_back(m.ITR.SR(K));
    t.net_force.push_back(STA.XNF(K));
    t.rigidity.push_back(STA.EI(K));
    t.applied_load.push_back(STA.Q(K) - FTB(K));
    t.support_force.push_back((STA.QW(K) - STA.Q(K)) - (STA.SW(K) - STA.S(K)) * STA.W(K));
  }
  Summary& u = s.summary;
  extremes(t.deflection, t, u.max_deflection, u.min_deflection);
  extremes(t.moment, t, u.max_moment, u.min_moment);
  extremes(t.shear, t, u.max_shear, u.min_shear);
  u.largest_deflection = largest(u.max_deflection, u.min_deflection);
  u.largest_moment = largest(u.max_moment, u.min_moment);
}

void take_supports(const Model& m, Stage& s) {
  const auto& C = m.C;
  const auto& STA = m.STA;
  const auto& TIE = m.TIE;
  for (int I = 1; I <= std::min(TIE.NTIEF, MXTIE); ++I) {
    TieBack t;
    t.number = I;
    t.station = TIE.KSTA(I) - 4;
    t.depth = TIE.DEPTH(I);
    t.angle = TIE.ANGLE(I);
    t.spacing = TIE.SPACE(I);
    t.prestress = TIE.F0(I);
    const int K = std::clamp(TIE.KSTA(I), 1, MXSTA);
    TIEFRC(C, TIE, I, STA.W(K), t.horizontal_force, t.force_per_station, t.force_per_tie_back);
    s.tie_backs.push_back(t);
  }
  // Every station a restraint reaches, -2..NI+2.
  const int NI = std::clamp(C.NI, 0, MXNI);
  for (int K = 2; K <= NI + 6; ++K) {
    if (STA.SREST(K) == 0 && STA.RREST(K) == 0) continue;
    s.restraints.push_back({K - 4, station_depth(C, K - 4), STA.FREST(K), STA.MREST(K)});
  }
}

void take_pressures(const Model& m, Stage& s) {
  const auto& PRS = m.PRS;
  const double DU = depth_unit(m.C);
  Pressures& p = s.pressures;
  // The columns PT_DEPTH .. PT_TOTAL in order.
  std::vector<double>* COL[NPTCOL] = {&p.depth, &p.load,  &p.active, &p.surcharge, &p.passive,  &p.at_rest,
                                      &p.earth, &p.water, &p.surface, &p.sigmah,   &p.envelope, &p.total};
  const int N = std::clamp(PRS.NPRES, 0, MXPRES);
  for (std::vector<double>* c : COL) c->reserve(N);
  for (int I = 1; I <= N; ++I) {
    p.depth.push_back(PRS.PT(I, PT_DEPTH) / DU);
    for (int J = PT_LOAD; J <= PT_TOTAL; ++J) COL[J - 1]->push_back(PRS.PT(I, J));
  }
}

// The support curves in force: the option-4 earth-pressure curves, the user curves of
// the problem, then the generated ones, NCD per soil layer below the excavation.
void take_curves(const Model& m, Stage& s) {
  const auto& C = m.C;
  const auto& CRV = m.CRV;
  const auto& SW = m.SW;
  const double DU = depth_unit(C);
  const int N = std::clamp(CRV.NCRV, 0, MXCRV);
  const int N4 = std::clamp(CRV.NCRV4, 0, N);
  const int NU = std::clamp(C.NPYU, 0, MXPYU);
  for (int J = 1; J <= N; ++J) {
    Curve c;
    c.station = CRV.FROM(J) - 4;
    c.depth = station_depth(C, c.station);
    const int NP = std::clamp(CRV.POINTS(J), 0, MXCPT);
    int NBACK = 0;  // leading points of the backfill side
    if (J <= N4) {
      c.kind = "earth_pressure";
    } else if (J <= N4 + NU) {
      c.kind = "user";
    } else {
      c.kind = "generated";
      const int G = J - N4 - NU - 1;
      const int NCD = std::max(SW.NCD, 1);
      if (C.KPYGEN == 2 && G / NCD < std::min(SW.NLI, MXLAY) && SW.NCD <= MXCD) {
        c.layer = G / NCD + 1;
        c.input_layer = SW.LNUM(c.layer);
        c.depth = (C.XEXC + SW.XC(c.layer, G % NCD + 1)) / DU;
      }
      NBACK = std::min(NP, 17);
    }
    const auto side = [&](const char* name, int I1, int I2) {
      CurveSide d;
      d.side = name;
      for (int I = I1; I <= I2; ++I) {
        d.y.push_back(CRV.Y(J, I));
        d.p.push_back(CRV.F(J, I) / C.H);
      }
      c.sides.push_back(std::move(d));
    };
    if (NBACK > 0) {
      side("backfill", 1, NBACK);
      side("excavation", NBACK + 1, NP);
    } else {
      side("both", 1, NP);
    }
    s.curves.push_back(std::move(c));
  }
}

// Node reactions: the net force per station of the report, and the reaction of the
// stations the point's condition replaces, with its couple about the point's station.
void take_nodes(const Model& m, Stage& s, const std::vector<double>& RF) {
  const auto& C = m.C;
  const auto& STA = m.STA;
  const int NI = std::clamp(C.NI, 0, MXNI);
  for (int M = 1; M <= std::clamp(C.NPTS, 0, MXPTS); ++M) {
    NodeReaction n;
    n.point = M;
    n.station = STA.ISTA(M);
    n.depth = station_depth(C, n.station);
    const int K0 = n.station + 4;
    if (1 <= K0 && K0 <= MXSTA) n.net_force = STA.XNF(K0);
    for (int K = 3; K <= NI + 5; ++K)
      if (STA.KODE(K) != 1 && STA.KPT(K) == M) n.reaction += RF[K];
    s.node_reactions.push_back(n);
  }
}

}  // namespace

const char* exit_word(int KEXIT) {
  switch (KEXIT) {
    case KXLIN: return "linear";
    case KXCONV: return "converged";
    case KXLIMC: return "closed_at_limit";
    case KXLIMN: return "not_closed";
    case KXDEFL: return "deflection_exceeded";
    default: return "not_analysed";
  }
}

Stage take_stage(const Model& m) {
  const auto& C = m.C;
  const auto& ITR = m.ITR;
  Stage s;
  s.stage = m.D.NPROB;
  s.title = std::string(m.D.TITLE.trimmed());
  s.heading = heading(m);
  s.unit_code = C.IUNIT;
  s.units = units(m);
  s.exit_code = ITR.KEXIT;
  s.exit = exit_word(ITR.KEXIT);
  s.iterations = ITR.ITER;
  s.converged = ITR.KEXIT == KXLIN || ITR.KEXIT == KXCONV || ITR.KEXIT == KXLIMC;
  s.mechanism = ITR.KMECH == 1;
  s.width = C.RV6;
  s.increments = C.NI;
  s.increment = C.H;
  s.wall_length = station_depth(C, C.NI);
  const double DU = depth_unit(C);
  s.excavation = C.XEXC / DU;
  s.has_water = m.SOIL.LWALL > 0;
  s.water_backfill = m.SOIL.ZWA / DU;
  s.water_excavation = m.SOIL.ZWP / DU;
  if (ITR.KEXIT == KXNONE || C.NI < 1 || C.NI > MXNI) return s;
  take_stations(m, s);
  take_supports(m, s);
  take_pressures(m, s);
  take_curves(m, s);
  std::vector<double> RF;
  s.equilibrium = equilibrium(m, &RF);
  take_nodes(m, s, RF);
  if (s.equilibrium.large)
    s.equilibrium.warning = "EQUILIBRIUM CHECK OF STAGE " + std::to_string(s.stage) + ": " + s.equilibrium.warning;
  return s;
}

void take_warnings(const Model& m, RunResults& r) {
  const auto& WRN = m.WRN;
  for (Stage& s : r.stages) s.warnings.clear();
  r.warnings.clear();
  for (int I = 1; I <= std::min(WRN.NWARN, MXWARN); ++I) {
    std::string text(WRN.TEXT(I).trimmed());
    auto it = std::find_if(r.stages.begin(), r.stages.end(), [&](const Stage& s) { return s.stage == WRN.NPROB(I); });
    (it == r.stages.end() ? r.warnings : it->warnings).push_back(std::move(text));
  }
}

std::string analysis_date() {
  const io::Clock c = io::now();
  return io::format(R"((I4.4,"-",I2.2,"-",I2.2,1X,I2.2,":",I2.2,":",I2.2))", c.year, c.month, c.day, c.hour,
                    c.minute, c.second);
}

}  // namespace results
