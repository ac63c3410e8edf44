// The corpus of typical input mistakes, tests/cases/mistakes/*.dat: each runs through the
// command-line host, which must end with the expected exit status and show the expected
// lines on its console and in the report. Every input of the folder has its entry.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Mistake {
  const char* name;
  int status;                      // exit status of the host
  std::vector<std::string> texts;  // on the console and in the report
};

const Mistake CORPUS[] = {
    // Warnings: the analysis goes on unchanged.
    {"wall_height",
     0,
     {"WARNING -- THE WALL IS NI * H = 60 * 0.2 = 12.0 M LONG, BUT ITS HEIGHT HWALL IS 10.0 M (SECOND CONTROL "
      "RECORD, INPUT LINE 3)"}},
    {"excavation_twice",
     0,
     {"WARNING -- THE EXCAVATION DEPTH IS GIVEN TWICE AND DIFFERS: XEXC = 5.0 M (SECOND CONTROL RECORD, INPUT LINE "
      "3), HFREE = 6.0 M (WALL RECORD, INPUT LINE 14)"}},
    {"rv6_width",
     0,
     {"WARNING -- RV6 = 1.0 (SECOND CONTROL RECORD, INPUT LINE 3) DIFFERS FROM THE WIDTH WA = 12.0 IN (WALL RECORD, "
      "INPUT LINE 54): RV6 IS THE WIDTH OF WALL ANALYSED",
      "stage 1: converged, 5 iterations, largest deflection  1.3911E+00 IN, largest moment  2.8434E+05 LBS-IN at "
      "22.500 FT, 1 warning"}},
    {"wall_gap",
     0,
     {"WARNING -- THE WALL SECTIONS (INPUT LINES 4 TO 5) LEAVE STATIONS 31 TO 39 (DEPTHS 6.2 TO 7.8 M) WITHOUT "
      "RIGIDITY IN THE FIRST SOLUTION"}},
    {"profile_short",
     0,
     {"WARNING -- THE SOIL PROFILE ENDS AT 10.0 M (BOTTOM OF SOIL LAYER 1, INPUT LINE 18), ABOVE THE WALL TIP AT "
      "12.0 M"}},
    {"soil_type",
     0,
     {"WARNING -- SOIL LAYER 1 (INPUT LINE 18) HAS THE SOIL TYPE CODE 9, NOT ONE OF 1 TO 7: ITS P-Y CURVES ARE "
      "BUILT AS SOFT CLAY, ITS EARTH PRESSURE AS FOR A DRAINED SOIL"}},
    {"data_after_end",
     0,
     {"WARNING -- DATA AFTER THE END OF THE RUN: THE END CODE 1 (INPUT LINE 21) ENDS THE RUN (IT EQUALS THE STAGE "
      "INDICATOR ISTAGE), SO INPUT LINE 22 AND THE LINES AFTER IT ARE NOT READ"}},
    // Warnings ahead of an analysis that fails.
    {"kopt_kpy",
     1,
     {"WARNING -- SOIL LAYER 1 (TOP RECORD, INPUT LINE 19): ITS SIXTH VALUE 16300.0, THE KPY OF ITS P-Y CURVES, IS "
      "ALSO TAKEN AS ITS ACTIVE EARTH-PRESSURE COEFFICIENT, IN PLACE OF THE RANKINE ONE"}},
    {"no_curves",
     1,
     {"WARNING -- P-Y CURVES ARE ASKED FOR (KPYGEN = 2, CONTROL RECORD, INPUT LINE 2), BUT NONE ARE GENERATED: NO "
      "SOIL LAYER LIES BELOW THE EXCAVATION SURFACE XEXC = 13.0 M ALONG THE WALL"}},
    {"mechanism",
     1,
     {"WARNING -- NO EQUILIBRIUM WAS FOUND: THE DEFLECTION -3.1141E+09 M AT STATION 60 EXCEEDS THE LENGTH OF THE "
      "WALL, 12.0 M: THE WALL IS A MECHANISM",
      "stage 1: NO EQUILIBRIUM (the wall is a mechanism), 3 iterations, 2 warnings"}},
    // Input errors that name the field and the input line.
    {"nsect_negative",
     2,
     {"ERROR -- NSECT = -1 (CONTROL RECORD, VALUE 3, INPUT LINE 2): A NEGATIVE NUMBER OF WALL SECTIONS ENDS THE "
      "RUN"}},
    {"ncross_negative",
     2,
     {"ERROR -- NCROSS = -1 (CONTROL RECORD, VALUE 4, INPUT LINE 2): A NEGATIVE NUMBER OF CROSS SECTIONS ENDS THE "
      "RUN"}},
    {"ntie_negative",
     2,
     {"ERROR -- NTIE = -1 (CONTROL RECORD, VALUE 11, INPUT LINE 2): A NEGATIVE NUMBER OF TIE BACKS ENDS THE RUN"}},
    {"itmax_negative",
     2,
     {"ERROR -- ITMAX = -1 (SECOND CONTROL RECORD, VALUE 8, INPUT LINE 3): A NEGATIVE MAXIMUM NUMBER OF "
      "ITERATIONS ENDS THE RUN"}},
    {"missing_tieback",
     2,
     {"WARNING -- TIE BACK 1 (INPUT LINE 14) HOLDS 9 VALUES, NOT ONE LINE OF 7 VALUES: IF A TIE-BACK RECORD IS "
      "MISSING (NTIE = 1, CONTROL RECORD, INPUT LINE 2), THE RECORDS THAT FOLLOW ARE READ ONE RECORD EARLY",
      "(WALL RECORD, VALUE 3, INPUT LINE 15); THE WALL RECORD RUNS OVER INPUT LINES 15 TO 17: IS A RECORD MISSING "
      "ABOVE IT?"}},
    {"kpygen_no_profile",
     2,
     {"ERROR -- P-Y CURVES ARE TO BE GENERATED (KPYGEN = 2, CONTROL RECORD, INPUT LINE 2), BUT NO SOIL PROFILE HAS "
      "BEEN READ: IT IS READ ONLY WITH THE EARTH-PRESSURE DATA, KEP = 2 OR MORE IN A PROBLEM WITH WALL SECTIONS "
      "(HERE KEP = 0, NSECT = 1)"}},
    // Stops, each explained before its stop line.
    {"profile_above_excavation",
     2,
     {"ERROR -- THE SOIL PROFILE ENDS AT 5.0 M (BOTTOM OF SOIL LAYER 1, INPUT LINE 18), AT OR ABOVE THE "
      "EXCAVATION LEVEL HFREE = 6.0 M (WALL RECORD, INPUT LINE 14)",
      "STOP 1"}},
    {"english_feet",
     2,
     {"ERROR -- THE SOIL PROFILE ENDS AT 50.0 IN (BOTTOM OF SOIL LAYER 1, INPUT LINE 58), AT OR ABOVE THE "
      "EXCAVATION LEVEL HFREE = 180.0 IN (WALL RECORD, INPUT LINE 54); IN ENGLISH UNITS LAYER DEPTHS ARE GIVEN IN "
      "INCHES",
      "STOP 1"}},
    {"negative_layers",
     2,
     {"ERROR -- NO SOIL PROFILE: THE SOIL RECORD (INPUT LINE 17) GIVES NL = -1 SOIL LAYERS, SO NO LAYER STARTS AT "
      "THE EXCAVATION LEVEL",
      "STOP 1"}},
    {"negative_bottom",
     2,
     {"ERROR -- SOIL LAYER 1 (INPUT LINE 18) HAS ITS BOTTOM AT -20.0 M, NOT BELOW THE TOP OF THE WALL: THE SOIL "
      "PROFILE ENDS AT 0.0 M",
      "STOP 1"}},
    {"working_layers",
     2,
     {"ERROR -- THE 20 SOIL LAYERS (SOIL RECORD, INPUT LINE 17), SPLIT AT THE EXCAVATION LEVEL AND AT THE WATER "
      "TABLE OF THE BACKFILL, MAKE MORE THAN 21 LAYERS OF EARTH PRESSURE",
      "STOP 2"}},
};

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// The host on one input: its console (standard output and error) and its exit status.
int host(const fs::path& input, const fs::path& out, std::string& console) {
  const std::string cmd =
      "'" + std::string(BRANTO_BINARY_DIR) + "/branto' --out-dir '" + out.string() + "' '" + input.string() + "' 2>&1";
  console.clear();
  std::FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return -1;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) console.append(buf, n);
  const int st = pclose(p);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

const fs::path DIR = fs::path(BRANTO_SOURCE_DIR) / "tests" / "cases" / "mistakes";

}  // namespace

TEST(MISTAKES, EachGivesItsMessageAndExitStatus) {
  const fs::path out = fs::temp_directory_path() / ("branto-mistakes-" + std::to_string(getpid()));
  for (const Mistake& m : CORPUS) {
    SCOPED_TRACE(m.name);
    std::string console;
    EXPECT_EQ(m.status, host(DIR / (std::string(m.name) + ".dat"), out, console)) << console;
    const std::string report = slurp(out / (std::string(m.name) + ".out"));
    for (const std::string& t : m.texts) {
      EXPECT_NE(std::string::npos, console.find(t)) << console;
      EXPECT_NE(std::string::npos, report.find(t.rfind("stage ", 0) == 0 ? "" : t)) << t;
    }
  }
  fs::remove_all(out);
}

TEST(MISTAKES, EveryInputOfTheCorpusHasItsEntry) {
  std::set<std::string> names;
  for (const Mistake& m : CORPUS) names.insert(std::string(m.name) + ".dat");
  for (const auto& e : fs::directory_iterator(DIR))
    EXPECT_EQ(1u, names.count(e.path().filename().string())) << e.path();
  EXPECT_EQ(std::size(CORPUS), names.size());
}
