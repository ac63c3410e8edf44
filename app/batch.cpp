// batch.cpp -- a pool of worker processes: one forked process per analysis, at most N at a
// time. A worker runs the analysis with a model of its own and hands its outcome back
// through a pipe; the host shows the outcomes in job order.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

#include "batch.h"

namespace host {

namespace {

// An outcome as text through the pipe: each value as its length, a colon, the bytes.
void put(std::string& d, std::string_view s) {
  d += std::to_string(s.size());
  d += ':';
  d += s;
}
void put(std::string& d, const std::vector<std::string>& v) {
  put(d, std::to_string(v.size()));
  for (const std::string& s : v) put(d, s);
}
std::string encode(const Outcome& r) {
  std::string d;
  put(d, std::to_string(r.status));
  put(d, r.lines);
  put(d, r.error);
  put(d, r.notices);
  put(d, r.files);
  put(d, r.rows);
  return d;
}

struct Reader {
  std::string_view d;
  bool ok = true;
  std::string get() {
    const std::size_t colon = d.find(':');
    std::size_t n = 0;
    if (colon == std::string_view::npos || colon == 0 || colon > 12) {
      ok = false;
      return {};
    }
    for (std::size_t i = 0; i < colon; ++i) {
      if (d[i] < '0' || d[i] > '9') ok = false;
      n = n * 10 + static_cast<std::size_t>(d[i] - '0');
    }
    if (!ok || d.size() - colon - 1 < n) {
      ok = false;
      return {};
    }
    std::string s(d.substr(colon + 1, n));
    d.remove_prefix(colon + 1 + n);
    return s;
  }
  int number() {
    const std::string s = get();
    if (!ok || s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) {
      ok = false;
      return 0;
    }
    return std::stoi(s);
  }
  std::vector<std::string> list() {
    std::vector<std::string> v;
    const int n = number();
    for (int i = 0; i < n && ok; ++i) v.push_back(get());
    return v;
  }
};
std::optional<Outcome> decode(std::string_view d) {
  Reader rd{d};
  Outcome r;
  r.status = rd.number();
  r.lines = rd.list();
  r.error = rd.get();
  r.notices = rd.get();
  r.files = rd.list();
  r.rows = rd.list();
  if (!rd.ok || !rd.d.empty()) return std::nullopt;
  return r;
}

bool write_all(int fd, std::string_view d) {
  while (!d.empty()) {
    const ssize_t n = ::write(fd, d.data(), d.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    d.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The worker: one analysis, its outcome into the pipe, then gone without running the
// host's exit handlers or flushing its inherited buffers.
[[noreturn]] void worker(const Job& job, const Options& o, int fd) {
  std::signal(SIGPIPE, SIG_DFL);
  Outcome r;
  try {
    r = analyse(job, o, false);
  } catch (const std::exception& e) {
    r = Outcome{};
    r.error = std::string("internal error: ") + e.what();
  }
  _exit(write_all(fd, encode(r)) ? 0 : 3);
}

struct Running {
  pid_t pid;
  int fd;
  std::size_t job;
  std::string data;
};

// The outcome of a worker that ended without handing one back.
Outcome lost(const Job& job, int wstatus) {
  std::string text = "the analysis ended abnormally";
  if (WIFSIGNALED(wstatus)) text += std::string(" (") + strsignal(WTERMSIG(wstatus)) + ")";
  return failed(job.label, "crashed", text);
}

// The progress line: jobs done of all, running, failed.
struct Line {
  bool on = isatty(STDERR_FILENO) != 0;
  bool drawn = false;
  void clear() {
    if (drawn) std::fputs("\r\033[K", stderr);
    drawn = false;
  }
  void draw(std::size_t done, std::size_t all, std::size_t running, std::size_t failed) {
    if (!on) return;
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %zu running", done, all, running);
    if (failed > 0) std::fprintf(stderr, ", %zu failed", failed);
    std::fflush(stderr);
    drawn = true;
  }
};

}  // namespace

int check_workers(int n) { return n < 1 ? 1 : n > 256 ? 256 : n; }

int run_batch(const std::vector<Job>& jobs, const Options& o, int workers,
              const std::function<void(std::size_t, const Outcome&)>& show) {
  std::signal(SIGPIPE, SIG_IGN);  // a worker that dies mid-write must not end the host
  std::vector<std::optional<Outcome>> done(jobs.size());
  std::vector<Running> run;
  std::size_t next = 0, shown = 0, finished = 0, nfailed = 0;
  int status = EX_OK;
  Line line;
  line.draw(0, jobs.size(), 0, 0);
  while (finished < jobs.size()) {
    // Start workers up to the limit.
    while (run.size() < static_cast<std::size_t>(workers) && next < jobs.size()) {
      int p[2];
      std::fflush(nullptr);
      if (::pipe2(p, O_CLOEXEC) != 0) break;
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(p[0]);
        worker(jobs[next], o, p[1]);
      }
      ::close(p[1]);
      if (pid < 0) {
        ::close(p[0]);
        break;
      }
      run.push_back({pid, p[0], next++, {}});
    }
    if (run.empty() && next < jobs.size()) {  // no worker could be started: this job fails
      done[next] = failed(jobs[next].label, "crashed", std::string("cannot start a worker process: ") + std::strerror(errno));
      ++next;
      ++finished;
    }
    // Wait for output of any worker; a closed pipe means the worker is done.
    std::vector<pollfd> fds;
    for (const Running& w : run) fds.push_back({w.fd, POLLIN, 0});
    if (!fds.empty() && ::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    for (std::size_t i = fds.size(); i-- > 0;) {
      if (fds[i].revents == 0) continue;
      Running& w = run[i];
      char buf[1 << 16];
      const ssize_t n = ::read(w.fd, buf, sizeof buf);
      if (n > 0) {
        w.data.append(buf, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      ::close(w.fd);
      int ws = 0;
      while (::waitpid(w.pid, &ws, 0) < 0 && errno == EINTR) {
      }
      std::optional<Outcome> r = WIFEXITED(ws) && WEXITSTATUS(ws) == 0 ? decode(w.data) : std::nullopt;
      done[w.job] = r ? std::move(*r) : lost(jobs[w.job], ws);
      run.erase(run.begin() + static_cast<std::ptrdiff_t>(i));
      ++finished;
    }
    // Show what is complete, in job order.
    for (; shown < jobs.size() && done[shown]; ++shown) {
      const Outcome& r = *done[shown];
      status = worse(status, r.status);
      if (r.status == EX_FAILED) ++nfailed;
      line.clear();
      show(shown, r);
      std::fflush(stdout);
      std::fflush(stderr);
      done[shown].reset();
    }
    line.draw(finished, jobs.size(), run.size(), nfailed);
  }
  line.clear();
  std::fflush(stderr);
  return status;
}

void show_named(const std::string& label, const Outcome& r, const Options& o) {
  if (!o.quiet && !r.notices.empty()) {
    std::string_view n = r.notices;
    while (!n.empty()) {
      const std::size_t nl = n.find('\n');
      const std::string_view l = n.substr(0, nl);
      if (l.find_first_not_of(' ') != std::string_view::npos)  // blank records say nothing here
        std::fprintf(stderr, "%s: %.*s\n", label.c_str(), static_cast<int>(l.size()), l.data());
      n.remove_prefix(nl == std::string_view::npos ? n.size() : nl + 1);
    }
  }
  for (const std::string& l : r.lines) std::printf("%s: %s\n", label.c_str(), l.c_str());
  if (!r.error.empty()) std::fprintf(stderr, "branto: %s: %s\n", label.c_str(), r.error.c_str());
}

std::string write_summary(const std::string& path, const std::string& header, const std::vector<std::string>& rows) {
  std::string t = header + "\r\n";
  for (const std::string& r : rows) t += r + "\r\n";
  return write_file(path, t);
}

}  // namespace host
