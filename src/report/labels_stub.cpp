#include "report/report.h"
void SETLAB(Run& run, int ISET) {
  auto& L = run.m.LAB;
  if (ISET == 1) { L.ULENA = " FT     "; L.ULENB = "FT      "; L.ULENS = "IN"; L.UFOR3B = "LBS"; L.ULEN3 = " IN"; L.UFOR4 = " LBS"; L.ULEN2 = "IN"; L.UFOR3 = "LBS"; }
  else { L.ULENA = "  M     "; L.ULENB = " M      "; L.ULENS = "MM"; L.UFOR3B = " KN"; L.ULEN3 = "  M"; L.UFOR4 = "  KN"; L.ULEN2 = " M"; L.UFOR3 = " KN"; }
  L.USLASH = "/"; L.UDASH = "-"; L.UPOW = "**"; L.USQ = "2"; L.UCUBE = "3"; L.UFOURTH = "4"; L.URAD = "RAD";
}
