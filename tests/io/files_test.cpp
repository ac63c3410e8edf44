// Files as a run must take them: OPENs that never wait and refuse what is not a file
// of the right kind, the identity of two names, records cut by their field, and values
// that a READ keeps from before.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "io/io.h"

namespace fs = std::filesystem;
using io::Chars;
using io::Rec;
using io::Units;

namespace {

fs::path scratch(const std::string& name) {
  fs::path d = fs::path(BRANTO_BINARY_DIR) / "tests" / "scratch-files";
  fs::create_directories(d);
  fs::path p = d / name;
  if (!name.empty()) fs::remove(p);
  return p;
}

void spit(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

}  // namespace

// No OPEN waits: a FIFO (with no writer or reader) is refused at once, for reading and
// for writing; a character device is written; a name with a NUL is refused.
TEST(Units, FileKindsAndNoWaiting) {
  const fs::path fifo = scratch("fifo");
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  ::alarm(20);  // a blocking OPEN would hang the test
  Units u;
  for (bool read : {true, false}) {
    try {
      u.open(read ? 5 : 6, fifo.string(), "input data file", read);
      FAIL();
    } catch (const io::FileError& e) {
      EXPECT_NE(std::string::npos, std::string(e.what()).find("it is a FIFO, not a regular file")) << e.what();
    }
  }
  ::alarm(0);
  EXPECT_THROW(u.open(5, scratch("").string(), "input data file", true), io::FileError);  // a directory
  EXPECT_THROW(u.open(6, std::string("a\0b", 3), "report file"), io::FileError);
  EXPECT_FALSE(fs::exists(scratch("a")));
  u.open(4, "/dev/null", "iteration log");
  io::write(u, 4, R"(("gone"))");
  u.close(4);
  fs::remove(fifo);
}

// What the file check of a run compares: hard and symbolic links, relative and absolute
// names, names of files not yet there, dangling links.
TEST(FileId, SameFileByInodeOrResolvedPath) {
  const fs::path a = scratch("same_a"), hard = scratch("same_hard"), soft = scratch("same_soft");
  const fs::path dangling = scratch("same_dangling"), target = scratch("same_target");
  spit(a, "x");
  fs::create_hard_link(a, hard);
  fs::create_symlink(a, soft);
  fs::create_symlink(target.filename(), dangling);
  const io::FileId ia = io::identify(a.string() + "  ");
  EXPECT_EQ(io::FileId::REGULAR, ia.kind);
  EXPECT_TRUE(io::same_file(ia, io::identify(hard.string())));
  EXPECT_TRUE(io::same_file(ia, io::identify(soft.string())));
  EXPECT_TRUE(io::same_file(ia, io::identify((a.parent_path() / ".." / "scratch-files" / a.filename()).string())));
  EXPECT_FALSE(io::same_file(ia, io::identify(target.string())));
  const io::FileId it = io::identify(target.string());
  EXPECT_EQ(io::FileId::MISSING, it.kind);
  EXPECT_TRUE(io::same_file(it, io::identify(dangling.string())));  // the link would create it
  EXPECT_EQ(io::FileId::DEVICE, io::identify("/dev/null").kind);
  EXPECT_EQ(io::FileId::UNREACHABLE, io::identify("/nonexistent-dir/x").kind);
  EXPECT_FALSE(io::same_file(io::identify("/nonexistent-dir/x"), io::identify("/nonexistent-dir/x")));
}

// A record cut by the width of its A field is told to the caller.
TEST(Units, FixedWidthReadTellsACutRecord) {
  Units u;
  u.open_memory_input(2, "NAMES.dat", "abc   \t\nabcd\nab\n");
  Chars<4> t;
  EXPECT_FALSE(io::read_a(u, 2, Rec{"r"}, 3, t));  // only blanks and a tab beyond
  EXPECT_TRUE(io::read_a(u, 2, Rec{"r"}, 3, t));
  EXPECT_FALSE(io::read_a(u, 2, Rec{"r"}, 3, t));
}

// Values that a READ leaves unchanged (null values, items after a slash) at watched
// addresses that no READ has assigned are reported once the READ is complete, with the
// record and the value kept; an address assigned by a READ or noted as set is not.
TEST(Units, KeptValuesAreReported) {
  struct {
    int n[4] = {1, 2, 3, 4};
    double x = 2.5;
    Chars<4> s{"ab"};
  } tab;
  int outside = 9;
  std::vector<std::string> kept;
  Units u;
  u.open_memory_input(5, "in.dat", "10,,30 /\n,,,,7.5 'z'\n,,/\n");
  u.watch_kept(5, &tab, sizeof tab, [&](const io::Kept& k) { kept.push_back(k.where + " = " + k.value); });
  io::list_read(u, 5, Rec{"first record", 0, "A B C D"}, std::span<int>(tab.n, 4), outside);
  EXPECT_EQ((std::vector<std::string>{"in.dat, line 1: first record, value 2 (B) = 2",
                                      "in.dat, line 1: first record, value 4 (D) = 4"}),
            kept);
  kept.clear();
  u.note_set(&tab.n[3]);
  io::list_read(u, 5, Rec{"second record", 2}, std::span<int>(tab.n, 4), tab.x, tab.s);
  EXPECT_EQ((std::vector<std::string>{"in.dat, line 2: second record 2, value 2 = 2"}), kept);
  kept.clear();
  io::list_read(u, 5, Rec{"third record"}, tab.x, tab.s);  // both assigned by the READ before
  EXPECT_TRUE(kept.empty());
  u.unwatch_kept();
}

// The observer of a unit sees each READ once it is complete: the record's lines, its
// name and its targets as filled; a READ that fails, and the reads of other units, not.
TEST(Units, ObserverSeesEachReadAsTaken) {
  Units u;
  u.open_memory_input(5, "in.dat", "TITLE LINE\n1 2.5\n3\n 7 x\n");
  u.open_memory_input(6, "other", "9\n");
  std::vector<std::string> seen;
  u.observe(5, [&](const io::RecordSpan& at, const Rec& rec, std::span<const io::Target> t) {
    std::string v = std::to_string(at.first) + "-" + std::to_string(at.last) + "+" + std::to_string(at.left) + " " +
                    std::string(rec.what) + ":";
    for (const io::Target& x : t)
      v += x.kind == io::Target::TEXT ? " '" + std::string(x.cp, 5) + "'"
           : x.kind == io::Target::INT ? " " + std::to_string(*x.ip)
                                       : " " + std::to_string(*x.rp);
    seen.push_back(v);
  });
  Chars<5> title;
  int i = 0, j = 0;
  double r = 0;
  io::read_a(u, 5, Rec{"title"}, 5, title);
  io::list_read(u, 5, Rec{"pair", 0, "I R"}, i, r);
  io::list_read(u, 5, Rec{"other unit"}, j);
  io::list_read(u, 6, Rec{"not seen"}, j);
  EXPECT_THROW(io::list_read(u, 5, Rec{"bad"}, i, j), io::InputError);
  EXPECT_EQ((std::vector<std::string>{"1-1+0 title: 'TITLE'", "2-2+0 pair: 1 2.500000", "3-3+0 other unit: 3"}), seen);
  u.observe(5, nullptr);
  seen.clear();
  u.open_memory_input(5, "in.dat", "4\n");
  io::list_read(u, 5, Rec{"unobserved"}, i);
  EXPECT_TRUE(seen.empty());
}
