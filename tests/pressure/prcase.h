// prcase.h -- one earth-pressure problem in memory: the report, the iteration log, the
// plot file and the console kept as text, the pressure-exchange file in a scratch
// directory; helpers that fill the input tables as the reader would.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../engine.h"
#include "pressure/pressure_impl.h"

struct PCase : Engine {
  explicit PCase(const std::string& name) : Engine("pr-" + name) {
    u.open_memory_output(LOUT, "report");
    u.open_memory_output(LLOG, "log");
    u.open_memory_output(LPLT, "plot");
    m.D.NAMES[10] = (dir / "in.prs").string();
  }

  // Unit system and wall: NI increments of length H; earth-pressure option KEP.
  void wall(int IUNIT, int NI, double H, int KEP = 2) {
    m.C.IUNIT = IUNIT;
    m.C.NI = NI;
    m.C.H = H;
    m.C.KEP = KEP;
    SETLAB(run, IUNIT == ENGLISH ? 1 : -1);
  }
  // Wall record: free height, widths, water tables, modification factor, slope.
  void walrec(double HFREE, double ZWA, double ZWP, double WA = 1, double WP = 1, double AMOD = 1,
              double BETA = 0, int IWATER = 0) {
    auto& S = m.SOIL;
    S.HFREE = HFREE;
    S.WA = WA;
    S.WP = WP;
    S.ZWA = ZWA;
    S.ZWP = ZWP;
    S.AMOD = AMOD;
    S.IWATER = IWATER;
    S.BETA = BETA;
    m.C.XEXC = HFREE;
  }
  // One soil layer down to ZBOT.
  void layer(int LTYPE, double ZBOT, double GAMMA, double STR, double PHI, double KOPT = 0) {
    auto& S = m.SOIL;
    const int J = ++S.NL;
    S.LTYPE(J) = LTYPE;
    S.ZBOT(J) = ZBOT;
    S.GAMMA(J) = GAMMA;
    S.STRTOP(J) = STR;
    S.PHITOP(J) = PHI;
    S.KPYTOP(J) = KOPT;
  }
  // One row of the surcharge list.
  void sur(int KIND, double LOAD, double DIST, double WIDTH = 0, double VERT = 0, double FACT = 1) {
    auto& S = m.SOIL;
    const int I = ++S.NSUR;
    S.KSUR(I) = KIND;
    S.SLOAD(I) = LOAD;
    S.SDIST(I) = DIST;
    S.SWIDTH(I) = WIDTH;
    S.SVERT(I) = VERT;
    S.SFACT(I) = FACT;
  }
  // A tie back at station IST.
  void tie(int IST) {
    const int I = ++m.C.NTIE;
    m.TIE.KSTA(I) = IST + 4;
  }

  // Runs a step; "" when it returns, "STOP c" for a stop, "END" for a run-ending message.
  template <class F>
  std::string go(F f) {
    try {
      f(run);
    } catch (const Stop& s) {
      return "STOP " + s.code;
    } catch (const EndRun&) {
      return "END";
    }
    return "";
  }

  std::string report() const { return u.text(LOUT); }
  std::string log() const { return u.text(LLOG); }
  std::string plot() const { return u.text(LPLT); }
  std::string console() const { return u.text(0); }
  std::vector<std::string> lines() const { return split(report()); }
  // The pressure-exchange file as written.
  std::vector<std::string> exchange() const { return split(file("in.prs")); }
};

inline int count_of(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}
