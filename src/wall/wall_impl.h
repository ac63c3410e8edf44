// wall_impl.h -- the wall folder's own declarations: the results of a solution, the
// support-curve segments and the damping of the iteration. Used by the folder and its
// tests only; the rest of the program calls wall.h.
#pragma once

#include "wall/wall.h"

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
