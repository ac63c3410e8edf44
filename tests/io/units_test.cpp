// Logical units: files opened with status "UNKNOWN", memory units, the console, records
// kept open by \, fixed-width reads, failures, the clock, and no allocation once warm.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "io/io.h"

namespace fs = std::filesystem;
using io::Chars;
using io::Rec;
using io::Units;

// Allocations counted for the warm-path test.
static std::atomic<long> g_news{0};
void* operator new(std::size_t n) {
  ++g_news;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

fs::path scratch(const std::string& name) {
  fs::path d = fs::path(BRANTO_BINARY_DIR) / "tests" / "scratch";
  fs::create_directories(d);
  fs::path p = d / name;
  fs::remove(p);
  return p;
}

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void spit(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

}  // namespace

TEST(Units, StatusUnknownCreatesOrOverwrites) {
  const fs::path p = scratch("unknown.out");
  Units u;
  u.open(6, p.string() + "   ", "report file");  // trailing blanks of the name are ignored
  EXPECT_TRUE(fs::exists(p));                      // created at the OPEN
  EXPECT_EQ(p.string(), u.path(6));
  u.close(6);
  spit(p, "old line one\nold line two\nold line three\n");
  u.open(6, p.string(), "report file");
  io::write(u, 6, R"((" new"))");
  u.close(6);
  EXPECT_EQ(" new\n", slurp(p));  // overwritten from the start
}

TEST(Units, ExistingFileIsReadFromItsStart) {
  const fs::path p = scratch("in.dat");
  spit(p, "TITLE LINE\r\n 3, 2.5\r\n\r\n7\n");
  Units u;
  u.open(5, p.string(), "input data file", true);
  Chars<80> title;
  io::read_a(u, 5, Rec{"title record"}, 70, title);
  EXPECT_EQ("TITLE LINE", title.trimmed());  // the '\r' of the Windows line end is gone
  int n = 0;
  double h = 0;
  EXPECT_EQ(2, u.line(5));
  io::list_read(u, 5, Rec{"control record"}, n, h);
  EXPECT_EQ(3, n);
  EXPECT_EQ(2.5, h);
  io::list_read(u, 5, Rec{"end code record"}, n);
  EXPECT_EQ(7, n);
  EXPECT_EQ(5, u.line(5));
  try {
    io::list_read(u, 5, Rec{"end code record", 0, "KEND"}, n);
    FAIL();
  } catch (const io::InputError& e) {
    EXPECT_TRUE(e.eof);
    EXPECT_EQ(p.string() + ", line 5: end of file in end code record, value 1 (KEND)", e.what());
  }
}

TEST(Units, MissingFileThatMustExist) {
  const fs::path p = scratch("missing.dat");
  Units u;
  try {
    u.open(5, p.string(), "input data file", true);
    FAIL();
  } catch (const io::FileError& e) {
    const std::string m = e.what();
    EXPECT_NE(std::string::npos, m.find("input data file '" + p.string() + "'")) << m;
    EXPECT_NE(std::string::npos, m.find("No such file")) << m;
  }
  EXPECT_FALSE(fs::exists(p));
  EXPECT_THROW(u.open(6, "/nonexistent-dir/x.out", "report file"), io::FileError);
  EXPECT_THROW(u.open(6, "   ", "report file"), io::FileError);
  EXPECT_THROW(u.open(6, p.parent_path().string(), "report file"), io::FileError);  // a directory
}

TEST(Units, WriteFailureIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Units u;
  u.open(6, "/dev/full", "report file");
  io::write(u, 6, R"(("a line that cannot be kept"))");
  try {
    u.close(6);
    FAIL();
  } catch (const io::FileError& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find("cannot write report file '/dev/full'")) << e.what();
  }
  EXPECT_FALSE(u.is_open(6));
}

TEST(Units, NoAdvanceKeepsTheRecordOpen) {
  Units u;
  u.open_memory_output(6, "report");
  io::write(u, 6, R"((I2,3X,\))", 5);   // pending blanks of X are dropped
  io::write(u, 6, R"(("a"))");
  io::write(u, 6, R"((I2,$))", 5);
  io::list_write(u, 6);                 // an empty list write ends the open record
  io::write(u, 6, R"(("c",\))");
  io::list_write(u, 6, "x");            // a list write continues it with its blank
  io::write(u, 6, R"((I3,/,\))", 7);
  io::write(u, 6, R"(("d"))");
  io::list_write(u, 6);                 // an empty record
  io::write(u, 6, R"(("open",\))");
  EXPECT_EQ(" 5a\n 5\nc x\n  7\nd\n\nopen", u.text(6));
  u.close(6);                           // CLOSE ends the open record
  EXPECT_EQ(" 5a\n 5\nc x\n  7\nd\n\nopen\n", u.text(6));
}

TEST(Units, ConsoleCaptureAndCloseAll) {
  Units u;
  u.capture_console();
  EXPECT_TRUE(u.is_open(io::LCON));
  io::list_write(u, io::LCON, 3);
  io::write(u, io::LCON, R"((" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT",/," BEFORE COMPUTATION.  TRY IT AGAIN!"))");
  EXPECT_EQ("           3\n PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n",
            u.text(io::LCON));
  const fs::path a = scratch("a.plt"), b = scratch("b.log");
  u.open(3, a.string(), "plot output file");
  u.open(4, b.string(), "iteration log");
  io::write(u, 3, R"(("plot",\))");
  io::list_write(u, 4, 1, 2);
  u.close_all();
  EXPECT_FALSE(u.is_open(3));
  EXPECT_FALSE(u.is_open(4));
  EXPECT_TRUE(u.is_open(io::LCON));
  EXPECT_EQ("plot\n", slurp(a));
  EXPECT_EQ("           1           2\n", slurp(b));
  EXPECT_THROW(io::write(u, 3, "(I2)", 1), std::logic_error);  // not open
  EXPECT_THROW(u.open(100, "x"), std::logic_error);
}

TEST(Units, FixedWidthReads) {
  Units u;
  const std::string long_line(300, 'x');
  u.open_memory_input(2, "NAMES.dat", "VERSION 1.2345678\n" + long_line + "\nshort\n");
  Chars<12> version;
  Chars<256> path;
  io::read_a(u, 2, Rec{"version record"}, 12, version);
  EXPECT_EQ("VERSION 1.23", version.view());
  io::read_a(u, 2, Rec{"path record"}, 255, path);
  EXPECT_EQ(std::string(255, 'x') + " ", path.view());  // 255 characters, blank padded to 256
  Chars<4> tail;
  io::read_a(u, 2, Rec{"record"}, 8, tail);             // wider field: its rightmost 4 characters
  EXPECT_EQ("t   ", tail.view());
  try {
    io::read_a(u, 2, Rec{"input data file name record"}, 255, path);
    FAIL();
  } catch (const io::InputError& e) {
    EXPECT_TRUE(e.eof);
    EXPECT_EQ("NAMES.dat, line 4: end of file in input data file name record", std::string(e.what()));
  }
}

TEST(Units, ReadLeftoverValuesAndContinuation) {
  Units u;
  u.open_memory_input(5, "in.dat", "1 2 3 4\n5\n6\n  7 8 9\n10\n");
  int a = 0, b = 0, c = 0;
  io::list_read(u, 5, Rec{"r"}, a, b);  // 3 and 4 are left over and ignored
  io::list_read(u, 5, Rec{"r"}, a, b, c);  // continues over two lines
  EXPECT_EQ(5, a);
  EXPECT_EQ(6, b);
  EXPECT_EQ(7, c);
  io::list_read(u, 5, Rec{"r"});  // a READ without items passes over one record: nothing left
  EXPECT_THROW(io::list_read(u, 5, Rec{"r"}, a), io::InputError);
}

// Where each READ found its record: the line of its first value, its last line, and the
// values it left on that line; the next line with data, without reading it.
TEST(Units, RecordSpansAndTheNextDataLine) {
  Units u;
  u.open_memory_input(5, "in.dat", "T\n\n  1 2 3 4\n5,\n6 / 7 8\n1*9 2*3\n\n \t\r\nlast\n");
  Chars<4> t;
  int a = 0, b = 0, c = 0;
  auto span = [&] {
    const io::RecordSpan r = u.last_record(5);
    return std::array<int, 3>{r.first, r.last, r.left};
  };
  io::read_a(u, 5, Rec{"t"}, 4, t);
  EXPECT_EQ((std::array<int, 3>{1, 1, 0}), span());
  io::list_read(u, 5, Rec{"r"}, a, b);  // the blank line is passed over; 3 and 4 are left
  EXPECT_EQ((std::array<int, 3>{3, 3, 2}), span());
  io::list_read(u, 5, Rec{"r"}, a, b, c);  // over two lines, ended by a slash: nothing left
  EXPECT_EQ((std::array<int, 3>{4, 5, 0}), span());
  io::list_read(u, 5, Rec{"r"}, a);  // a repeat left over counts once
  EXPECT_EQ((std::array<int, 3>{6, 6, 1}), span());
  EXPECT_EQ(9, u.next_data_line(5));  // blanks, a tab and a carriage return hold no data
  EXPECT_EQ(9, u.next_data_line(5));  // nothing was read
  for (int i = 7; i <= 9; ++i) io::read_a(u, 5, Rec{"t"}, 4, t);
  EXPECT_EQ(0, u.next_data_line(5));
}

// The iteration log is written once per iteration, and the iteration allocates nothing:
// once the layout is parsed and the buffers have grown, a WRITE allocates nothing, also
// for a layout built at run time.
TEST(Units, WarmWritesDoNotAllocate) {
  const fs::path p = scratch("warm.log");
  Units u;
  u.open(4, p.string(), "iteration log");
  char dyn[50];
  std::snprintf(dyn, sizeof dyn, "(1P,1E%2.2d.%2.2d,\\)", 12, 3);
  auto one = [&](int i) {
    io::write(u, 4, R"((1X,I4,2X,I5,2X,1P,E12.4,2X,E12.4,2X,I5))", i, 2 * i, 1.5e-3 * i, -2.0 / (i + 1), i % 7);
    io::write(u, 4, dyn, 0.25 * i);
    io::list_write(u, 4, i, 0.5 * i);
  };
  for (int i = 0; i < 3000; ++i) one(i);  // past the flush size at least once
  const long before = g_news.load();
  for (int i = 0; i < 3000; ++i) one(i);
  EXPECT_EQ(0, g_news.load() - before);
  u.close(4);
}

TEST(Clock, SourceDateEpochGivesTheTimeInUTC) {
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  io::Clock c = io::now();
  EXPECT_EQ(2023, c.year);
  EXPECT_EQ(11, c.month);
  EXPECT_EQ(14, c.day);
  EXPECT_EQ(22, c.hour);
  EXPECT_EQ(13, c.minute);
  EXPECT_EQ(20, c.second);
  ::setenv("SOURCE_DATE_EPOCH", "-86400", 1);
  c = io::now();
  EXPECT_EQ(1969, c.year);
  EXPECT_EQ(31, c.day);
  ::setenv("SOURCE_DATE_EPOCH", "17e8", 1);  // not a whole number of seconds: local time
  c = io::now();
  EXPECT_GE(c.year, 2024);
  ::unsetenv("SOURCE_DATE_EPOCH");
  c = io::now();
  EXPECT_GE(c.year, 2024);
  EXPECT_TRUE(c.month >= 1 && c.month <= 12);
}
