// wall.h -- the wall as a beam-column on supports: station data, the finite-difference
// solver, the nonlinear iteration and the results report.
#pragma once

#include "model/model.h"

// SETKOD -- code specified point M of the station list into the condition codes:
// deflection (KASE < 2) KODE(K) = 2; slope (KASE = 2) KODE(K-1) = 3, KODE(K+1) = 5;
// both (KASE >= 3) 3, 4, 5 at K-1, K, K+1; K = ISTA(M) + 4. KPT of each coded index
// records M, so a later point at the same station wins. The caller has set KODE to 1 over
// K = 1..NI+7 and checked the station: -1..NI+1 for a deflection, 0..NI otherwise.
void SETKOD(Run& run, int M);

// BEAMCOL -- one solution of the beam-column on springs: five-term difference equation
// at every station, one forward and one backward sweep. 1 <= NI <= MXNI.
//   reads   C: NI, H, H2, H3, TOL, DMAX; STA: EI, P, R, T, QW, SW, KODE, KPT, points
//   writes  STA: AR, BR, CR, W (K = 3..NI+5, W(NI+6) = W(NI+7) = 0); DWMAX, NCLOSE,
//           NEXCEED over stations 0..NI against the W held before the call
//   a zero pivot gives zero coefficients at that station; nothing is reported
void BEAMCOL(Run& run);

// STARES -- after the last solution: extrapolate W to stations -2 and NI+2, then slope,
// moment, shear and net force per station (K = 3..NI+5) with the applied couples, and
// what the restraints exerted. The moment of an end station (0 and NI) is the moment
// just inside the wall: a couple acting there (applied, rotational restraint, or the
// couple that holds a slope specified there) counts in full; its shear and net force,
// and those of the station next to it, are free of the couple's jump, as at an applied
// couple.
//   reads   C: NI, H, H2, H3; STA: W, EI, P, R, T, QW, SW, KODE, SREST, RREST, NCOUP,
//           KCOUP, CCOUP
//   writes  STA: W(2), W(NI+6), SLOPE (K = 2..NI+6), XMOM, SHEAR, XNF (K = 3..NI+5),
//           FREST, MREST (K = 2..NI+6)
void STARES(Run& run);

// CLRSTA -- the six station tables of the wall data (EI, Q, S, T, R, P) and the
// restraints' part of S and R (SREST, RREST), cleared whole.
void CLRSTA(Stations& STA);

// STADAT -- station tables from the wall sections, stiffness and load records,
// restraints and tie backs, with "STIFFNESS AND LOAD DATA" and "TIE BACK DATA".
//   reads   C: NI, H, IUNIT, NSECT, NCROSS, NTIE, RV6; WS; CS: XIT, XIB, EMT, EMB; REC; TIE
//   writes  STA: EI, Q, S, T, R, P, SREST, RREST (cleared first), NCOUP, KCOUP, CCOUP;
//           TIE: KSTA, KTB, FTB, NTIEF; ITR.NSECF
//   ends the run on stations out of order, below station -2 or loaded beyond NI+2
void STADAT(Run& run);

// PRSLOD -- the pressure table as transverse load (with KEP = 4 the six-point support
// curves above the excavation, kept as the first CRV.NCRV4 records), then the check that
// nothing is loaded below the wall ("ERROR -- NON-ZERO TABLE 4 DATA BEYOND END").
void PRSLOD(Run& run);

// ITERAT -- the solution of one problem: supports linearised about the current
// deflections and solved until the deflections close; sets ITR (exit kind, ITER),
// writes the iteration log, and leaves W, EI, SR and the derived results of STARES.
void ITERAT(Run& run);

// RESULT -- the results report of one problem and the stored results of RES.
void RESULT(Run& run);

// The warning of a failing exit (KXLIMN, KXDEFL) on unit IU; nothing for the others.
void WARNIT(Run& run, int IU);

// Segment of support curve J at deflection W: slope M, intercept B and force Q = B + M*W.
// The segment is the first one whose end is at or beyond W; the first and last segments
// extend beyond the curve's points.
void QWSEG(const Curves& CRV, int J, double W, double& M, double& B, double& Q);
// QWFORM -- the segments of support curve J (SLP, BIC, FSA), formed once per problem.
void QWFORM(Curves& CRV, int J);
// QWLIN -- QWSEG with the segments of QWFORM and the search started from the segment
// used last: the same results, faster.
void QWLIN(Curves& CRV, int J, double W, double& M, double& B, double& Q);

// Damping factor of the NDAMP-th damping step of a two-cycle oscillation: 0.5, 0.25,
// 0.75, 0.125, 0.375, ... (odd multiples of 1/(2m) with m doubling), always in (0, 1).
double DAMPU(int NDAMP);

// Layout of a record's echo line, the same for stiffness and load records and support
// curves: LAYTO for a record continued from the previous one (its range starts where the
// previous one ends, so only TO is shown), LAYFR for a single-station record, LAYFT else.
enum { LAYFT = 1, LAYFR = 2, LAYTO = 3 };
int KLAYOT(int KCPREV, int IFROM, int ITO);
