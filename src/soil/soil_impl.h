// soil_impl.h -- the soil folder's own declarations: the driver's pieces, the profile
// lookups, the frame of the model routines, the equivalent depth and the soil models.
// Used by the folder and its tests only; the rest of the program calls soil.h.
#pragma once

#include <string>

#include "soil/soil.h"

// Loading of the soil record: 1 static, any other value cyclic.
inline bool CYCLIC(const Model& m) { return m.SOIL.KSTAT != 1; }

// ---------------------------------------------------------------------------
// The driver's pieces.

// PYLAYS -- internal layers, curve depths and both distributions from the input
// profile (SW.NLI, XT, XB, ..., XC; NGP, XG, GG; NSP, XS, ...). No output.
void PYLAYS(Run& run);
// PYREPT -- "SOIL LAYERS AND STRENGTH DATA" down to the heading "P-Y CURVES DATA".
void PYREPT(Run& run);
// PYDISP -- the curves of every internal layer by its soil type.
void PYDISP(Run& run);

// ---------------------------------------------------------------------------
// Profile lookups at a depth D below the excavation surface (the distributions of SW).

double CLOOK(Run& run, double D);    // strength; beyond the distribution: warning, STOP 1
double PHILK(Run& run, double D);    // friction angle, degrees; beyond: warning, STOP
double E50LK(Run& run, double D);    // E50; beyond: the last value
double RQDLK(Run& run, double D);    // rock quality; beyond: the last value
double KPYLK(Run& run, double D);    // modulus of subgrade reaction; beyond: the last value
double GAMAVG(Run& run, double D);   // average unit weight from the surface; beyond: STOP 4
// Average strength at curve depth I of layer N: in the first layer the mean of the
// strength at the top and at the depth (interpolated within the layer; beyond the
// distribution a warning on the report); in deeper layers the trapezoid average of the
// strength over the layer's curve depths 1..I (c itself at the first).
double CAVG(Run& run, int N, int I);
// Vertical stress of the backfill at depth X below the top of the wall, from the input
// layers; below the last layer: warning on the report, STOP 4.
double SVBACK(Run& run, double X);
// Earth-pressure load of a station at depth X below the top of the wall, divided by the
// increment length: force per length of wall. 0 when the pressure table is empty.
double QLOAD(Run& run, double X);

// ---------------------------------------------------------------------------
// The frame every model routine uses: side depths, the curve tables of the report,
// the records of the curve-exchange file, the layer integrals for the equivalent depth.

constexpr int KEXCS = 1;  // excavation side
constexpr int KBACK = 2;  // backfill side
constexpr int NPYP = 17;  // points per side
static_assert(2 * NPYP == MXXPT, "a generated curve is kept with its points of both sides");

struct PyCurve {
  Arr<double, 1, NPYP> Y, P;  // deflection, L; resistance, F/L
};

// Depth below the ground surface of side KSIDE for a curve at D below the excavation
// surface in layer N: the plain depth in the first layer, the equivalent depth of the
// layer's top plus the depth into the layer below it; Xexc more on the backfill side.
double XSIDE(Run& run, int N, double D, int KSIDE);
// Curve-exchange header record of one curve depth: X below the top of the wall and 34.
void PYXHDR(Run& run, double X);
// Side line of the report: "AT THE EXCAVATION SIDE" or "AT THE BACKFILL SIDE".
void PYSIDE(Run& run, int KSIDE);
// Multipliers and pressure offset at X: y times YMULT, p times PMULT, the offset taken
// off on the excavation side and added on the backfill side. Returns PM and YM.
void PYMODS(Run& run, double X, int KSIDE, double OFFSET, PyCurve& CV, double& PM, double& YM);
// One point: the report line in LINE (y, p) and the exchange record in XREC (J, p, y).
void PYLINE(Run& run, const char* LINE, const char* XREC, int J, double Y, double P);
// The multiplier line after the seventeenth point.
void PYMULT(Run& run, double PM, double YM);
// Ultimate resistance of a clay against a continuous wall: (2c + gamma*x)*b times the
// slope factor SLOPE on the excavation side, (2c + sv)*b with the backfill's vertical
// stress on the backfill side.
double PUCONT(Run& run, int KSIDE, double C, double GAMMA, double XS, double B, double SLOPE);
// The pressure offset of the clay models at X: q / s_ratio - 2*c*b, 0 when at most 1E-10.
double PYOFFS(Run& run, double X, double C, double B);
// Layer integral F of layer N: the first curve depth sets it to 0; each later one adds
// the trapezoid 0.5 * (previous R + R) * step. FBOTTM adds R times the rest of the layer.
void FACCUM(Run& run, int N, int I, double D, double R);
void FBOTTM(Run& run, int N, double R);
// Abandon the curve-exchange file and end the run with an input error about layer N:
// TEXT and the input lines of the layer's records.
[[noreturn]] void PYERR(Run& run, int N, const std::string& TEXT);
// A value the curves of layer N divide by or scale with (E50, KPY) must be positive:
// otherwise "ERROR -- <WHAT> MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER n (<MODEL>
// MODEL)" through PYERR.
void PYPOS(Run& run, int N, double V, const char* WHAT, const char* MODEL);

// The values EQDEPTH needs, taken by the model at the layer's first curve depth.
// KQNONE: a layer that keeps its true depth (rock and weak rock).
constexpr int KQNONE = 0, KQSOFT = 1, KQSTW = 2, KQSTD = 3, KQSAND = 4, KQSILT = 5;
struct EqIn {
  int KIND = KQSOFT;   // which resistance the layer's model integrates (KQ... codes)
  double C = 0;        // strength, F/L**2
  double CA = 0;       // average strength, F/L**2
  double GAMMA = 0;    // average unit weight, F/L**3
  double B = 0;        // width, L
  double PHI = 0;      // friction angle, degrees (sand and silt)
};
// EQDEPTH -- equivalent depth SW.HEQ(N) of the top of layer N > 1: the depth at which
// layer N's own soil, reaching up to the surface, gives the resistance integral of the
// layers above it (the sum of SW.F over 1..N-1).
void EQDEPTH(Run& run, int N, const EqIn& Q);

// The excavation/backfill loop of a model routine over the NCD curve depths of layer
// N: AT_DEPTH(I, D) takes the values of curve depth I (D below the excavation surface)
// and returns the EqIn of that depth; AT_SIDE(KSIDE, X, XS) builds and writes the curve
// of one side (X below the top of the wall, XS the side depth) and returns the
// resistance that enters the layer integral (used on the excavation side). A layer of
// kind KQNONE keeps its true depth. TOBOTM: the resistance of the last curve depth also
// counts down to the layer bottom (sand and silt).
template <class AtDepth, class AtSide>
void PYLAYR(Run& run, int N, AtDepth&& AT_DEPTH, AtSide&& AT_SIDE, bool TOBOTM = false) {
  auto& SW = run.m.SW;
  for (int I = 1; I <= SW.NCD; ++I) {
    const double D = SW.XC(N, I);
    const double X = run.m.C.XEXC + D;
    const EqIn Q = AT_DEPTH(I, D);
    if (I == 1 && N > 1) {
      if (Q.KIND == KQNONE) {
        SW.HEQ(N) = SW.XT(N);
      } else {
        EQDEPTH(run, N, Q);
      }
    }
    PYXHDR(run, X);
    double R = 0;
    for (int KSIDE = KEXCS; KSIDE <= KBACK; ++KSIDE) {
      const double RS = AT_SIDE(KSIDE, X, XSIDE(run, N, D, KSIDE));
      if (KSIDE == KEXCS) R = RS;
    }
    FACCUM(run, N, I, D, R);
    if (TOBOTM && I == SW.NCD) FBOTTM(run, N, R);
  }
}

// ---------------------------------------------------------------------------
// Ultimate resistance pieces shared by the sand and silt models and EQDEPTH.

// Sand resistance at side depth X: wedge PST and flow PSD (friction angle PHID in
// degrees, average unit weight GAMMA, width B, ground slope THETA in radians, 0 for
// flat ground). Both 0 when PHID <= 0 or X <= 0.
void SANDPS(double PHID, double GAMMA, double X, double B, double THETA, double& PST, double& PSD);
// Flat-ground sand terms: PST = GAMMA*X*(A1*X + A2), PSD = GAMMA*X*D1.
void SANDCF(double PHID, double B, double& A1, double& A2, double& D1);
// Cohesive resistance of silt at side depth X: min(Np, 9) * c * b with the slope factor.
double SILTPC(double C, double GAMMA, double X, double B, double THETA);
// Coefficient tables by x/b: sand A and B (static KSTAT = 1, else cyclic), stiff clay As
// (static) and Ac (cyclic); linear, the last segment extended beyond the table.
double SANDA(int KSTAT, double XB);
double SANDB(int KSTAT, double XB);
double STIFAS(double XB);
double STIFAC(double XB);

// Soft clay (and every type code without a model of its own).
void SOFTCL(Run& run, int N);
// The soft clay curve of one side before multipliers and offset: 17 points for the
// ultimate resistance PU, y50 Y50, side depth XS and the depth XR below which cyclic
// loading leaves 0.72*pu. WARN(J) = 1 for a point after the first whose deflection is
// still below 1.0E-14 (p = K0*y there).
void SOFTPY(double PU, double Y50, double XS, double XR, bool CYC, PyCurve& CV, Arr<int, 1, NPYP>& WARN,
            double& K0);

// ---------------------------------------------------------------------------
// Sand, stiff clays, silt, rock and weak rock.

void SANDPY(Run& run, int N);
void STIFFW(Run& run, int N);
void STIFFD(Run& run, int N);
void SILTPY(Run& run, int N);
void ROCKPY(Run& run, int N);
void WROCKPY(Run& run, int N);

// Passive coefficient of a continuous wall with wall friction DELTA (radians, COSD its
// cosine) for friction angle PHI and ground slope BETAS (radians). -1 when the friction
// angle is too large for the formula (its denominator vanishes).
double KPCONT(double PHI, double DELTA, double COSD, double BETAS);
// KPCONT for the curves of layer N; a friction angle too large for it ends the run with
// an input error naming the layer.
double KPLAYR(Run& run, int N, double PHI, double DELTA, double COSD, double BETAS);

// The sand curve: initial line KX*y, parabola through (YM, PM) meeting it at YK,
// straight to (YU, PU), flat beyond; every p at most KX*y. SANDPR forms the parabola
// (M, INVN = 1/n with n from the magnitude of M, CC) and YK; NOCURV leaves every p 0
// with YK = 2*BREF.
struct SandPar {
  double PU = 0, PM = 0, YU = 0, YM = 0, KX = 0;
  double M = 0, INVN = 0, CC = 0, YK = 0;
};
SandPar SANDPR(double PU, double PM, double YU, double YM, double KX, double BREF, bool NOCURV);
// The 17 points of the sand curve (YK beyond YU moves YU to PU/KX and scales YM with
// it). SIXTHS: when y1 lies beyond 0.75*ym the points up to ym go in sixths (silt).
// Zero-resistance curves (NOCURV in SANDPR) come out with every p 0.
void SANDCV(SandPar S, bool SIXTHS, bool NOCURV, PyCurve& CV);
// Silt curve of one side: shape 1 (the sand curve with sixths), 2 (the initial line
// meets the straight part at YI) or 3 (the initial line reaches PU at PU/KX). Returns
// the shape.
int SILTCV(const SandPar& S, bool NOCURV, PyCurve& CV);
// Stiff clay with free water, one side before multipliers and offset: static (AS) or
// cyclic (AC, with yp from AS); every p at most KX*y.
void STIFWC(double PC, double Y50, double AS, double AC, double KX, bool CYC, PyCurve& CV);
// Stiff clay without free water: the quarter-power curve for N cycles (1: static).
void STIFDC(double PU, double Y50, double NCYC, bool CYC, PyCurve& CV);
// Rock: the bilinear curve for strength SU (half the input strength) and width B, then
// flat at B*SU from y2 on; PM multiplies p.
void ROCKCV(double SU, double B, double PM, PyCurve& CV);
// Weak rock at XR below the rock top: alpha_r from RQD, the ultimate resistance PUR and
// initial modulus KIR, the curve to 12*yrm (no point at 0).
void WROCKC(double QAVG, double EIR, double KRM, double RQD, double B, double XR, PyCurve& CV, double& PUR,
            double& KIR);
