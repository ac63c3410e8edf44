// ranges.h -- the station ranges of a list of records with continuation flags (CONTD),
// one rule for the stiffness and load records, the restraints and the support curves.
#pragma once

// RANGES -- call VISIT(F, L, J1, J2) for every range of records 1..N, in order:
//  - a record outside a chain (CONTD other than 1, or the last record) is one range
//    FROM..TO with its own value at both ends (J1 = J2);
//  - a chain j..k (CONTD = 1 on records j..k-1; record k closes it) runs from FROM(j) to
//    TO(k) in links FROM(j)->TO(j+1), TO(j+1)->TO(j+2), ..., TO(k-1)->TO(k), each from the
//    value of one record (J1) to that of the next (J2). The closing record is not applied
//    again on its own. A link of zero span adds nothing: the half weights of the links on
//    either side carry its station. A chain whose links all have zero span acts as its
//    first record alone at its one station (F = L, J1 = J2 = j).
// Stations are 64-bit so that the caller's offsets never overflow; VISIT checks the
// order (L < F) and the bounds.
template <class FROMF, class TOF, class CONTF, class VISIT>
void RANGES(int N, FROMF FROM, TOF TO, CONTF CONTD, VISIT VISITR) {
  int J = 1;
  while (J <= N) {
    if (CONTD(J) != 1 || J == N) {
      VISITR(static_cast<long long>(FROM(J)), static_cast<long long>(TO(J)), J, J);
      ++J;
      continue;
    }
    int K = J;
    while (K < N && CONTD(K) == 1) ++K;
    const long long F = FROM(J);
    bool ZERO = true;
    for (int I = J + 1; I <= K; ++I)
      if (static_cast<long long>(TO(I)) != F) ZERO = false;
    if (ZERO) {
      VISITR(F, F, J, J);
    } else {
      long long S = F;
      for (int I = J + 1; I <= K; ++I) {
        const long long E = TO(I);
        if (E != S) VISITR(S, E, I - 1, I);
        S = E;
      }
    }
    J = K + 1;
  }
}

// RANGEW -- the range rule over internal stations KF..KL (KF <= KL), cut at KMAX: TADD(K,
// V) with V = V1 + (V2 - V1)*(K - KF)/(KL - KF) at every station K = KF..min(KL, KMAX),
// then the two end stations again with -0.5 times their value (the last only when it
// lies within KMAX), so that the ends carry half; a single station (KF = KL) receives V1
// in full. Nothing is added beyond KMAX: a range that starts there adds nothing at all.
template <class ADD>
void RANGEW(long long KF, long long KL, long long KMAX, double V1, double V2, ADD&& TADD) {
  if (KF > KMAX) return;
  if (KF == KL) {
    TADD(static_cast<int>(KF), V1);
    return;
  }
  const int K1 = static_cast<int>(KF);
  const int K2 = static_cast<int>(KL < KMAX ? KL : KMAX);
  const double G = static_cast<double>(KL - KF);
  for (int K = K1; K <= K2; ++K) TADD(K, V1 + (V2 - V1) * (K - KF) / G);
  TADD(K1, -0.5 * V1);
  if (KL <= KMAX) TADD(K2, -0.5 * (V1 + (V2 - V1) * (KL - KF) / G));
}
