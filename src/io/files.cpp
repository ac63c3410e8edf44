// files.cpp -- what a path names, found before anything is opened: its kind, its device
// and inode, its path with symbolic links resolved. A run compares its files with these
// before it creates or empties any of them.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "io/io.h"

namespace io {

namespace {

std::string trimmed(std::string_view p) {
  while (!p.empty() && (p.back() == ' ' || p.back() == '\0')) p.remove_suffix(1);
  return std::string(p);
}

// realpath(3) into a string; empty with errno set when it fails.
std::string real(const std::string& p) {
  char buf[PATH_MAX];
  if (::realpath(p.c_str(), buf) == nullptr) return {};
  return buf;
}

// Directory part and last component: "a/b" -> ("a", "b"); "b" -> (".", "b");
// "/b" -> ("/", "b").
void split(const std::string& p, std::string& dir, std::string& name) {
  const std::size_t s = p.find_last_of('/');
  if (s == std::string::npos) {
    dir.assign(1, '.');
    name = p;
  } else {
    dir = s == 0 ? std::string(1, '/') : p.substr(0, s);
    name = p.substr(s + 1);
  }
}

FileId::Kind kind_of(mode_t m) {
  if (S_ISREG(m)) return FileId::REGULAR;
  if (S_ISCHR(m)) return FileId::DEVICE;
  return FileId::OTHER;
}

}  // namespace

FileId identify(std::string_view path) {
  FileId id;
  std::string p = trimmed(path);
  struct stat st;
  if (!p.empty() && ::stat(p.c_str(), &st) == 0) {
    id.kind = kind_of(st.st_mode);
    id.dev = static_cast<unsigned long long>(st.st_dev);
    id.ino = static_cast<unsigned long long>(st.st_ino);
    id.resolved = real(p);
    if (id.resolved.empty()) id.resolved = p;
    return id;
  }
  if (p.empty() || errno != ENOENT) {
    id.kind = FileId::UNREACHABLE;
    id.err = p.empty() ? ENOENT : errno;
    return id;
  }
  // Missing: a dangling symbolic link names the file it would create; follow it.
  for (int hop = 0; hop < 40; ++hop) {
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf - 1);
    if (n <= 0) break;
    const std::string target(buf, static_cast<std::size_t>(n));
    if (target.front() == '/') {
      p = target;
    } else {
      std::string dir, name;
      split(p, dir, name);
      dir.push_back('/');
      dir.append(target);
      p.swap(dir);
    }
  }
  std::string dir, name;
  split(p, dir, name);
  const std::string rdir = real(dir);
  if (rdir.empty()) {
    id.kind = FileId::UNREACHABLE;
    id.err = errno;
    return id;
  }
  id.kind = FileId::MISSING;
  id.resolved = rdir == "/" ? std::string() : rdir;
  id.resolved.push_back('/');
  id.resolved.append(name);
  return id;
}

bool same_file(const FileId& a, const FileId& b) {
  const auto exists = [](const FileId& f) { return f.kind != FileId::MISSING && f.kind != FileId::UNREACHABLE; };
  if (exists(a) && exists(b)) return a.dev == b.dev && a.ino == b.ino;
  if (a.kind == FileId::UNREACHABLE || b.kind == FileId::UNREACHABLE) return false;
  return !a.resolved.empty() && a.resolved == b.resolved;
}

std::string kind_text(std::string_view path) {
  struct stat st;
  const std::string p = trimmed(path);
  if (::stat(p.c_str(), &st) != 0) return "missing";
  if (S_ISREG(st.st_mode)) return "a regular file";
  if (S_ISDIR(st.st_mode)) return "a directory";
  if (S_ISFIFO(st.st_mode)) return "a FIFO";
  if (S_ISSOCK(st.st_mode)) return "a socket";
  if (S_ISBLK(st.st_mode)) return "a block device";
  if (S_ISCHR(st.st_mode)) return "a character device";
  return "a special file";
}

}  // namespace io
