// wall.h -- the wall as a beam-column on supports: station data, the finite-difference
// solver, the nonlinear iteration and the results report. What the run driver calls;
// the rest of the folder is in wall_impl.h.
#pragma once

#include "model/model.h"

// SETKOD -- code specified point M of the station list into the condition codes:
// deflection (KASE < 2) KODE(K) = 2; slope (KASE = 2) KODE(K-1) = 3, KODE(K+1) = 5;
// both (KASE >= 3) 3, 4, 5 at K-1, K, K+1; K = ISTA(M) + 4. KPT of each coded index
// records M, so a later point at the same station wins. The caller has set KODE to 1 over
// K = 1..NI+7 and checked the station: -1..NI+1 for a deflection, 0..NI otherwise.
//   reads   STA: ISTA(M), KASE(M)   writes  STA: KODE, KPT
void SETKOD(Run& run, int M);

// CLRSTA -- the six station tables of the wall data (EI, Q, S, T, R, P) and the
// restraints' part of S and R (SREST, RREST), cleared whole. Writes STA only.
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
//   reads   C: NI, H, KEP, XEXC; PRS: NPRES, PT_DEPTH, PT_LOAD (with KEP = 4 also
//           PT_ACTIVE .. PT_ATREST); STA: the two stations below the wall
//   writes  STA: Q (the loads added); CRV: NCRV4 (0 unless KEP = 4) and its records
//   ends the run on a load below the wall or a load that is not a finite number
void PRSLOD(Run& run);

// ITERAT -- the solution of one problem: supports linearised about the current
// deflections and solved until the deflections close; sets ITR (exit kind, ITER),
// writes the iteration log, and leaves W, EI, SR and the derived results of STARES.
//   reads   C: NI, H, H2, H3, TOL, DMAX, ITMAX, IUNIT; STA (the station data); CRV (the
//           support curves); TIE; WS, CS, NEI (nonlinear EI)
//   writes  STA: W, EI, SW, QW and the results of STARES; CRV: the segments; ITR; the
//           iteration log
void ITERAT(Run& run);

// RESULT -- the results report of one problem and the stored results of RES.
//   reads   C, ITR, STA, TIE, REC, LAB
//   writes  RES; TIE: HFORCE, FTIE, FSTA; the report
void RESULT(Run& run);

// BEAMCOL -- one solution of the beam-column on springs: five-term difference equation
// at every station, one forward and one backward sweep. 1 <= NI <= MXNI.
//   reads   C: NI, H, H2, H3, TOL, DMAX; STA: EI, P, R, T, QW, SW, KODE, KPT, points
//   writes  STA: AR, BR, CR, W (K = 3..NI+5, W(NI+6) = W(NI+7) = 0); DWMAX, NCLOSE,
//           NEXCEED over stations 0..NI against the W held before the call
//   a zero pivot gives zero coefficients at that station; nothing is reported
void BEAMCOL(Run& run);

// Layout of a record's echo line, the same for stiffness and load records and support
// curves: LAYTO for a record continued from the previous one (its range starts where the
// previous one ends, so only TO is shown), LAYFR for a single-station record, LAYFT else.
enum { LAYFT = 1, LAYFR = 2, LAYTO = 3 };
int KLAYOT(int KCPREV, int IFROM, int ITO);
