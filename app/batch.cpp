// batch.cpp -- a pool of worker processes: one forked process per analysis, at most N at a
// time. A worker runs the analysis with a model of its own and hands its outcome back
// through a pipe; the host shows the outcomes in job order.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
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

// A frame through a worker's result pipe: 12 digits giving the length of the body, then
// the body: the job's number and its outcome.
std::string frame(std::size_t job, const Outcome& r) {
  std::string body;
  put(body, std::to_string(job));
  body += encode(r);
  char head[16];
  std::snprintf(head, sizeof head, "%012zu", body.size());
  return head + body;
}
constexpr std::size_t HEAD = 12;

// A worker: takes job numbers from its job pipe, analyses each and sends its outcome
// back, until the job pipe closes; then ends without running the host's exit handlers or
// flushing its inherited buffers. One model serves all its runs, built anew for each.
[[noreturn]] void worker(const std::vector<Job>& jobs, const Options& o, int in, int out) {
  std::signal(SIGPIPE, SIG_DFL);
  for (;;) {
    std::uint32_t i = 0;
    std::size_t got = 0;
    while (got < sizeof i) {
      const ssize_t n = ::read(in, reinterpret_cast<char*>(&i) + got, sizeof i - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) _exit(0);
      got += static_cast<std::size_t>(n);
    }
    if (i >= jobs.size()) _exit(3);
    Outcome r;
    try {
      r = analyse(jobs[i], o, false);
    } catch (const std::exception& e) {
      r = failed(jobs[i].label, "crashed", std::string("internal error: ") + e.what());
    }
    if (!write_all(out, frame(i, r))) _exit(3);
  }
}

struct Worker {
  pid_t pid = -1;
  int jobs = -1, results = -1;  // the parent's ends of the two pipes
  std::deque<std::size_t> queue;   // the jobs it was given, the first being run
  std::string data;                // what it has sent that is not read yet
};
// Jobs handed to a worker ahead of time, so that it goes on to the next one without
// waiting for the host to read its outcome.
constexpr std::size_t DEPTH = 2;

// A new worker, or one with pid -1 when none can be started. The new worker closes its
// copies of the other workers' pipes, so that each sees the end of its own.
Worker start(const std::vector<Job>& jobs, const Options& o, const std::vector<Worker>& pool) {
  Worker w;
  int j[2], r[2];
  if (::pipe2(j, O_CLOEXEC) != 0) return w;
  if (::pipe2(r, O_CLOEXEC) != 0) {
    ::close(j[0]);
    ::close(j[1]);
    return w;
  }
  std::fflush(nullptr);
  w.pid = ::fork();
  if (w.pid == 0) {
    ::close(j[1]);
    ::close(r[0]);
    for (const Worker& other : pool) {
      if (other.jobs >= 0) ::close(other.jobs);
      ::close(other.results);
    }
    worker(jobs, o, j[0], r[1]);
  }
  ::close(j[0]);
  ::close(r[1]);
  if (w.pid < 0) {
    ::close(j[1]);
    ::close(r[0]);
    return w;
  }
  w.jobs = j[1];
  w.results = r[0];
  return w;
}

// Hand a worker one more job.
bool give(Worker& w, std::size_t job) {
  const auto i = static_cast<std::uint32_t>(job);
  if (!write_all(w.jobs, std::string_view(reinterpret_cast<const char*>(&i), sizeof i))) return false;
  w.queue.push_back(job);
  return true;
}

// The outcome of a job whose worker ended without handing one back.
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
  std::signal(SIGPIPE, SIG_IGN);  // a worker that dies must not end the host
  std::vector<std::optional<Outcome>> done(jobs.size());
  std::deque<std::size_t> pending;
  for (std::size_t i = 0; i < jobs.size(); ++i) pending.push_back(i);
  std::vector<Worker> pool;
  std::size_t shown = 0, finished = 0, nfailed = 0;
  int status = EX_OK;
  Line line;
  line.draw(0, jobs.size(), 0, 0);
  auto finish = [&](std::size_t job, Outcome r) {
    done[job] = std::move(r);
    ++finished;
  };
  while (finished < jobs.size()) {
    // Workers up to the limit, each with up to DEPTH jobs; when no worker can be
    // started at all, the next job fails.
    while (pool.size() < static_cast<std::size_t>(workers) && pool.size() < pending.size()) {
      Worker w = start(jobs, o, pool);
      if (w.pid < 0) break;
      pool.push_back(std::move(w));
    }
    if (pool.empty() && !pending.empty()) {
      finish(pending.front(), failed(jobs[pending.front()].label, "crashed",
                                     std::string("cannot start a worker process: ") + std::strerror(errno)));
      pending.pop_front();
      continue;
    }
    for (std::size_t d = 0; d < DEPTH; ++d)
      for (Worker& w : pool)
        if (w.jobs >= 0 && w.queue.size() <= d && !pending.empty() && give(w, pending.front())) pending.pop_front();
    // A worker without work left is told so by the end of its job pipe.
    for (Worker& w : pool)
      if (pending.empty() && w.queue.empty() && w.jobs >= 0) {
        ::close(w.jobs);
        w.jobs = -1;
      }
    // Read what the workers send; a closed pipe means a worker has ended.
    std::vector<pollfd> fds;
    for (const Worker& w : pool) fds.push_back({w.results, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    for (std::size_t k = fds.size(); k-- > 0;) {
      if (fds[k].revents == 0) continue;
      Worker& w = pool[k];
      char buf[1 << 16];
      const ssize_t n = ::read(w.results, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n > 0) {
        w.data.append(buf, static_cast<std::size_t>(n));
        // Each complete frame is the outcome of the first job of the worker's queue.
        while (w.data.size() >= HEAD) {
          const std::size_t len = std::strtoul(w.data.substr(0, HEAD).c_str(), nullptr, 10);
          if (w.data.size() < HEAD + len) break;
          Reader rd{std::string_view(w.data).substr(HEAD, len)};
          const int job = rd.number();
          std::optional<Outcome> r = rd.ok ? decode(rd.d) : std::nullopt;
          w.data.erase(0, HEAD + len);
          if (w.queue.empty() || static_cast<std::size_t>(job) != w.queue.front()) continue;  // not what it was given
          finish(job, r ? std::move(*r) : failed(jobs[job].label, "crashed", "a worker's outcome was garbled"));
          w.queue.pop_front();
        }
        continue;
      }
      // The worker has ended: the job it was running is lost, the others go back.
      ::close(w.results);
      if (w.jobs >= 0) ::close(w.jobs);
      int ws = 0;
      while (::waitpid(w.pid, &ws, 0) < 0 && errno == EINTR) {
      }
      if (!w.queue.empty()) {
        finish(w.queue.front(), lost(jobs[w.queue.front()], ws));
        pending.insert(pending.begin(), w.queue.begin() + 1, w.queue.end());
      }
      pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
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
    std::size_t busy = 0;
    for (const Worker& w : pool) busy += !w.queue.empty();
    line.draw(finished, jobs.size(), busy, nfailed);
  }
  // The workers end when their job pipes close.
  for (Worker& w : pool)
    if (w.jobs >= 0) ::close(w.jobs);
  for (Worker& w : pool) {
    ::close(w.results);
    while (::waitpid(w.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
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
