// model.h -- the shared tables of the wall model, their limits and the unit system.
// One Model holds everything a run reads, derives and reports; its tables keep their
// contents from one problem to the next and from one call to the next. Indices are
// those of the method: station tables by internal index K = station + 4, everything
// else from 1.
#pragma once

#include <cassert>
#include <cmath>
#include <string>
#include <string_view>

#include "io/io.h"

using io::Chars;

// ---------------------------------------------------------------------------
// Fortran-style arrays with the method's bounds, asserted in debug builds, in two kinds:
//   Arr, Arr2      the working arrays of a procedure: they start cleared, whatever
//                  their size;
//   Table, Table2  the tables of the Model: their declaration does not clear them, so
//                  that a model in static storage costs only the memory that the runs
//                  write (the Model starts cleared, see Model). Only the blocks of the
//                  Model may declare one, and only the Model may construct a block, so a
//                  table that would start with whatever memory held does not compile.
// Two subscripts (I, J): J runs fastest within one I, so a row I is contiguous.
template <class T, int LO, int HI>
struct Arr {
  T v[HI - LO + 1]{};
  T& operator()(int i) { assert(LO <= i && i <= HI); return v[i - LO]; }
  const T& operator()(int i) const { assert(LO <= i && i <= HI); return v[i - LO]; }
  void fill(const T& x) { for (T& e : v) e = x; }
};
template <class T, int LO1, int HI1, int LO2, int HI2>
struct Arr2 {
  T v[HI1 - LO1 + 1][HI2 - LO2 + 1]{};
  T& operator()(int i, int j) {
    assert(LO1 <= i && i <= HI1 && LO2 <= j && j <= HI2);
    return v[i - LO1][j - LO2];
  }
  const T& operator()(int i, int j) const {
    assert(LO1 <= i && i <= HI1 && LO2 <= j && j <= HI2);
    return v[i - LO1][j - LO2];
  }
  void fill(const T& x) { for (auto& r : v) for (T& e : r) e = x; }
};

// The storage of Table (RANK 1, one subscript) and Table2 (RANK 2).
template <class T, int LO1, int HI1, int LO2, int HI2, int RANK>
class TableOf {
  // The blocks of the Model that hold tables.
  friend struct Warnings;
  friend struct Stations;
  friend struct WallSections;
  friend struct Curves;
  friend struct PressureTable;
  friend struct CrossSections;
  friend struct NonlinearEI;
  friend struct Records;
  friend struct TieBacks;
  friend struct SoilInput;
  friend struct UserCurves;
  friend struct SoilWork;
  friend struct Results;
  friend struct Iteration;
  TableOf() = default;  // not cleared: the Model is

 public:
  T v[HI1 - LO1 + 1][HI2 - LO2 + 1];
  T& operator()(int i) requires(RANK == 1) { assert(LO1 <= i && i <= HI1); return v[i - LO1][0]; }
  const T& operator()(int i) const requires(RANK == 1) { assert(LO1 <= i && i <= HI1); return v[i - LO1][0]; }
  T& operator()(int i, int j) requires(RANK == 2) {
    assert(LO1 <= i && i <= HI1 && LO2 <= j && j <= HI2);
    return v[i - LO1][j - LO2];
  }
  const T& operator()(int i, int j) const requires(RANK == 2) {
    assert(LO1 <= i && i <= HI1 && LO2 <= j && j <= HI2);
    return v[i - LO1][j - LO2];
  }
  void fill(const T& x) { for (auto& r : v) for (T& e : r) e = x; }
};
template <class T, int LO, int HI>
using Table = TableOf<T, LO, HI, 1, 1, 1>;
template <class T, int LO1, int HI1, int LO2, int HI2>
using Table2 = TableOf<T, LO1, HI1, LO2, HI2, 2>;

// ---------------------------------------------------------------------------
// Limits: the fixed sizes of the tables. Every count read from the input is checked
// against these where it is read ("TOO MUCH DATA FOR AVAILABLE STORAGE").
constexpr int MXSTA = 416;   // entries of every station table (internal K = station + 4)
constexpr int MXNI = MXSTA - 7;  // most increments: stations -2..NI+2 and working K = NI+7
constexpr int MXPTS = 20;    // specified deflection and slope points
constexpr int MXSECT = 20;   // wall sections
constexpr int MXCROS = 100;  // cross sections
constexpr int MXPROP = 39;   // real properties per cross section
constexpr int MXEIS = 100;   // user-defined nonlinear EI sets
constexpr int MXEIP = 100;   // points per moment-curvature set
constexpr int MXREC4 = MXSTA;  // stiffness and load records: one per station at least
constexpr int MXRES = MXSTA;   // restraint records: one per station at least
constexpr int MXTIE = 30;    // tie backs
constexpr int MXLAY = 20;    // input soil layers
constexpr int MXSUR = 50;    // surcharge rows
constexpr int MXPYM = 50;    // p-y modification factors
constexpr int MXSPP = 1000;  // specified pressure pairs
constexpr int MXPRES = 10000;  // rows of the pressure table
constexpr int MXPYU = 400;   // user p-y curves admitted by the input
constexpr int MXCRV = 1000;  // support-curve records: user, generated and option-4 curves
constexpr int MXCPT = 50;    // points per support curve
constexpr int NCDDEF = 5;    // curve depths per soil layer unless the run asks for more
constexpr int MXCD = 50;     // curve depths per soil layer at most
constexpr int MXXCRV = MXPYU + MXLAY * MXCD;  // curves of the curve-exchange file
constexpr int MXXPT = 34;    // points of a generated curve in the curve-exchange file
constexpr int MXBAR = 100;   // reinforcement bars or strands given one by one, per section
constexpr int MXWARN = 500;  // warnings kept per run (more are counted, not kept)
constexpr int MXITER = 9999; // iterations per problem: the iteration log prints the count
                             // in I4; a larger ITMAX is lowered to this with a warning

// Relations between the limits that the tables rely on without a check of their own.
static_assert(MXNI + 7 == MXSTA, "stations -2..NI+2 at K = 1..NI+5, and the working K = NI+6, NI+7");
static_assert(MXREC4 >= MXSTA && MXRES >= MXSTA, "a record for every station");
static_assert(MXSPP <= MXPRES, "every specified pair is a row of the pressure table");
static_assert(NCDDEF <= MXCD, "the default curve depths fit the table of curve depths");
static_assert(MXXCRV == MXPYU + MXLAY * MXCD, "the curve-exchange file: user curves, then NCD per layer");
static_assert(MXITER <= 9999, "the iteration log prints the count in I4");

// ---------------------------------------------------------------------------
// Constants as the method writes them: single-precision literals widened to 64 bits
// where the method computes in single precision, the plain values where it does not.
constexpr double PI_SINGLE = 3.1416f;     // pi of the tie-back model and the surcharges
constexpr double TWO_OVER_PI_SINGLE = 2.0f / 3.1416f;  // 2/pi of the strip surcharge
constexpr double PISAND = 3.1416;         // pi of the sand and silt models
constexpr double DEGRAD_SINGLE = 57.2958f;  // degrees per radian of the earth-pressure angles
constexpr double DEGRAD = 57.2958;        // degrees per radian of the soil models' slopes

// Logical units of a run.
constexpr int LCON = 0;  // console: notices and stop codes
constexpr int LNAM = 2;  // NAMES.dat; later the pressure-exchange file being written
constexpr int LPLT = 3;  // plot output file
constexpr int LLOG = 4;  // iteration log
constexpr int LINP = 5;  // input data file
constexpr int LOUT = 6;  // report
constexpr int LXCH = 8;  // an exchange file read back
constexpr int LPYW = 9;  // curve-exchange file being written

// Unit system (control record value IUNIT).
constexpr int ENGLISH = 1;   // inches and pounds; wall-section, tie-back depths in feet
constexpr int SI = 2;        // metres and kilonewtons

// ---------------------------------------------------------------------------
// Control record and second control record of the current problem.
struct Control {
  int IUNIT = 0;    // 1 English, 2 SI
  int NPTS = 0;     // points with specified deflection and/or slope
  int NSECT = 0;    // wall sections; 0 keeps the previous problem's wall
  int NCROSS = 0;   // cross sections
  int NPYMOD = 0;   // p-y modification factors
  int KEP = 0;      // earth pressure: >=2 generated, 1 specified table, <=0 none
  int KPYGEN = 0;   // 2: generate p-y curves
  int NPYU = 0;     // user p-y curves
  int ISTAGE = 0;   // stage indicator; the end code equal to it ends the run
  int NEIU = 0;     // user-defined nonlinear EI sets
  int NTIE = 0;     // tie backs
  int KHINGE = 0;   // 1: zero moment at every tie back but the top one

  int NI = 0;       // increments; real stations 0..NI
  double H = 0;     // increment length, L
  double DMAX = 0;  // maximum allowable deflection, L
  double TOL = 0;   // deflection closure tolerance, L
  double XEXC = 0;  // depth of the excavation-side ground surface below the wall top, L
  double RV6 = 0;   // divisor of station forces; scales tie-back stiffness and loads
  double HWALL = 0; // height of the wall, L (for the report)
  int ITMAX = 0;    // maximum iterations; 0 one linear solution
  int IV9 = 0, IV10 = 0;  // read and kept
  double H2 = 0, H3 = 0;  // H**2, H**3
  // Input lines of the records, for the messages that name them (0: not read in this
  // run). Every table below keeps the line of each record beside its values; CLRLIN
  // clears them all at the start of a run, so a value left by an earlier run is told.
  int LCTRL = 0, LCTL2 = 0;  // control record, second control record
};

// Run state kept by the driver for the whole call.
struct Driver {
  Chars<12> VERSION;           // NAMES.dat record 1
  Chars<256> NAMES[11];        // NAMES.dat records 5..10 at [5]..[10]
  int NPROB = 0;               // problems read so far; the stage number
  Chars<80> TITLE, TITLE1;     // current title; title of the first problem
  int KEND = 0;                // end code after each problem
  int LKEND = 0;               // its input line
  int KPLOT = 1;               // first value of the next end-of-stage block
  int KEXCD = 0;               // 1: last solution ended in a warning exit
  int KGENEP = 0, KGENPY = 0;  // echo flags, set once per run
  int KERR = 0;                // how the run ended: 0 through its end, 1 after an input-error
                               // message, 2 silently (negative count or ITMAX)
  Chars<256> ERRMSG;           // first line of that message
  int NCDRUN = NCDDEF;         // curve depths per soil layer in this run, NCDDEF..MXCD
                               // (BRANTO_CURVE_DEPTHS, read at the start of the run)
  // What this run has read itself, so that tables left by an earlier run are told.
  int KWALRD = 0;              // 1: a problem of this run has read wall sections
  int KEPRD = 0;               // 1: a problem of this run has read earth-pressure data
  int LPROB = 0;               // input line of the current problem's title record
  int KCHECK = 0;              // 1: the run reads and checks its problems without analysing
                               // them (CHKRUN): no pressure table, curves or iteration
};

// A fixed-length text of a table of the Model: like Chars, blank padded once assigned,
// but without a starting value of its own (the table is cleared with the Model), so a
// table of texts costs no memory until its entries are written. Tables alone hold one.
template <int N>
class TableText {
  template <class, int, int, int, int, int>
  friend class TableOf;
  TableText() = default;

 public:
  char c[N];
  void assign(std::string_view v) {  // first N characters, blank padded
    for (int k = 0; k < N; ++k) c[k] = k < static_cast<int>(v.size()) ? v[k] : ' ';
  }
  std::string_view view() const { return {c, static_cast<std::size_t>(N)}; }
  std::string_view trimmed() const {  // without trailing blanks
    int n = N;
    while (n > 0 && (c[n - 1] == ' ' || c[n - 1] == '\0')) --n;
    return {c, static_cast<std::size_t>(n)};
  }
};

// Warnings of the engine's own checks in the current run, in the order written: each is
// one report line starting with "WARNING" (see WARN). Reset at the start of every run.
struct Warnings {
  int NWARN = 0;                      // warnings written in this run (all of them)
  Table<int, 1, MXWARN> NPROB;        // stage number of warning i (0: before the first)
  Table<TableText<256>, 1, MXWARN> TEXT;   // its text after "WARNING -- "

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Warnings() = default;
};

// ---------------------------------------------------------------------------
// Station tables of the beam-column, by internal index K = station + 4.
struct Stations {
  Table<double, 1, MXSTA> EI;  // flexural rigidity, F*L**2
  Table<double, 1, MXSTA> Q; // transverse load, F
  Table<double, 1, MXSTA> S; // transverse spring, F/L
  Table<double, 1, MXSTA> T; // applied couple, F*L
  Table<double, 1, MXSTA> R; // rotational spring, F*L/rad
  Table<double, 1, MXSTA> P; // axial load, F
  Table<double, 1, MXSTA> SREST;  // the restraint records' part of S, F/L
  Table<double, 1, MXSTA> RREST;  // the restraint records' part of R, F*L/rad
  Table<double, 1, MXSTA> QW;  // load of the current solution: Q plus linearised supports
  Table<double, 1, MXSTA> SW;  // spring of the current solution: S plus linearised supports
  Table<double, 1, MXSTA> AR, BR, CR;  // recursion: W(K) = AR + BR*W(K+1) + CR*W(K+2)
  Table<double, 1, MXSTA> W; // deflection, L
  Table<int, 1, MXSTA> KODE; // 1 ordinary, 2 deflection fixed, 3 slope start, 4 deflection
                             // inside a deflection-and-slope condition, 5 slope end
  Table<int, 1, MXSTA> KPT;  // specified point whose value a coded station takes (later wins)

  // Specified deflection and slope points, in input order.
  Table<int, 1, MXPTS> KASE;   // <2 deflection, 2 slope, >=3 both
  Table<int, 1, MXPTS> ISTA;   // station
  Table<double, 1, MXPTS> SPDEF; // deflection, L
  Table<double, 1, MXPTS> SPSLP; // slope, rad
  Table<int, 1, MXPTS> LPT;    // input line

  // Counters of the last backward sweep over stations 0..NI.
  double DWMAX = 0;  // largest |Wnew - Wold|
  int NCLOSE = 0;    // stations with |Wnew - Wold| > TOL
  int NEXCEED = 0;   // stations with |Wnew| > DMAX

  // Applied couples: station K of the record's FROM and T/(2H), one per record with T != 0.
  int NCOUP = 0;
  Table<int, 1, MXREC4> KCOUP;
  Table<double, 1, MXREC4> CCOUP;

  // Derived results of STARES, by internal index.
  Table<double, 1, MXSTA> SLOPE;  // rad
  Table<double, 1, MXSTA> XMOM; // moment, F*L
  Table<double, 1, MXSTA> SHEAR;  // F
  Table<double, 1, MXSTA> XNF;  // net force per station, F
  // What the restraints exerted in the last solution, K = 2..NI+6 (the restraint results
  // print them): force SREST*W, F, and moment RREST*slope, F*L, signed as the deflection
  // and the slope (the wall receives the opposite force; the moment enters the difference
  // equations as an applied couple T does). Lateral restraints at stations -2 and NI+2
  // lie outside the solution and exert nothing.
  Table<double, 1, MXSTA> FREST, MREST;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Stations() = default;
};

// ---------------------------------------------------------------------------
// Wall sections: depth ranges of the wall, each pointing at one cross section.
struct WallSections {
  Table<double, 1, MXSECT> XTOP;  // top depth (feet in English units, metres in SI)
  Table<double, 1, MXSECT> XBOT;  // bottom depth
  Table<int, 1, MXSECT> ISEC;   // cross section 1..NCROSS
  Table<int, 1, MXSECT> LWS;    // input line

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  WallSections() = default;
};

// Support-curve records (user p-y curves, generated p-y curves, option-4 curves).
struct Curves {
  int NCRV = 0;                     // records in use
  int NCRV4 = 0;                    // of which the first NCRV4 are the earth-pressure option-4
                                    // curves above the excavation (kept with the pressures)
  Table<int, 1, MXCRV> FROM, TO;    // internal station indices
  Table<int, 1, MXCRV> CONTD;       // 1: varies linearly to the next record's curve
  Table<int, 1, MXCRV> POINTS;      // points, at least two
  Table2<double, 1, MXCRV, 1, MXCPT> Y; // deflection of point i, L (increasing)
  Table2<double, 1, MXCRV, 1, MXCPT> F; // force per station at Y, F
  // Segments of the curves, formed once per problem by the iteration: for the segment
  // ending at point I, its slope, intercept and the force at its start (all zero for a
  // segment of zero length); the segment last used per curve, where the next search starts.
  Table2<double, 1, MXCRV, 1, MXCPT> SLP, BIC, FSA;
  Table<int, 1, MXCRV> ISEG;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Curves() = default;
};

// Columns of the pressure table, as BULK forms them: pressures per unit width of wall,
// F/L**2, at the depth of column PT_DEPTH. Read back (EARTHP), columns 3..12 are
// multiplied by the width (WA, from below XEXC on WP): forces per length of wall, F/L;
// column PT_LOAD changes meaning twice: replaced by the total times the width, a force
// per length, then multiplied by H, a force per station. The specified pairs (KEP = 1)
// fill columns 1 to 4 the same way.
constexpr int PT_DEPTH = 1;     // depth below the top of the wall, L
constexpr int PT_LOAD = 2;      // active earth + water + surcharge pressure (option 3: without
                                // surcharge; 3 and 5: the first envelope); read back: the
                                // load, F/L, then F per station
constexpr int PT_ACTIVE = 3;    // active earth + drained water, minus the surface part
constexpr int PT_SURCHARGE = 4; // SIGMAH plus the surface part
constexpr int PT_PASSIVE = 5;   // passive pressure + SIGMAH
constexpr int PT_ATREST = 6;    // at-rest pressure + SIGMAH
constexpr int PT_EARTH = 7;     // active earth without water, minus the surface part
constexpr int PT_WATER = 8;     // water pressure
constexpr int PT_SURFACE = 9;   // surface-pressure part
constexpr int PT_SIGMAH = 10;   // SIGMAH, the surcharge pressure
constexpr int PT_ENVELOPE = 11; // envelope pressure of options 3 and 5, else 0
constexpr int PT_TOTAL = 12;    // total lateral pressure, the load that reaches the wall
constexpr int NPTCOL = 12;      // columns of a row

// Pressure table: the lateral load along the wall, NPTCOL columns per row (PT_ above).
struct PressureTable {
  int NPRES = 0;
  Table2<double, 1, MXPRES, 1, NPTCOL> PT;
  // The rows as the pressure-exchange file holds them, kept by BULK while it writes the
  // file: with KHELD = 1 the driver takes rows 1..NHELD from PH instead of reading the
  // file back; with 0 (a value that would not read back as written) it reads the file.
  int KHELD = 0;
  int NHELD = 0;
  Table2<double, 1, MXPRES, 1, NPTCOL> PH;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  PressureTable() = default;
};

// Working tables of the earth-pressure computation of one problem (KEP >= 2), all
// recomputed on every call: the working copies of the wall and surface-load values, the
// working layer table (the input layers split at the excavation level and the backfill
// water table), its coefficients and layer forces, and the results of SURPRS.
constexpr int MXLW = 21;     // working layers; row NLW+1 holds the bottom of the profile
struct EarthPressure {
  // Working copies (lengths L, stresses F/L**2).
  double HFREE = 0;   // free height: excavation level below the top of the backfill
  double ZWA = 0;     // water table at the backfill
  double ZWP = 0;     // water table at the excavation
  double QSURF = 0;   // uniform surface pressure
  // Single-load values: one load of each kind at one distance, as the layer forces use
  // them (after the surcharge report, those of the last listed surcharge row).
  double XSUR = 0, QPOINT = 0, QLINE = 0, QSTRIP = 0, BSTRIP = 0;
  double GAMW = 0;    // unit weight of water, F/L**3
  double TOLEP = 0;   // comparison tolerance of depths and net forces
  int WATFLG = 0;     // 1: drained water acts in the sampled pressures
  // Working layer table, rows 1..NLW.
  int NLW = 0;
  int KOVFL = 0;      // 1: the profile needed more than MXLW working layers
  int IEXC = 0;       // row whose top is the excavation level (0: none)
  int IWAT = 0;       // row whose top is the backfill water table (0: none)
  int ITYPE1 = 0;     // soil type code of the first input layer
  Arr<double, 1, MXLW + 1> THICK;   // thickness, L
  Arr<double, 1, MXLW + 1> ZTOP;    // depth of the top, L; ZTOP(NLW+1) the bottom
  Arr<double, 1, MXLW + 1> STREN;   // cohesion or undrained strength, F/L**2
  Arr<double, 1, MXLW + 1> PHI;     // friction angle, degrees
  Arr<double, 1, MXLW + 1> WEIGHT;  // total unit weight, F/L**3
  Arr<double, 1, MXLW + 1> KOPT;    // optional earth coefficient (0 for rock)
  Arr<int, 1, MXLW + 1> LAYIN;      // input soil layer of the row
  Arr<bool, 1, MXLW + 1> DRAIND;    // soil type code 4 or more
  Arr<bool, 1, MXLW + 1> WETTOP;    // top at or below the backfill water table
  Arr<double, 1, MXLW + 1> SIGV;    // vertical stress at the top, F/L**2
  Arr<double, 1, MXLW + 1> KA, SQKA;   // active coefficient; factor of 2*STREN
  Arr<double, 1, MXLW + 1> KP, TANKP;  // passive coefficient and its square root
  Arr<double, 1, MXLW + 1> K0;         // at-rest coefficient
  // Layer forces per unit width (rows 1..IEXC-1), F/L, and their depths, L.
  Arr<double, 1, MXLW + 1> PA1, PA2, PA3, PA4, PW1, PW2;
  Arr<double, 1, MXLW + 1> Z1, Z2, Z3;
  // Results of SURPRS at the last depth asked.
  double SIGMAH = 0;  // lateral pressure, F/L**2
  double QSHRP = 0;   // shear: pressure integrated above the depth, F/L
  double QMOMP = 0;   // moment about the depth, F*L/L
  double QMOMH = 0;   // moment about the excavation level, F*L/L
};

// ---------------------------------------------------------------------------
// Cross sections (elastic and nonlinear) and their derived stiffness inputs.
struct CrossSections {
  Table<Chars<80>, 1, MXCROS> SNAME;     // name; the report prints 32 characters
  Table<int, 1, MXCROS> LCROS;           // input line of its first record
  Table<int, 1, MXCROS> INONL;           // 0 elastic, otherwise nonlinear
  Table<int, 1, MXCROS> ISHAPE;          // elastic shape code 0..6
  Table2<double, 1, MXCROS, 1, MXPROP> PROP;  // properties 1..18 top, 19..36 bottom, 37..39
  Table<int, 1, MXCROS> ITAPER;          // > 0 tapered
  Table<int, 1, MXCROS> IAFAM;           // AISC family
  Table<int, 1, MXCROS> IE5B, IROUND, IE5E;
  Table<double, 1, MXCROS> RE5;
  Table<Chars<80>, 1, MXCROS> SNAME2;    // AISC or sheet-pile designation
  Table<double, 1, MXCROS> XIT, XIB;     // moment of inertia at top and bottom, L**4
  Table<double, 1, MXCROS> EMT, EMB;     // Young's modulus at top and bottom, F/L**2
  // Nonlinear sections.
  Table<int, 1, MXCROS> NLKIND;          // kind 1..10
  Table2<double, 1, MXCROS, 1, 10> GEO;  // geometry
  Table2<double, 1, MXCROS, 1, 6> MAT;   // materials
  Table2<int, 1, MXCROS, 1, 4> KNL;      // casing flag, steel kind, steel flag, -
  Table<Chars<80>, 1, MXCROS> SNAME3;    // embedded AISC designation
  // Reinforcement: KRB(2) layout (1 circular, 2 rectangular, 3 bar by bar), KRB(5) bars;
  // RB: 1 bar area, 2 bar diameter, 3 cover, 4 Young's modulus, 5 yield strength.
  Table2<int, 1, MXCROS, 1, 5> KRB;
  Table2<double, 1, MXCROS, 1, 5> RB;
  Table<int, 1, MXCROS> KCONF;           // 1: confined section
  // Transverse reinforcement: KTR(1) type (1 spiral, 2 hoop), 4 bars, 5 legs in Y,
  // 6 legs in Z; TR: 1 area, 2 diameter, 3 spacing, 4 yield strength.
  Table2<int, 1, MXCROS, 1, 6> KTR;
  Table2<double, 1, MXCROS, 1, 4> TR;
  // Bars given one by one (KRB(2) = 3): diameter, area, Y and Z coordinates.
  Table2<double, 1, MXCROS, 1, MXBAR> BARD, BARA, BARY, BARZ;
  // Strands: KST(3) layout (1 circular, 2 square, 3 strand by strand), KST(5) strands;
  // ST: 1 diameter, 2 area, 3 cover, 4 ultimate strength, 5 initial prestressing force,
  // 6 and 7 read and kept.
  Table2<int, 1, MXCROS, 1, 5> KST;
  Table2<double, 1, MXCROS, 1, 7> ST;
  Table2<double, 1, MXCROS, 1, MXBAR> STRD, STRA, STRY, STRZ;  // strands one by one
  // Further records of a nonlinear section: N8 (KN8(1) one-real records follow, not
  // kept), N9 (KN9(4) nonlinear EI index; RN9: 2 ESH, 3 ESU, 4 FU/FY), N10 (KN10(1) 1:
  // strain-hardening model, KN10(2) one-real records follow, not kept).
  Table2<int, 1, MXCROS, 1, 3> KN8;
  Table2<double, 1, MXCROS, 1, 2> RN8;
  Table2<int, 1, MXCROS, 1, 7> KN9;
  Table2<double, 1, MXCROS, 1, 4> RN9;
  Table2<int, 1, MXCROS, 1, 4> KN10;
  Table2<double, 1, MXCROS, 1, 2> RN10;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  CrossSections() = default;
};

// Moment-curvature tables, one per cross section, and the user-defined EI sets.
struct NonlinearEI {
  // User-defined sets k = 1..NEIU (set k belongs to cross section k).
  Table<double, 1, MXEIS> UTHRST;           // axial thrust of the set, F
  Table<int, 1, MXEIS> NEIP;                // points of the set
  Table2<double, 1, MXEIS, 1, MXEIP> UBM;   // moment of point n, F*L
  Table2<double, 1, MXEIS, 1, MXEIP> UCURV; // curvature of point n, 1/L
  // The table each cross section uses (points n = 1..NMP).
  Table<int, 1, MXCROS> NMP;
  Table2<double, 1, MXCROS, 1, MXEIP> CURV; // curvature, increasing, 1/L
  Table2<double, 1, MXCROS, 1, MXEIP> BM;   // moment, F*L
  Table<double, 1, MXCROS> THRUST;          // axial thrust of the table, F
  Table<int, 1, MXCROS> INUSE;              // 1: the table is in use
  // Per-section data as read: NTH sets (one per axial thrust); the first is the table.
  Table<int, 1, MXCROS> NTH;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  NonlinearEI() = default;
};

// Stiffness and load records (input group 8) and restraint records (group 9).
struct Records {
  int NREC4 = 0;                        // stiffness and load records
  Table<int, 1, MXREC4> IFROM4, ITO4, ICONT4;  // stations (as given) and CONTD
  Table<double, 1, MXREC4> Q4, T4, P4;  // transverse load, couple, axial load
  Table<int, 1, MXREC4> LREC4;          // input line
  int NRES = 0;                         // restraint records
  Table<int, 1, MXRES> IFROMR, ITOR, ICONTR;
  Table<double, 1, MXRES> SR, RR;       // lateral and rotational stiffness
  Table<int, 1, MXRES> LRES;            // input line

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Records() = default;
};

// Tie backs, in input order (count NTIE of the control record).
struct TieBacks {
  Table<double, 1, MXTIE> DEPTH; // depth (feet in English units)
  Table<double, 1, MXTIE> AREA;  // L**2
  Table<double, 1, MXTIE> ELAS;  // elastic modulus, F/L**2
  Table<double, 1, MXTIE> XLU;   // unbonded length (feet in English units)
  Table<double, 1, MXTIE> ANGLE; // horizontal angle, degrees
  Table<double, 1, MXTIE> SPACE; // anchor spacing (feet in English units)
  Table<double, 1, MXTIE> F0;    // prestress force, F
  Table<int, 1, MXTIE> KSTA;     // internal station index K
  Table<double, 1, MXTIE> KTB;   // horizontal stiffness per station, F/L
  Table<double, 1, MXTIE> FTB;   // prestress load per station, F
  Table<int, 1, MXTIE> LTIE;     // input line
  // Results of the last solution.
  Table<double, 1, MXTIE> HFORCE;  // horizontal force per station, F
  Table<double, 1, MXTIE> FSTA;  // force per station along the tie back, F
  Table<double, 1, MXTIE> FTIE;  // force per tie back, F
  // Tie backs in force: NTIE of the last problem that gave a wall (a problem without
  // wall sections keeps the tie backs, whatever its control record says).
  int NTIEF = 0;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  TieBacks() = default;
};

// Earth-pressure and soil-profile input (group 10), specified pressures (group 11).
struct SoilInput {
  // p-y modification factors
  int KPYOPT = 0;                        // option read ahead of the rows
  Table<double, 1, MXPYM> PYMD, PYMP, PYMY;  // depth, P-factor, Y-factor
  // wall record
  double HFREE = 0, WA = 0, WP = 0, ZWA = 0, ZWP = 0, AMOD = 0;
  int IWATER = 0;
  double BETA = 0, BETAE = 0;            // slopes of backfill and excavation, degrees
  // surface-load record: uniform pressure and the single surcharge
  double QSURF = 0, XSUR = 0, QPOINT = 0, QLINE = 0, QSTRIP = 0, BSTRIP = 0;
  // surcharge list
  int NSUR = 0;
  Table<int, 1, MXSUR> KSUR;             // 1 point, 2 line, 3 strip
  Table<int, 1, MXSUR> LSUR;             // input line
  Table<double, 1, MXSUR> SLOAD, SDIST, SWIDTH, SVERT, SFACT;
  // soil record
  int NL = 0;                            // soil layers
  int KSTAT = 1;                         // loading: 1 static, 0 cyclic
  double CYCLES = 0;                     // number of cycles
  // layers j = 1..NL
  Table<int, 1, MXLAY> LTYPE;            // soil type code 1..7
  Table<double, 1, MXLAY> ZBOT;          // depth of the layer bottom
  Table<double, 1, MXLAY> GAMMA;         // unit weight
  Table<double, 1, MXLAY> STRTOP, PHITOP, E50TOP, RQD, KPYTOP;  // top values (KPYTOP = KOPT)
  Table<double, 1, MXLAY> STRBOT, PHIBOT, E50BOT, KPYBOT;      // bottom values
  Table<double, 1, MXLAY> UNUSD1, UNUSD2;  // read and kept
  // input lines: wall record, soil record; per layer its type, top and bottom records
  int LWALL = 0, LSOIL = 0;
  Table<int, 1, MXLAY> LLAY, LLTOP, LLBOT;
  // specified pressures (KEP = 1)
  int NSPP = 0;
  Table<int, 1, MXSPP> LSPP;             // input line
  Table<double, 1, MXSPP> SPPD, SPPP;    // depth, pressure

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  SoilInput() = default;
};

// User p-y curves as read (group 12).
struct UserCurves {
  Table<int, 1, MXPYU> KEY;              // station key
  Table<int, 1, MXPYU> NPT;              // points
  Table<double, 1, MXPYU> PMU, YMU;      // P- and Y-multiplier
  Table<int, 1, MXPYU> LUPY;             // input line of the curve's first record
  Table2<double, 1, MXPYU, 1, MXCPT> YU, PU;  // points as read

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  UserCurves() = default;
};

// Working tables of the soil-resistance curves, rebuilt by PYGEN for every problem that
// generates curves. Depths are below the excavation surface unless said otherwise.
constexpr int MXGAMP = 4 * MXLAY;  // points of the unit-weight distribution
constexpr int MXSTRP = 2 * MXLAY;  // points of the strength distribution
struct SoilWork {
  Chars<3> UDEP;             // depth label of the p-y report: " FT" or "  M"
  Chars<3> UFOR;             // force: "LBS" or " KN"
  Chars<2> ULEN;             // length: "IN" or " M"
  double GAMW = 0;           // unit weight of water, F/L**3
  double EPS = 0;            // distance of the outer curve depths from the layer ends, L
  double YREF = 0;           // one foot: reference width of a continuous wall, L
  double RWAWP = 0;          // WA/WP as given (closely-spaced factor)
  double SRATIO = 0;         // spacing ratio WA/WP, at least 1.0
  double CYCLES = 0;         // number of cycles in use (cyclic loading, 0 read as 100)
  double XEND = 0;           // end of the profile, two increments below the tip
  int NCD = NCDDEF;          // curve depths per layer, NCDDEF..MXCD
  int NLI = 0;               // internal soil layers
  Table<int, 1, MXLAY> LNUM; // input layer of each internal layer
  Table<int, 1, MXLAY> KTYPE;  // soil type code
  Table<double, 1, MXLAY> XT, XB;    // top and bottom of the layer, L
  Table<double, 1, MXLAY> GAMI;      // unit weight as given, F/L**3
  Table<double, 1, MXLAY> ST, SB;    // strength S at top and bottom, F/L**2
  Table<double, 1, MXLAY> PHT, PHB;  // friction angle at top and bottom, degrees
  Table<double, 1, MXLAY> E5T, E5B;  // E50 at top and bottom
  Table<double, 1, MXLAY> KPT, KPB;  // KPY at top and bottom, F/L**3
  Table<double, 1, MXLAY> RQ;        // rock quality designation, percent
  Table2<double, 1, MXLAY, 1, MXCD> XC;  // the NCD curve depths of each layer, L
  // Distribution of effective unit weight: depth and weight, a break at the water table.
  int NGP = 0;
  Table<double, 1, MXGAMP> XG, GG;
  // Distribution of strength parameters: a top and a bottom point per layer.
  int NSP = 0;
  Table<double, 1, MXSTRP> XS, SS, PHIS, E50S, KPYS, RQDS;
  // Equivalent depth: integral of the ultimate resistance over each layer (F) and the
  // equivalent depth of its top (L); the last resistance and depth added to F.
  Table<double, 1, MXLAY> F, HEQ;
  double FPREV = 0, DPREV = 0;
  int KSOIL = 0;             // type code of the layer being built
  int NLCUR = 0;             // internal layer whose curves are being built
  int NUSRF = 0;             // user curves at the head of the curve-exchange file
  int NGEN = 0;              // generated curves in the file
  // The curve-exchange file as it holds the generated curves, kept while PYGEN writes it
  // so that READPY takes them without reading the file again: its count record, and per
  // curve the depth and the points (P, Y) in the order of the file. KHELD = 0: READPY
  // reads the file (a value would not read back as written, or the store is full).
  int KHELD = 0;
  int NXCNT = 0;             // the count record of the file
  int NHELD = 0;             // generated curves kept
  Table<int, 1, MXXCRV> HNPT; // points kept of curve c
  Table<double, 1, MXXCRV> HX;  // depth of curve c, L
  Table2<double, 1, MXXCRV, 1, MXXPT> HP, HY;  // point j of curve c: resistance, deflection

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  SoilWork() = default;
};

// Results of the last solution, by internal index K (stations 0..NI at K = 4..NI+4).
struct Results {
  int NSTA = 0;                          // stations stored: NI + 1
  Table<double, 1, MXSTA> X;             // depth i*H, in the unit of H
  Table<double, 1, MXSTA> DEFL, XMOM, SHEAR, XNF, EI, SR, SLOPE;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Results() = default;
};

// Nonlinear iteration of the current problem.
constexpr int KXNONE = -1;  // no solution made in this problem
constexpr int KXLIN = 0;    // linear exit (ITMAX = 0)
constexpr int KXCONV = 1;   // deflections closed
constexpr int KXLIMC = 2;   // iteration limit reached, last solution closed
constexpr int KXLIMN = 3;   // iteration limit reached without closure (warning)
constexpr int KXDEFL = 4;   // maximum allowable deflection exceeded (warning)
struct Iteration {
  int ITER = 0;             // iteration counter, from 1
  int KEXIT = KXNONE;       // exit kind of the last solution
  int NDAMP = 0;            // damping steps taken
  Table<double, 1, MXSTA> WOLD1, WOLD2, WOLD3;  // deflections of the last three iterations
  Table<double, 1, MXSTA> SR; // soil reaction per station, F/L
  int NCLOSE = 0;           // stations 0..NI with |W - WOLD1| > TOL at the last count
  int KMECH = 0;            // 1: the last solution is no equilibrium: a deflection beyond
                            // the length of the wall, or a value that is not finite
  // Wall sections in force: NSECT of the last problem that gave a wall, for the rigidity
  // update (a problem without wall sections reads NSECT = 0 and keeps the wall).
  int NSECF = 0;
  // Ranges of the support-curve records, built from their CONTD chains once per problem:
  // range L runs from FROM = LF(L) over the span LG(L), curve LC1(L) at its start and
  // LC2(L) at its end; stations LK1(L)..LK2(L) are applied (cut at the bottom station),
  // the two ends of a range of positive span with half weight.
  int NLINK = 0;
  Table<int, 1, MXCRV> LF, LG, LK1, LK2, LC1, LC2;

 private:  // constructed by the Model alone (see Table)
  friend struct Model;
  Iteration() = default;
};

// ---------------------------------------------------------------------------
// Unit-label set of the report sections, filled once per problem by SETLAB for the
// problem's unit system (English, SI or generic); fixed widths, blanks included.
struct Labels {
  Chars<8> ULENA;    // depth (the first 3 are printed): " FT     ", "  M     ", "  L     "
  Chars<8> ULENB;    // depth, second form: "FT      ", " M      ", " L      "
  Chars<2> ULENS;    // small length: "IN", "MM", " L"
  Chars<3> UFOR3B;   // force, second copy: "LBS", " KN", "  F"
  Chars<3> ULEN3;    // length: " IN", "  M", "  L"
  Chars<4> UFOR4;    // force: " LBS", "  KN", "   F"
  Chars<2> ULEN2;    // length: "IN", " M", " L"
  Chars<3> UFOR3;    // force: "LBS", " KN", "  F"
  Chars<1> USLASH{"/"};
  Chars<1> UDASH{"-"};
  Chars<2> UPOW{"**"};
  Chars<1> USQ{"2"};
  Chars<3> UCUBE{"3"};  // held as "3  "
  Chars<1> UFOURTH{"4"};
  Chars<3> URAD{"RAD"};
};

// ---------------------------------------------------------------------------
// The whole model. Members are added by the subsystems that read or derive them.
// A model starts cleared: in static storage (process_model(), cleared before it is
// constructed) or value-initialized (Model(), std::make_unique<Model>()), never as a
// local variable (it would start with whatever the stack held, and would not fit
// there). Its construction does not clear the tables again, so a model in static
// storage costs only the memory that the runs write.
struct Model {
  Control C;
  Driver D;
  Warnings WRN;
  Labels LAB;
  Stations STA;
  WallSections WS;
  CrossSections CS;
  NonlinearEI NEI;
  Records REC;
  TieBacks TIE;
  SoilInput SOIL;
  UserCurves UPY;
  Curves CRV;
  PressureTable PRS;
  EarthPressure EP;
  Iteration ITR;
  Results RES;
  SoilWork SW;
};

// ---------------------------------------------------------------------------
// NEAREST -- the integer nearest to Q, halves away from zero (add 0.5 to a non-negative
// Q, subtract 0.5 otherwise, truncate toward zero), the rounding of the method throughout.
// Beyond +-LIMIT the bound +-LIMIT, and -LIMIT for NaN: a value far outside every table,
// for the caller's check. The default bounds a station (a quotient depth/H).
inline int NEAREST(double Q, int LIMIT = 1000000) {
  if (!(Q > -LIMIT)) return -LIMIT;
  if (!(Q < LIMIT)) return LIMIT;
  return static_cast<int>(Q >= 0 ? Q + 0.5 : Q - 0.5);
}
// The station of a depth given in the input: feet in English units (H in inches),
// the unit of H otherwise.
inline int STATION(const Control& C, double D) {
  return NEAREST(C.IUNIT == ENGLISH ? 12 * D / C.H : D / C.H);
}

// Forces of tie back I at the deflection W of its station: the horizontal force per
// station HF = FTB - KTB*W, the force per station along the tie back FS = HF/cos(angle)
// (with PI_SINGLE) and the force per tie back FT: FS*SPACE*12/RV6 in English units
// (spacing in feet), FS*SPACE/RV6 in SI, FS else.
inline void TIEFRC(const Control& C, const TieBacks& TIE, int I, double W, double& HF, double& FS, double& FT) {
  HF = TIE.FTB(I) - TIE.KTB(I) * W;
  FS = HF / std::cos(TIE.ANGLE(I) * PI_SINGLE / 180);
  FT = FS;
  if (C.IUNIT == ENGLISH) {
    FT = FS * TIE.SPACE(I) * 12 / C.RV6;
  } else if (C.IUNIT == SI) {
    FT = FS * TIE.SPACE(I) / C.RV6;
  }
}

// ---------------------------------------------------------------------------
// What a host that calls RUNWAL directly may tell a run beyond NAMES.dat; every part
// is optional. The library's entry point gives none of it.
struct HostHooks {
  // The input data file, report and plot output file as the user knows them, for the
  // report header, when the run opens them under other names (a host working in a
  // private directory). Empty: the header shows the names of NAMES.dat.
  std::string_view input, report, plot;
  // Called after each solution of the iteration with the stage number and the
  // iteration count, for a progress line; it must not write to the run's units.
  void (*iteration)(void* ctx, int NPROB, int ITER) = nullptr;
  void* ctx = nullptr;
  // The run-control data given directly, in place of NAMES.dat, when files is set: the
  // version text (record 1) and the input data file, report, plot output file, iteration
  // log, curve- and pressure-exchange files (records 5 to 10). NAMES.dat is read from the
  // current directory, which is the whole process's: a host that runs analyses side by
  // side in threads gives the names so, each run its own files.
  std::string_view version;
  const std::string_view* files = nullptr;  // six names
  // Curve depths per soil layer for this run (NCDDEF to MXCD) in place of the
  // environment's BRANTO_CURVE_DEPTHS, which is the whole process's; 0: as the
  // environment says.
  int curve_depths = 0;
};

// One run: the model and the open units. Procedures take the run by reference.
struct Run {
  Model& m;
  io::Units& u;
  const HostHooks* host = nullptr;
  operator io::Units&() { return u; }
};

// Run-ending input error: its text has been written; RUNWAL goes to the end of run.
struct EndRun {};
// STOP code: the analysis cannot go on. IBRANTO writes the code to the console, closes
// every unit with what was written and returns; the report has no "END OF ANALYSIS".
// text: what was wrong and where, written before the stop line (see STOPMS).
struct Stop {
  std::string code;
  std::string text;
};
