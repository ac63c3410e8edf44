// sections.cpp -- the cross-section catalogue: elastic sections (records E1 to E6, with
// tapering) and nonlinear sections (records N1 to N10 with their repeated records), the
// stiffness inputs XIT, XIB, EMT, EMB, and the report sections "CROSS SECTIONS" and
// "CROSS SECTIONS PROPERTIES". Values are printed as held, in the problem's units.
#include <span>
#include <string>

#include "report/report.h"
#include "run/input.h"
#include "run/run_impl.h"

namespace {

std::span<double> row(Table2<double, 1, MXCROS, 1, MXPROP>& A, int I, int J, int N) { return {&A(I, J), static_cast<std::size_t>(N)}; }
template <int HI>
std::span<int> row(Table2<int, 1, MXCROS, 1, HI>& A, int I, int N) { return {&A(I, 1), static_cast<std::size_t>(N)}; }
template <int HI>
std::span<double> row(Table2<double, 1, MXCROS, 1, HI>& A, int I, int N) { return {&A(I, 1), static_cast<std::size_t>(N)}; }

// Elastic section I: records E1 to E6, then the derivation of the stiffness inputs.
void RDELAS(Run& run, int I) {
  auto& CS = run.m.CS;
  auto& PROP = CS.PROP;
  io::list_read(run, LINP, {CSREC(I, "record E1"), 0, "PROP1 PROP2 PROP3 PROP4 PROP5 PROP6 PROP7 PROP8"},
                row(PROP, I, 1, 8));
  io::list_read(run, LINP,
                {CSREC(I, "record E2"), 0, "PROP9 PROP10 PROP11 PROP12 PROP13 PROP14 PROP15 PROP16 PROP17 PROP18 PROP38 ITAPER"},
                row(PROP, I, 9, 10), PROP(I, 38), CS.ITAPER(I));
  if (CS.ITAPER(I) > 0) {
    io::list_read(run, LINP, {CSREC(I, "record E3"), 0, "PROP19 PROP20 PROP21 PROP22 PROP23 PROP24 PROP25 PROP26"},
                  row(PROP, I, 19, 8));
    io::list_read(run, LINP,
                  {CSREC(I, "record E4"), 0, "PROP27 PROP28 PROP29 PROP30 PROP31 PROP32 PROP33 PROP34 PROP35 PROP36 PROP39"},
                  row(PROP, I, 27, 10), PROP(I, 39));
  }
  io::list_read(run, LINP, {CSREC(I, "record E5"), 0, "IAFAM IE5B RE5 IROUND IE5E"}, CS.IAFAM(I), CS.IE5B(I),
                CS.RE5(I), CS.IROUND(I), CS.IE5E(I));
  PROP(I, 37) = CS.RE5(I);  // wall thickness of an AISC pipe
  io::list_read(run, LINP, {CSREC(I, "record E6"), 0, "SNAME2"}, CS.SNAME2(I));
  // Moment of inertia and Young's modulus at the top and the bottom; SI inertias are mm**4.
  const double DIV = run.m.C.IUNIT == SI ? SIDIV : 1.0;
  CS.XIT(I) = PROP(I, 12) / DIV;
  CS.EMT(I) = PROP(I, 17);
  if (CS.ITAPER(I) > 0) {
    CS.XIB(I) = PROP(I, 30) / DIV;
    CS.EMB(I) = PROP(I, 35);
  } else {
    CS.XIB(I) = CS.XIT(I);
    CS.EMB(I) = CS.EMT(I);
    for (int J = 1; J <= 18; ++J) PROP(I, J + 18) = PROP(I, J);
    PROP(I, 39) = PROP(I, 38);
    // The bottom values are this run's, though no READ gave them.
    for (int J = 19; J <= 36; ++J) run.u.note_set(&PROP(I, J));
    run.u.note_set(&PROP(I, 39));
  }
}

// Records of one real each that are read and not kept (after N8 and N10).
void SKIPRL(Run& run, int I, std::string_view what, int N) {
  const std::string W = CSREC(I, what);
  double X = 0;
  for (int K = 1; K <= N; ++K) io::list_read(run, LINP, {W, K, "VALUE"}, X);
}

// Bars or strands given one by one: N of them (checked against the table) into D, A, Y, Z.
void RDBARS(Run& run, int I, int N, std::string_view what, std::string_view limit,
            Table2<double, 1, MXCROS, 1, MXBAR>& D, Table2<double, 1, MXCROS, 1, MXBAR>& A,
            Table2<double, 1, MXCROS, 1, MXBAR>& Y, Table2<double, 1, MXCROS, 1, MXBAR>& Z) {
  if (N > MXBAR) TOOMCH(run, limit, N, MXBAR, run.u.last_record(LINP).first);
  const std::string W = CSREC(I, what);
  for (int B = 1; B <= N; ++B) io::list_read(run, LINP, {W, B, "DIAM AREA COORDY COORDZ"}, D(I, B), A(I, B), Y(I, B), Z(I, B));
}

// Nonlinear section I: records N1 to N10 and the repeated records. N1 holds the
// equivalent diameter, the moment of inertia (property 11) and the equivalent Young's
// modulus (property 17), which give the rigidity of the first solution; the iteration
// then takes the section's moment-curvature table.
void RDNONL(Run& run, int I) {
  auto& CS = run.m.CS;
  auto& PROP = CS.PROP;
  io::list_read(run, LINP, {CSREC(I, "record N1"), 0, "PROP1 PROP38 PROP10 PROP11 PROP12 PROP14 PROP15 PROP16 PROP17"},
                PROP(I, 1), PROP(I, 38), PROP(I, 10), PROP(I, 11), PROP(I, 12), PROP(I, 14), PROP(I, 15),
                PROP(I, 16), PROP(I, 17));
  const int TOPS[9] = {1, 10, 11, 12, 14, 15, 16, 17, 38};
  for (int J : TOPS) {
    PROP(I, J == 38 ? 39 : J + 18) = PROP(I, J);
    run.u.note_set(&PROP(I, J == 38 ? 39 : J + 18));  // this run's, though no READ gave it
  }
  CS.ITAPER(I) = 0;
  run.u.note_set(&CS.ITAPER(I));
  CS.XIT(I) = CS.XIB(I) = PROP(I, 11);
  CS.EMT(I) = CS.EMB(I) = PROP(I, 17);
  io::list_read(run, LINP, {CSREC(I, "record N2"), 0, "NLKIND GEO1 GEO2 GEO3 GEO4 GEO5 GEO6 GEO7 GEO8 GEO9 GEO10"},
                CS.NLKIND(I), row(CS.GEO, I, 10));
  io::list_read(run, LINP, {CSREC(I, "record N3"), 0, "MAT1 MAT2 MAT3 MAT4 MAT5 MAT6 KNL1 KNL2 KNL3 KNL4"},
                row(CS.MAT, I, 6), row(CS.KNL, I, 4));
  io::list_read(run, LINP, {CSREC(I, "record N4"), 0, "SNAME3"}, CS.SNAME3(I));
  io::list_read(run, LINP, {CSREC(I, "record N5"), 0, "KRB1 KRB2 KRB3 KRB4 KRB5 RB1 RB2 RB3 RB4 RB5 KCONF"},
                row(CS.KRB, I, 5), row(CS.RB, I, 5), CS.KCONF(I));
  io::list_read(run, LINP, {CSREC(I, "record N6"), 0, "KTR1 KTR2 KTR3 KTR4 KTR5 KTR6 TR1 TR2 TR3 TR4"},
                row(CS.KTR, I, 6), row(CS.TR, I, 4));
  if (CS.KRB(I, 2) == 3)
    RDBARS(run, I, CS.KRB(I, 5), "bar", "NUMBER OF REINFORCEMENT BARS", CS.BARD, CS.BARA, CS.BARY, CS.BARZ);
  io::list_read(run, LINP, {CSREC(I, "record N7"), 0, "KST1 KST2 KST3 KST4 KST5 ST1 ST2 ST3 ST4 ST5 ST6 ST7"},
                row(CS.KST, I, 5), row(CS.ST, I, 7));
  if (CS.KST(I, 3) == 3)
    RDBARS(run, I, CS.KST(I, 5), "strand", "NUMBER OF STRANDS", CS.STRD, CS.STRA, CS.STRY, CS.STRZ);
  io::list_read(run, LINP, {CSREC(I, "record N8"), 0, "N8I1 N8I2 N8I3 N8R1 N8R2"}, row(CS.KN8, I, 3),
                row(CS.RN8, I, 2));
  SKIPRL(run, I, "record after N8", CS.KN8(I, 1));
  io::list_read(run, LINP, {CSREC(I, "record N9"), 0, "N9I1 N9I2 N9I3 EIINDEX N9I5 N9I6 N9I7 N9R1 ESH ESU FUFY"},
                row(CS.KN9, I, 7), row(CS.RN9, I, 4));
  io::list_read(run, LINP, {CSREC(I, "record N10"), 0, "KHARD NUSER N10I3 N10I4 N10R1 N10R2"}, row(CS.KN10, I, 4),
                row(CS.RN10, I, 2));
  SKIPRL(run, I, "user point", CS.KN10(I, 2));
}

// ---------------------------------------------------------------------------
// "CROSS SECTIONS"

void KLINE(Run& run, std::string_view KIND) { io::write(run, LOUT, R"((5X," CROSS SECTION TYPE  :",A))", KIND); }

// Property lines of the elastic shapes 0 to 4 (5 and 6 are written on their own):
// label and property number of the top value.
struct PLINE {
  const char* LABEL;
  int J;
};
constexpr PLINE P_GEN[] = {{" EQUIVALENT DIAMETER : ", 1}};
constexpr PLINE P_CIRC[] = {{" EXTERNAL DIAMETER   : ", 1}, {" INTERNAL DIAMETER   : ", 2}};
constexpr PLINE P_RECT[] = {{" EQUIVALENT DIAMETER : ", 1}, {" EXTERNAL WIDTH      : ", 3},
                            {" EXTERNAL DEPTH      : ", 4}, {" INTERNAL WIDTH      : ", 5},
                            {" INTERNAL DEPTH      : ", 6}};
constexpr PLINE P_IH[] = {{" EQUIVALENT DIAMETER : ", 1}, {" EXTERNAL WIDTH      : ", 3},
                          {" EXTERNAL DEPTH      : ", 4}, {" FLANGE THICKNESS    : ", 7},
                          {" WEB THICKNESS       : ", 8}};
std::span<const PLINE> SHAPEL(int ISHAPE) {
  switch (ISHAPE) {
    case 0: return P_GEN;
    case 1: return P_CIRC;
    case 2: return P_RECT;
    case 3: case 4: return P_IH;
    default: return {};
  }
}
const char* SHAPEK(int ISHAPE) {
  switch (ISHAPE) {
    case 0: return " GENERAL SECTION  ";
    case 1: return " CIRCULAR PIPE    ";
    case 2: return " RECTANGULAR PIPE ";
    case 3: return " I SECTION        ";
    case 4: return " H SECTION        ";
    case 6: return " SHEET PILING     ";
    default: return nullptr;
  }
}
const char* AISCK(int IAFAM) {
  switch (IAFAM) {
    case 0: return " AISC SECTION (W) ";
    case 1: return " AISC SECTION (M) ";
    case 2: return " AISC SECTION (S) ";
    case 3: return " AISC SECTION (HP)";
    case 11: return " AISC SECTION (HSS) ";
    case 12: return " AISC SECTION (PIPE)";
    default: return " AISC SECTION       ";
  }
}

void ECHELA(Run& run, int I) {
  const auto& CS = run.m.CS;
  const auto& PROP = CS.PROP;
  const std::string UL = ULEN(run), US = USTR(run);
  const int IS = CS.ISHAPE(I);
  io::write(run, LOUT, R"((5X," TYPE                : "," ELASTIC"))");
  if (CS.ITAPER(I) > 0) {
    // Tapered: the shapes 0 to 3 by their code, anything above as an H section.
    const int KS = IS > 3 ? 4 : IS;
    if (KS >= 0) KLINE(run, SHAPEK(KS));
    io::write(run, LOUT, R"((5X," TAPERED SECTION       ","         TOP                  BOTTOM"))");
    for (const PLINE& P : SHAPEL(KS)) TPLINE(run, P.LABEL, PROP(I, P.J), PROP(I, P.J + 18), UL);
    TPLINE(run, " YOUNG MODULUS       : ", PROP(I, 17), PROP(I, 35), US);
    return;
  }
  if (IS == 5) {
    KLINE(run, AISCK(CS.IAFAM(I)));
    io::write(run, LOUT, R"((5X," AISC SECTION NAME   : ",A32))", CS.SNAME2(I));
    RLINE(run, CS.IROUND(I) == 0 ? " EQUIVALENT DIAMETER : " : " EXTERNAL DIAMETER   : ", PROP(I, 1), UL);
    if (CS.IAFAM(I) <= 11) {
      for (const PLINE& P : P_IH)
        if (P.J != 1) RLINE(run, P.LABEL, PROP(I, P.J), UL);
    } else {
      RLINE(run, " INTERNAL DIAMETER   : ", PROP(I, 2), UL);
      RLINE(run, " THICKNESS           : ", PROP(I, 37), UL);
    }
  } else if (IS == 6) {
    KLINE(run, SHAPEK(6));
    io::write(run, LOUT, R"((5X," SECTION NAME        : ",A32))", CS.SNAME2(I));
    RLINE(run, " WIDTH               : ", PROP(I, 3), UL);
    RLINE(run, " DEPTH               : ", PROP(I, 4), UL);
    RLINE(run, " WEB THICKNESS       : ", PROP(I, 8), UL);
  } else if (SHAPEK(IS) != nullptr) {
    KLINE(run, SHAPEK(IS));
    for (const PLINE& P : SHAPEL(IS)) RLINE(run, P.LABEL, PROP(I, P.J), UL);
  }
  RLINE(run, " YOUNG MODULUS       : ", PROP(I, 17), US);
}

// Nonlinear sections. Which lines each kind prints (kinds 1 to 10 by NLKIND):
//   all kinds      the kind line, the geometry lines of the kind, " EQ. YOUNG MODULUS"
//                  (the modulus of the first solution)
//   1 to 6         concrete: " CONCRETE FC"
//   1 to 3         the reinforcement block (bars, their diameter, area, modulus, yield
//                  strength, layout, cover or one line per bar when given bar by bar)
//   4 to 6         the strand block (strands, diameter, area, strength, initial
//                  prestressing force, layout, cover or one line per strand), and the
//                  reinforcement block when the section has bars
//   1 to 6         "CONFINED SECTION" and the transverse reinforcement block when the
//                  section is confined (only then does the transverse steel count);
//                  legs and number of bars for hoops only
//   3              the casing block and the embedded steel block
//   7 to 9         " ES STEEL", " FY STEEL"
//   1 to 9         "USE STRAIN HARDENING MODEL" with ESH, ESU, FU/FY when the model is
//                  used; " NONLINEAR EI INDEX" last
//   10             nothing more: its moment-curvature table is "USER DEFINED NONLINEAR EI"
// A kind outside 1 to 10 prints no kind line and no geometry line. A code outside its
// list (layout, transverse type, steel kind) is printed as its number.
const char* NLKINDT(int K, bool H) {
  switch (K) {
    case 1: return " RECTANGULAR CONCRETE PILE  ";
    case 2: return " ROUND CONCRETE SHAFT       ";
    case 3: return " ROUND CONC. SHAFT, CASING (AND STEEL SECTION)";
    case 4: return " ROUND PRESTRESSED PILE     ";
    case 5: return " SQUARE PRESTRESSED PILE    ";
    case 6: return " OCTOGONAL PRESTRESSED PILE ";
    case 7: return " STEEL PIPE PILE            ";
    case 8: return H ? " STEEL H SECTION PILE       " : " STEEL I SECTION PILE       ";
    case 9: return " STEEL AISC SECTION PILE    ";
    case 10: return " USER DEFINED EI            ";
    default: return nullptr;
  }
}
// Codes of the embedded steel kind KNL(2) (also the I/H flag of kind 8).
constexpr int KSAISC = 1, KSI = 2, KSH = 3, KSPIPE = 4;

// Steel section lines: width, depth, flange and web thickness from GEO.
void STEELL(Run& run, int I, const std::string& UL) {
  const auto& GEO = run.m.CS.GEO;
  RLINE(run, " EXTERNAL WIDTH      : ", GEO(I, 1), UL);
  RLINE(run, " EXTERNAL DEPTH      : ", GEO(I, 2), UL);
  RLINE(run, " FLANGE THICKNESS    : ", GEO(I, 7), UL);
  RLINE(run, " WEB THICKNESS       : ", GEO(I, 6), UL);
}

// One line per bar or strand given one by one.
void BARL(Run& run, const char* WHAT, int B, double D, double A, double Y, double Z) {
  io::write(run, LOUT, R"((5X,3X,A6,I5,"  DIAM",\))", WHAT, B);
  WREAL(run, LOUT, 13, 5, D);
  io::write(run, LOUT, R"(("  AREA",\))");
  WREAL(run, LOUT, 13, 5, A);
  io::write(run, LOUT, R"(("  COORDY",\))");
  WREAL(run, LOUT, 13, 5, Y);
  io::write(run, LOUT, R"(("  COORDZ",\))");
  WREAL(run, LOUT, 13, 5, Z);
  WEOL(run, LOUT);
}

void REBARL(Run& run, int I, const std::string& UL, const std::string& UA, const std::string& US) {
  const auto& CS = run.m.CS;
  ILINE(run, " NUMBER REBARS       : ", CS.KRB(I, 5));
  RLINE(run, " DIAMETER REINF.     : ", CS.RB(I, 2), UL);
  RLINE(run, " AREA REINFORCEMENT  : ", CS.RB(I, 1), UA);
  RLINE(run, " ES REINFORCEMENT    : ", CS.RB(I, 4), US);
  RLINE(run, " FY REINFORCEMENT    : ", CS.RB(I, 5), US);
  const int KL = CS.KRB(I, 2);
  if (KL == 1) TLINE(run, " REINF. LAYOUT       : ", "CIRCULAR");
  else if (KL == 2) TLINE(run, " REINF. LAYOUT       : ", "RECTANGULAR");
  else if (KL == 3) TLINE(run, " REINF. LAYOUT       : ", "MANUAL");
  else ILINE(run, " REINF. LAYOUT       : ", KL);
  if (KL != 3) {
    RLINE(run, " COVER               : ", CS.RB(I, 3), UL);
  } else {
    io::write(run, LOUT, R"((5X," REINF. COORDS       : "))");
    const int NB = CS.KRB(I, 5) < MXBAR ? CS.KRB(I, 5) : MXBAR;
    for (int B = 1; B <= NB; ++B) BARL(run, "REBAR ", B, CS.BARD(I, B), CS.BARA(I, B), CS.BARY(I, B), CS.BARZ(I, B));
  }
}

void STRNDL(Run& run, int I, const std::string& UL, const std::string& UA, const std::string& US) {
  const auto& CS = run.m.CS;
  ILINE(run, " NUMBER STRANDS      : ", CS.KST(I, 5));
  RLINE(run, " DIAMETER STRAND     : ", CS.ST(I, 1), UL);
  RLINE(run, " AREA STRAND         : ", CS.ST(I, 2), UA);
  RLINE(run, " FU STRAND           : ", CS.ST(I, 4), US);
  RLINE(run, " INITIAL PRESS. FORCE: ", CS.ST(I, 5), std::string(run.m.LAB.UFOR3.view()));
  const int KL = CS.KST(I, 3);
  if (KL == 1) TLINE(run, " STRAND LAYOUT       : ", "CIRCULAR");
  else if (KL == 2) TLINE(run, " STRAND LAYOUT       : ", "SQUARE");
  else if (KL == 3) TLINE(run, " STRAND LAYOUT       : ", "MANUAL");
  else ILINE(run, " STRAND LAYOUT       : ", KL);
  if (KL != 3) {
    RLINE(run, " COVER               : ", CS.ST(I, 3), UL);
  } else {
    io::write(run, LOUT, R"((5X," STRAND COORDS       : "))");
    const int NS = CS.KST(I, 5) < MXBAR ? CS.KST(I, 5) : MXBAR;
    for (int B = 1; B <= NS; ++B) BARL(run, "STRAND", B, CS.STRD(I, B), CS.STRA(I, B), CS.STRY(I, B), CS.STRZ(I, B));
  }
}

void TRANSL(Run& run, int I, const std::string& UL, const std::string& UA, const std::string& US) {
  const auto& CS = run.m.CS;
  io::write(run, LOUT, R"((6X,"CONFINED SECTION"))");
  const int KT = CS.KTR(I, 1);
  if (KT == 1) TLINE(run, " TRANSV. REINF. TYPE : ", "SPIRAL");
  else if (KT == 2) TLINE(run, " TRANSV. REINF. TYPE : ", "HOOP");
  else ILINE(run, " TRANSV. REINF. TYPE : ", KT);
  if (KT == 2) {
    ILINE(run, " NUMBER TR. REBARS   : ", CS.KTR(I, 4));
    ILINE(run, " NUMBER LEGS Y       : ", CS.KTR(I, 5));
    ILINE(run, " NUMBER LEGS Z       : ", CS.KTR(I, 6));
  }
  RLINE(run, " DIAMETER TR. REINF. : ", CS.TR(I, 2), UL);
  RLINE(run, " AREA TRANSV. REINF. : ", CS.TR(I, 1), UA);
  RLINE(run, " SPACING TR. REINF.  : ", CS.TR(I, 3), UL);
  RLINE(run, " FY TRANSV. REINF.   : ", CS.TR(I, 4), US);
}

void CASEL(Run& run, int I, const std::string& UL, const std::string& US) {
  const auto& CS = run.m.CS;
  if (CS.KNL(I, 1) == 0) {
    io::write(run, LOUT, R"((6X,"DIAMETER CASING     : NO CASING"))");
    return;
  }
  RLINE(run, " DIAMETER CASING     : ", CS.GEO(I, 8), UL);
  RLINE(run, " THICKNESS CASING    : ", CS.GEO(I, 9), UL);
  RLINE(run, " ES CASING           : ", CS.MAT(I, 3), US);
  RLINE(run, " FY CASING           : ", CS.MAT(I, 4), US);
}

void EMBEDL(Run& run, int I, const std::string& UL, const std::string& US) {
  const auto& CS = run.m.CS;
  if (CS.KNL(I, 3) == 0) {
    TLINE(run, " EMBEDDED STEEL SECT : ", "NONE");
    return;
  }
  const int KS = CS.KNL(I, 2);
  if (KS == KSAISC) {
    TLINE(run, " EMBEDDED STEEL SECT : ", "AISC");
    io::write(run, LOUT, R"((5X," AISC SECTION NAME   : ",A32))", CS.SNAME3(I));
    STEELL(run, I, UL);
  } else if (KS == KSI || KS == KSH) {
    TLINE(run, " EMBEDDED STEEL SECT : ", KS == KSI ? "I" : "H");
    STEELL(run, I, UL);
  } else if (KS == KSPIPE) {
    TLINE(run, " EMBEDDED STEEL SECT : ", "PIPE");
    RLINE(run, " DIAMETER STEEL      : ", CS.GEO(I, 10), UL);
    RLINE(run, " THICKNESS STEEL     : ", CS.MAT(I, 1), UL);
  } else {
    ILINE(run, " EMBEDDED STEEL SECT : ", KS);
  }
  RLINE(run, " ES STEEL            : ", CS.MAT(I, 5), US);
  RLINE(run, " FY STEEL            : ", CS.MAT(I, 6), US);
}

void ECHNL(Run& run, int I) {
  const auto& CS = run.m.CS;
  const auto& GEO = CS.GEO;
  const auto& PROP = CS.PROP;
  const std::string UL = ULEN(run), US = USTR(run);
  const std::string UA = UL + std::string(run.m.LAB.UPOW.view()) + std::string(run.m.LAB.USQ.view());
  const int K = CS.NLKIND(I);
  io::write(run, LOUT, R"((5X," TYPE                : "," NONLINEAR"))");
  const char* KIND = NLKINDT(K, CS.KNL(I, 2) == KSH);
  if (KIND != nullptr) KLINE(run, KIND);
  // Geometry of the kind.
  switch (K) {
    case 1:
      RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL);
      RLINE(run, " EXTERNAL WIDTH      : ", GEO(I, 1), UL);
      RLINE(run, " EXTERNAL DEPTH      : ", GEO(I, 2), UL);
      break;
    case 2: RLINE(run, " EXTERNAL DIAMETER   : ", GEO(I, 3), UL); break;
    case 3: RLINE(run, " CONCRETE DIAMETER   : ", GEO(I, 3), UL); break;
    case 4:
      RLINE(run, " EXTERNAL DIAMETER   : ", GEO(I, 3), UL);
      RLINE(run, " VOID DIAMETER       : ", GEO(I, 4), UL);
      break;
    case 5:
      RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL);
      RLINE(run, " EXTERNAL WIDTH      : ", GEO(I, 1), UL);
      RLINE(run, " CORNER CHAMFER      : ", GEO(I, 5), UL);
      RLINE(run, " VOID DIAMETER       : ", GEO(I, 4), UL);
      break;
    case 6:
      RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL);
      RLINE(run, " EXTERNAL WIDTH      : ", GEO(I, 1), UL);
      RLINE(run, " VOID DIAMETER       : ", GEO(I, 4), UL);
      break;
    case 7:  // as a circular pipe: the void is the pipe's inside
      RLINE(run, " EXTERNAL DIAMETER   : ", GEO(I, 3), UL);
      RLINE(run, " INTERNAL DIAMETER   : ", GEO(I, 4), UL);
      break;
    case 8:
      RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL);
      STEELL(run, I, UL);
      break;
    case 9:
      io::write(run, LOUT, R"((5X," AISC SECTION NAME   : ",A32))", CS.SNAME3(I));
      RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL);
      STEELL(run, I, UL);
      break;
    case 10: RLINE(run, " EQUIVALENT DIAMETER : ", PROP(I, 1), UL); break;
    default: break;
  }
  RLINE(run, " EQ. YOUNG MODULUS   : ", PROP(I, 17), US);
  if (K < 1 || K > 9) return;
  if (K <= 6) {
    RLINE(run, " CONCRETE FC         : ", CS.MAT(I, 2), US);
    if (K <= 3 || CS.KRB(I, 5) > 0) REBARL(run, I, UL, UA, US);
    if (K >= 4) STRNDL(run, I, UL, UA, US);
    if (CS.KCONF(I) == 1) TRANSL(run, I, UL, UA, US);
    if (K == 3) {
      CASEL(run, I, UL, US);
      EMBEDL(run, I, UL, US);
    }
  } else {
    RLINE(run, " ES STEEL            : ", CS.MAT(I, 5), US);
    RLINE(run, " FY STEEL            : ", CS.MAT(I, 6), US);
  }
  if (CS.KN10(I, 1) == 1) {
    io::write(run, LOUT, R"((6X,"USE STRAIN HARDENING MODEL"))");
    RLINE(run, " ESH                 : ", CS.RN9(I, 2), "");
    RLINE(run, " ESU                 : ", CS.RN9(I, 3), "");
    RLINE(run, " FU/FY               : ", CS.RN9(I, 4), "");
  }
  ILINE(run, " NONLINEAR EI INDEX  : ", CS.KN9(I, 4));
}

// One row of "CROSS SECTIONS PROPERTIES": KIND 0 plain, 1 the top row of a tapered
// section, 2 its bottom row. The 11 blanks of the bottom row stand for the 5 blanks,
// the section number and the blank of the other rows, so that "BOT" stands under "TOP".
void PROPRW(Run& run, int I, int KIND, double DIAM, double XI) {
  if (KIND == 2) {
    WBLANK(run, LOUT, 11);
  } else {
    WBLANK(run, LOUT, 5);
    WINT(run, LOUT, 5, I);
    WBLANK(run, LOUT, 1);
  }
  if (KIND == 0) {
    WBLANK(run, LOUT, 5);
  } else {
    WBLANK(run, LOUT, 1);
    io::write(run, LOUT, R"((A3,\))", KIND == 1 ? "TOP" : "BOT");
    WBLANK(run, LOUT, 1);
  }
  WREAL(run, LOUT, 14, 5, DIAM);
  WREAL(run, LOUT, 14, 5, XI);
  WEOL(run, LOUT);
}

}  // namespace

std::string CSREC(int I, std::string_view what) { return "cross section " + std::to_string(I) + ", " + std::string(what); }

std::string ULEN(const Run& run) { return std::string(run.m.LAB.ULEN2.view()); }
std::string USTR(const Run& run) {
  const auto& L = run.m.LAB;
  return std::string(L.UFOR3.view()) + std::string(L.USLASH.view()) + std::string(L.ULEN2.view()) +
         std::string(L.UPOW.view()) + std::string(L.USQ.view());
}

void RLINE(Run& run, std::string_view LABEL, double X, std::string_view UNIT) {
  io::write(run, LOUT, R"((5X,A,\))", LABEL);
  WREAL(run, LOUT, 13, 5, X);
  if (!UNIT.empty()) {
    WBLANK(run, LOUT, 1);
    WCHARS(run, LOUT, UNIT);
  }
  WEOL(run, LOUT);
}

void ILINE(Run& run, std::string_view LABEL, int I) {
  io::write(run, LOUT, R"((5X,A,\))", LABEL);
  WINT(run, LOUT, 13, I);
  WEOL(run, LOUT);
}

void TLINE(Run& run, std::string_view LABEL, std::string_view TEXT) { io::write(run, LOUT, "(5X,A,A)", LABEL, TEXT); }

void TPLINE(Run& run, std::string_view LABEL, double XTOP, double XBOT, std::string_view UNIT) {
  // Top field in columns 1-13 after the label, bottom field in 25-37 (under the
  // headings "TOP" and "BOTTOM", whose last letters stand one column before the
  // fields' ends).
  io::write(run, LOUT, R"((5X,A,\))", LABEL);
  WREAL(run, LOUT, 13, 5, XTOP);
  WBLANK(run, LOUT, 1);
  WCHARS(run, LOUT, UNIT);
  WBLANK(run, LOUT, 10 - static_cast<int>(UNIT.size()));
  WREAL(run, LOUT, 13, 5, XBOT);
  WBLANK(run, LOUT, 1);
  WCHARS(run, LOUT, UNIT);
  WEOL(run, LOUT);
}

void RDCROS(Run& run) {
  auto& CS = run.m.CS;
  const int NCROSS = run.m.C.NCROSS;
  for (int I = 1; I <= NCROSS; ++I) {
    // The first two values are conventionally the section number; the run ignores them.
    int IDUM = 0;
    run.m.CS.LCROS(I) = run.u.line(LINP);
    io::list_read(run, LINP, {"cross section header", I, "ISEC ISEC ISHAPE INONL"}, IDUM, IDUM, CS.ISHAPE(I),
                  CS.INONL(I));
    io::list_read(run, LINP, {"cross section name", I, "SNAME"}, CS.SNAME(I));
    if (CS.INONL(I) == 0) {
      RDELAS(run, I);
    } else {
      RDNONL(run, I);
    }
  }
}

void ECHCRS(Run& run) {
  const auto& CS = run.m.CS;
  const auto& L = run.m.LAB;
  const int NCROSS = run.m.C.NCROSS;
  if (NCROSS <= 0) return;
  io::write(run, LOUT, R"((/,5X,"* CROSS SECTIONS *"))");
  bool ELAS = false, NONL = false;
  for (int I = 1; I <= NCROSS; ++I) {
    io::write(run, LOUT, R"((/,5X," CROSS SECTION       : ",I5,/,5X," SECTION NAME        : ",A32))", I, CS.SNAME(I));
    if (CS.INONL(I) == 0) {
      ECHELA(run, I);
      ELAS = true;
    } else {
      ECHNL(run, I);
      NONL = true;
    }
  }
  io::write(run, LOUT, R"((/,/,5X,"* CROSS SECTIONS PROPERTIES *"))");
  if (ELAS) {
    io::write(run, LOUT, R"((/,5X,"         ELASTIC SECTIONS         "))");
    io::write(run, LOUT, R"((/,5X,"  SECT",11X,"DIAM,",A2,5X,"  I,",A2,A2,A1))", L.ULEN2, L.ULEN2, L.UPOW, L.UFOURTH);
    for (int I = 1; I <= NCROSS; ++I) {
      if (CS.INONL(I) != 0) continue;
      const bool TAPER = CS.ITAPER(I) > 0;
      PROPRW(run, I, TAPER ? 1 : 0, CS.PROP(I, 1), CS.XIT(I));
      if (TAPER) PROPRW(run, I, 2, CS.PROP(I, 19), CS.XIB(I));
    }
  }
  if (NONL) {
    io::write(run, LOUT, R"((/,5X,"         NONLINEAR SECTIONS       "))");
    io::write(run, LOUT, R"((/,5X,"  SECT",11X,"DIAM,",A2,5X,"  I,",A2,A2,A1))", L.ULEN2, L.ULEN2, L.UPOW, L.UFOURTH);
    for (int I = 1; I <= NCROSS; ++I)
      if (CS.INONL(I) != 0) PROPRW(run, I, 0, CS.PROP(I, 1), CS.XIT(I));
  }
}
