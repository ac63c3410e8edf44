// Every call of the library's entry point returns, promptly, and destroys no file: the
// iteration limit and the closure tolerance, files that are not regular files, records of
// NAMES.dat that name one file, paths over 255 characters, the plot block of a run that
// made no solution, the tables carried over from an earlier call, and values out of the
// range of the numbers. All through IBRANTO as a host loads it; its model lives on from
// one test to the next, as in a host's process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "runcase.h"

namespace {

namespace fs = std::filesystem;

// IBRANTO of libbranto.so, loaded once for the test program.
int ibranto() {
  static void* h = dlopen((std::string(BRANTO_BINARY_DIR) + "/libbranto.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  static auto entry = h ? reinterpret_cast<int (*)(int, int)>(dlsym(h, "IBRANTO")) : nullptr;
  if (entry == nullptr) ADD_FAILURE() << "libbranto.so: " << dlerror();
  return entry ? entry(0, 0) : -1;
}

// One call in the directory of the case, with its console; alarm() ends a test whose
// call would never return.
int call(const RunCase& c, std::string* console = nullptr) {
  const auto here = fs::current_path();
  fs::current_path(c.dir);
  testing::internal::CaptureStderr();
  ::alarm(120);
  const int rc = ibranto();
  ::alarm(0);
  const std::string con = testing::internal::GetCapturedStderr();
  fs::current_path(here);
  if (console) *console = con;
  return rc;
}

// NAMES.dat with the six paths given.
void names(const RunCase& c, const std::vector<std::string>& p) {
  std::string t = "9.0\ntext line\ntext line\n0\n";
  for (const auto& s : p) t += s + "\n";
  c.file("NAMES.dat", t);
}
const std::vector<std::string> NAMES6 = {"in.dat", "in.out", "in.plt", "in.log", "in.pyc", "in.prs"};

bool has(const std::string& text, const std::string& s) { return text.find(s) != std::string::npos; }

// A cantilever in soft clay (SI), its iteration limit and closure tolerance given.
std::string softclay(const std::string& itmax = "100", const std::string& tol = "1.0E-5") {
  return "CANTILEVER\n2 0 1 1 0 2 2 0 0 0 0 0\n60 0.2 1.0 " + tol + " 6.0 1.0 12.0 " + itmax +
         " 0 0\n0.0 12.0 1\n1 1 0 0\n'SHEET PILE'\n1.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
         "0.0 0.0 0.0 2.5E8 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0\n0 0 0.0 0 0\n' '\n1 0\n0\n0\n"
         "6.0 1.0 1.0 20.0 20.0 1.0 0 0.0 0.0\n10.0 0.0 0.0 0.0 0.0 0.0\n1\n1 20.0 2.0 0.0 0.0 1.0\n"
         "1 1 0.0\n1 20.0\n18.0 40.0 0.0 0.01 0.0 0.0\n0.0 60.0 0.0 0.01 0.0 0.0\n";
}
// A cantilever loaded at its top on a softening support curve: its iteration never
// closes (tolerance 0), so it runs to its limit.
// An empty itmax is a null value.
std::string softening(const std::string& itmax) {
  return "SOFTENING SUPPORT\n2 1 1 1 0 0 0 1 0 0 0 0\n400 0.05 1E10 0.0 0.0 1.0 20.0" +
         (itmax.empty() ? std::string(",,") : " " + itmax + " ") + "0 0\n3 400 0.0 0.0\n0.0 20.0 1\n1 1 0 0\n'S'\n1.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
         "0.0 0.0 0.0 2.5E8 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0\n0 0 0.0 0 0\n' '\n1 0\n1\n0 0 0 100.0 0.0 0.0\n0\n"
         "0 4 1.0 1.0\n-1 1000\n0 0\n0.01 -500\n1 500\n";
}

}  // namespace

TEST(BOUNDED, IterationLimitAndClosureTolerance) {
  RunCase c("limit");
  names(c, NAMES6);
  // The 60-byte input that never closed: a negative tolerance is an input error.
  c.file("in.dat", "T\n2 0 0 0 0 0 0 0 0 0 0 0\n409 1 1 -1 0 1 1 2147483647 0 0\n0\n");
  std::string con;
  ASSERT_EQ(0, call(c, &con));
  std::string out = c.text("in.out");
  EXPECT_TRUE(has(out, "WARNING -- MAXIMUM NUMBER OF ITERATIONS 2147483647 IS ABOVE 9999: 9999 ITERATIONS"));
  EXPECT_TRUE(has(out, "     ERROR -- THE DEFLECTION CLOSURE TOLERANCE (TOL) MUST NOT BE NEGATIVE (INPUT LINE 3)\n"));
  EXPECT_TRUE(has(con, "WARNING -- MAXIMUM NUMBER OF ITERATIONS"));
  // A limit above the bound makes 9999 iterations at most, and so does a limit kept
  // from that call through a null value.
  for (const std::string itmax : {"2147483647", ""}) {
    SCOPED_TRACE(itmax);
    c.file("in.dat", softening(itmax) + "0\n");
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(0, call(c));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(60));
    out = c.text("in.out");
    EXPECT_TRUE(has(out, "MAXIMUM NUMBER OF ITERATIONS                       =       9999\n"));
    EXPECT_TRUE(has(out, "***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****"));
    EXPECT_EQ(itmax.empty(), has(out, "WARNING -- in.dat, line 3: second control record, value 8 (ITMAX) is null and "
                                      "keeps 9999 (a value not read in this run)\n"));
  }
}

TEST(BOUNDED, FilesThatAreNotRegularFilesNeverBlock) {
  RunCase c("fifo");
  c.file("in.dat", softclay() + "0\n");
  ASSERT_EQ(0, ::mkfifo((c.dir / "fifo").c_str(), 0600));
  struct {
    int rec;
    const char* text;
  } cases[] = {{5, "input data file 'fifo' (NAMES.dat record 5): it is a FIFO, not a regular file"},
               {6, "report file 'fifo' (NAMES.dat record 6): it is a FIFO, not a regular file or a device"},
               {8, "iteration log 'fifo' (NAMES.dat record 8): it is a FIFO"},
               {10, "pressure-exchange file 'fifo' (NAMES.dat record 10): it is a FIFO"},
               {9, "curve-exchange file '/dev/null' (NAMES.dat record 9): it is a character device, not a regular"},
               {7, "plot output file '.' (NAMES.dat record 7): it is a directory"}};
  for (const auto& t : cases) {
    SCOPED_TRACE(t.rec);
    auto p = NAMES6;
    p[t.rec - 5] = t.rec == 9 ? "/dev/null" : t.rec == 7 ? "." : "fifo";
    names(c, p);
    for (const auto& n : NAMES6)
      if (n != "in.dat") fs::remove(c.dir / n);
    std::string con;
    EXPECT_EQ(1, call(c, &con));
    EXPECT_TRUE(has(con, t.text)) << con;
    EXPECT_FALSE(fs::exists(c.dir / "in.out"));  // nothing created
  }
  // /dev/null takes the outputs that are not read back.
  names(c, {"in.dat", "/dev/null", "/dev/null", "/dev/null", "in.pyc", "in.prs"});
  EXPECT_EQ(0, call(c));
  // NAMES.dat itself.
  fs::remove(c.dir / "NAMES.dat");
  ASSERT_EQ(0, ::mkfifo((c.dir / "NAMES.dat").c_str(), 0600));
  std::string con;
  EXPECT_EQ(1, call(c, &con));
  EXPECT_TRUE(has(con, "'NAMES.dat': it is a FIFO, not a regular file")) << con;
}

TEST(BOUNDED, TwoRecordsNamingOneFile) {
  RunCase c("same");
  const std::string input = softclay() + "0\n";
  c.file("in.dat", input);
  fs::create_hard_link(c.dir / "in.dat", c.dir / "hard.dat");
  struct {
    std::vector<std::string> p;
    const char* text;
  } cases[] = {
      {{"in.dat", "./in.dat", "in.plt", "in.log", "in.pyc", "in.prs"},
       "NAMES.dat record 5 (input data file 'in.dat') and record 6 (report file './in.dat') name one file"},
      {{"in.dat", "in.out", "hard.dat", "in.log", "in.pyc", "in.prs"},
       "record 5 (input data file 'in.dat') and record 7 (plot output file 'hard.dat')"},
      {{"in.dat", "in.out", "in.plt", "sub/../in.plt", "in.pyc", "in.prs"},
       "record 7 (plot output file 'in.plt') and record 8 (iteration log 'sub/../in.plt')"},
      {{"in.dat", "in.out", "in.plt", "in.log", "NAMES.dat", "in.prs"},
       "the run-control file NAMES.dat and record 9 (curve-exchange file 'NAMES.dat')"},
  };
  fs::create_directories(c.dir / "sub");
  for (const auto& t : cases) {
    names(c, t.p);
    std::string con;
    EXPECT_EQ(1, call(c, &con));
    EXPECT_TRUE(has(con, t.text)) << con;
    EXPECT_EQ(input, c.text("in.dat"));
    for (const char* n : {"in.out", "in.plt", "in.log"}) EXPECT_FALSE(fs::exists(c.dir / n)) << n;
  }
}

TEST(BOUNDED, PathsLongerThan255Characters) {
  RunCase c("long");
  c.file("in.dat", softclay() + "0\n");
  // 316 characters that a cut at 255 would turn into the name of another file.
  const std::string longname = std::string(250, 'd') + "/" + std::string(65, 'f');
  for (int rec : {5, 6}) {
    auto p = NAMES6;
    p[rec - 5] = rec == 5 ? longname : "in.out" + std::string(300, ' ') + "x";
    names(c, p);
    std::string con;
    EXPECT_EQ(1, call(c, &con));
    EXPECT_TRUE(has(con, "NAMES.dat record " + std::to_string(rec) + ": the path of the")) << con;
    EXPECT_TRUE(has(con, "is longer than 255 characters")) << con;
    EXPECT_FALSE(fs::exists(c.dir / "in.out"));
  }
  // Trailing blanks beyond 255 characters are no part of the path.
  names(c, {"in.dat", "in.out" + std::string(300, ' '), "in.plt", "in.log", "in.pyc", "in.prs"});
  EXPECT_EQ(0, call(c));
}

TEST(BOUNDED, PlotBlockHoldsOnlyThisRunsSolution) {
  RunCase c("plot");
  names(c, NAMES6);
  c.file("in.dat", softclay() + "0\n");
  ASSERT_EQ(0, call(c));
  EXPECT_TRUE(has(c.text("in.plt"), "           1          61           2\n"));
  // A run that ends before any solution: the block has no station and no tie-back rows.
  c.file("in.dat", softclay("-1") + "0\n");
  ASSERT_EQ(0, call(c));
  const auto plt = c.lines("in.plt");
  ASSERT_EQ(2u, plt.size());
  EXPECT_EQ("           1           0           2", plt[0]);
  EXPECT_EQ("           0", plt[1]);
}

TEST(BOUNDED, TablesOfAnEarlierCallAreTold) {
  RunCase c("carried");
  names(c, NAMES6);
  c.file("in.dat", softclay() + "0\n");  // a wall, soil data and one surcharge row
  ASSERT_EQ(0, call(c));
  EXPECT_FALSE(has(c.text("in.out"), "WARNING"));
  // Specified pressures take the surcharges of the call before, and a null value keeps
  // a value of the call before: each is told. Then a problem without wall sections keeps
  // the wall of the call before.
  c.file("in.dat", "SPECIFIED\n2 0 1 1 0 1 0 0 0 0 0 0\n60,0.2,1.0,,6.0 1.0 12.0 100 0 0\n0.0 12.0 1\n1 1 0 0\n'SP'\n"
                   "1.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0.0 0.0 0.0 2.5E8 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0\n"
                   "0 0 0.0 0 0\n' '\n1 0\n0\n0\n2\n0.0 0.0\n12.0 10.0\n0\n");
  std::string con;
  ASSERT_EQ(0, call(c, &con));
  const std::string out = c.text("in.out");
  EXPECT_TRUE(has(out, "WARNING -- THE SPECIFIED PRESSURES TAKE 1 SURCHARGE ROWS, THE FREE HEIGHT AND THE WIDTH WA "
                       "LEFT IN THE TABLES BY AN EARLIER RUN\n"));
  EXPECT_TRUE(has(out, "WARNING -- in.dat, line 3: second control record, value 4 (TOL) is null and keeps "
                       "1.0000000000000001E-005 (a value not read in this run)\n"));
  EXPECT_TRUE(has(con, "WARNING -- THE SPECIFIED PRESSURES TAKE 1 SURCHARGE ROWS"));
  c.file("in.dat", "KEPT\n2 0 0 1 0 1 0 0 0 0 0 0\n60 0.2 1.0 1.0E-5 6.0 1.0 12.0 100 0 0\n0\n");
  ASSERT_EQ(0, call(c));
  EXPECT_TRUE(has(c.text("in.out"), "WARNING -- NO WALL SECTIONS, AND NONE READ BEFORE IN THIS RUN: THE WALL, CROSS "
                                    "SECTIONS, LOADS, SUPPORTS, TIE BACKS, SOIL DATA AND PRESSURES LEFT IN THE "
                                    "TABLES BY AN EARLIER RUN ARE USED\n"));
}

TEST(BOUNDED, ValuesOutOfRangeNameTheirInputRecord) {
  struct {
    const char *from, *to, *text;
  } cases[] = {
      // A strength of 1E308 below the excavation level: the pressure generation wrote
      // Infinity into the pressure-exchange file, and the run ended on that file.
      {"1 1 0.0\n1 20.0\n", "2 1 0.0\n1 6.0\n18.0 40.0 0.0 0.01 0.0 0.0\n0.0 60.0 0.0 0.01 0.0 0.0\n1 20.0\n"
                            "18.0 1E308 0.0 0.01 0.0 0.0\n",
       "ERROR -- THE LATERAL PRESSURE OF ROW 122 OF THE PRESSURE TABLE IS NOT A FINITE NUMBER (in.dat, line 22: soil "
       "layer 2)"},
      // Unit weight, strength and KOPT of 1E300 above it: the layer forces.
      {"18.0 40.0 0.0 0.01 0.0 0.0", "1E300 1E300 0.0 0.01 0.0 1E300",
       "ERROR -- THE ACTIVE EARTH FORCE OF WORKING LAYER 1 IS NOT A FINITE NUMBER (in.dat, line 19: soil layer 1; "
       "in.dat, line 14: wall record)"},
      // E50 of 1E300: curve points that are not numbers.
      {"18.0 40.0 0.0 0.01 0.0 0.0", "18.0 40.0 0.0 1E300 0.0 0.0",
       "ERROR -- POINT 1 OF A P-Y CURVE OF SOIL LAYER 1 IS NOT A FINITE NUMBER (in.dat, line 19: soil layer 1; "
       "in.dat, line 14: wall record)"},
      // A modification factor of 1E300: finite pressures, a solution beyond the numbers.
      {"20.0 20.0 1.0 0 0.0 0.0", "20.0 20.0 1E300 0 0.0 0.0",
       "ERROR -- THE DEFLECTION AT STATION 0 IN ITERATION 1 IS NOT A FINITE NUMBER (in.dat, lines 1 to 21: the "
       "records of problem 1)"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.to);
    RunCase c("range");
    names(c, NAMES6);
    std::string in = softclay() + "0\n";
    in.replace(in.find(t.from), std::string(t.from).size(), t.to);
    c.file("in.dat", in);
    ASSERT_EQ(0, call(c));
    const std::string out = c.text("in.out");
    EXPECT_TRUE(has(out, t.text)) << out.substr(out.size() > 400 ? out.size() - 400 : 0);
    for (const char* f : {"in.out", "in.log", "in.plt", "in.pyc", "in.prs"})
      EXPECT_FALSE(has(c.text(f), "Infinity") || has(c.text(f), "NaN")) << f;
  }
}

// The worst input of 10 KB found: a wall of 400 increments on a 100-point moment-
// curvature table (the secant rigidity searches it at every station), 380 option-4
// support curves above the excavation, and a softening support curve at the top that
// never lets the deflections close; then as many problems as fit, each keeping the wall
// through null values and giving the curve again, each making the 9999 iterations of the
// bound. Before the bound, one such problem with ITMAX = 2147483647 ran for hours.
TEST(BOUNDED, WorstInputOf10KBFinishesInBoundedTime) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "timed in the plain build";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "timed in the plain build";
#endif
#endif
  std::string in =
      "WORST CASE OF 10 KB\n2 0 1 1 0 4 0 1 0 1 0 0\n400 0.05 1E10 0.0 19.0 1.0 20.0 2147483647 0 0\n0.0 20.0 1\n"
      "1 1 0 1\n'USER EI'\n0.6 0.0 0.0 0.00636 0.0 0.0 0.0 0.0 2.5E7\n10 0.0 0.0 0.6 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
      "0.0 0.0 0.0 0.0 0.0 0.0 0 0 0 0\n'NONE'\n0 0 0 0 0 0.0 0.0 0.0 0.0 0.0 0\n0 0 0 0 0 0 0.0 0.0 0.0 0.0\n"
      "0 0 0 0 0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0 0 0 0.0 0.0\n0 0 0 2 0 0 0 0.0 0.0 0.0 0.0\n0 0 0 0 0.0 0.0\n"
      "1\n0.0\n1 100\n";
  for (int n = 1; n <= 100; ++n) in += std::to_string(25 * n) + " " + std::to_string(0.0005 * n) + "\n";
  in += "1 0\n1\n0 0 0 100.0 0.0 0.0\n1\n400 400 0 1E9 1E9\n19.0 1.0 1.0 30.0 30.0 1.0 0 0.0 0.0\n"
        "0.0 0.0 0.0 0.0 0.0 0.0\n0\n1 1 0.0\n4 25.0\n18.0 0.0 30.0 0.0 0.0 0.0\n0.0 0.0 30.0 0.0 0.0 0.0\n";
  const std::string curve = "0 4 1 1\n-1 1E3\n0 0\n.01 -500\n1 500\n";
  const std::string next = "5\nT\n2 0 0/\n/\n" + curve;
  in += curve;
  int problems = 1;
  while (in.size() + next.size() + 2 <= 10240) {
    in += next;
    ++problems;
  }
  in += "0\n";
  ASSERT_LE(in.size(), 10240u);
  RunCase c("worst");
  names(c, {"in.dat", "/dev/null", "in.plt", "/dev/null", "in.pyc", "in.prs"});
  c.file("in.dat", in);
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(0, call(c));
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  // Every problem ended at the limit without closure: a short end-of-stage block each.
  int limited = 0;
  for (const auto& l : c.lines("in.plt")) limited += l == "           0           0           2";
  EXPECT_EQ(problems, limited);
  std::printf("worst input of %zu bytes: %d problems of 9999 iterations in %.1f s\n", in.size(), problems, secs);
  EXPECT_LT(secs, 900.0);
}
