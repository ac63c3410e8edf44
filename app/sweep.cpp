// sweep.cpp -- `branto sweep TEMPLATE.dat PARAMS.csv`: a parameter study. The template is
// an input data file with placeholders ${NAME}; each row of the table gives one value per
// name and becomes one input data file and one run; the summary table carries the
// parameters beside the results. --shard i/n takes every n-th row from row i, so that a
// study can be spread over the tasks of a job array.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "batch.h"
#include "commands.h"
#include "sweep.h"

namespace fs = std::filesystem;

namespace host {

namespace {

bool name_start(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool name_char(char c) { return name_start(c) || (c >= '0' && c <= '9'); }

std::string trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

bool read_text(const std::string& path, std::string& text) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream ss;
  ss << f.rdbuf();
  text = ss.str();
  return !f.bad();
}

}  // namespace

namespace {

// One record of a CSV text from position i on: fields separated by commas; a quoted
// field may hold commas, line ends and doubled quotes; blanks around a field that is not
// quoted are dropped. False at the end of the text; err tells a malformed record.
bool next_record(std::string_view text, std::size_t& i, int& line, std::vector<std::string>& rec, std::string& err) {
  rec.clear();
  std::string field;
  bool quoted = false, was_quoted = false;
  auto push = [&] {
    rec.push_back(was_quoted ? field : trim(field));
    field.clear();
    was_quoted = false;
  };
  while (i < text.size()) {
    const char c = text[i++];
    if (quoted) {
      if (c == '"' && i < text.size() && text[i] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"' && !was_quoted && trim(field).empty()) {
      quoted = was_quoted = true;
      field.clear();
    } else if (c == ',') {
      push();
    } else if (c == '\n') {
      ++line;
      push();
      return true;
    } else if (c == '\r' && i < text.size() && text[i] == '\n') {
      continue;
    } else if (was_quoted) {
      if (c != ' ' && c != '\t') err = "text after a quoted value";
    } else {
      field += c;
    }
  }
  if (quoted) err = "a quoted value is not closed";
  if (rec.empty() && field.empty() && !was_quoted) return false;
  push();
  return true;
}

}  // namespace

Table read_table(std::string_view text, const std::string& file) {
  Table t;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // as spreadsheets write it
  auto fail = [&](int line, const std::string& what) {
    t.error = quote(file) + ", line " + std::to_string(line) + ": " + what;
    return t;
  };
  std::size_t i = 0;
  int line = 1;
  std::vector<std::string> rec;
  std::string err;
  for (int first = line; next_record(text, i, line, rec, err); first = line) {
    if (!err.empty()) return fail(first, err);
    if (rec.size() == 1 && rec[0].empty()) continue;  // a blank line
    if (t.names.empty()) {
      std::set<std::string> seen;
      for (const std::string& n : rec) {
        bool ok = !n.empty() && name_start(n[0]);
        for (char c : n) ok = ok && name_char(c);
        if (!ok) return fail(first, "column name " + quote(n) + " is not a placeholder name (letters, digits, _)");
        if (!seen.insert(n).second) return fail(first, "column " + quote(n) + " is given twice");
      }
      t.names = rec;
      continue;
    }
    if (rec.size() != t.names.size())
      return fail(first, std::to_string(rec.size()) + " values for " + std::to_string(t.names.size()) + " columns");
    for (std::size_t k = 0; k < rec.size(); ++k)
      if (rec[k].empty()) return fail(first, "no value for " + t.names[k]);
    t.rows.push_back(rec);
    t.lines.push_back(first);
  }
  if (t.names.empty()) return fail(1, "no column names");
  return t;
}

std::string fill(std::string_view text, const std::vector<std::string>& names, const std::vector<std::string>& values,
                 const std::string& file, std::set<std::string>* used) {
  std::string out;
  int line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
    if (text[i] != '$' || i + 1 >= text.size() || text[i + 1] != '{') {
      out += text[i];
      continue;
    }
    const std::size_t close = text.find('}', i + 2);
    const std::string_view name = text.substr(i + 2, close == std::string_view::npos ? 0 : close - i - 2);
    bool ok = close != std::string_view::npos && !name.empty() && name_start(name[0]);
    for (char c : name) ok = ok && name_char(c);
    const std::string at = quote(file) + ", line " + std::to_string(line) + ": ";
    if (!ok) throw std::runtime_error(at + "a placeholder is written ${NAME} (letters, digits, _)");
    std::size_t k = 0;
    while (k < names.size() && names[k] != name) ++k;
    if (k == names.size()) throw std::runtime_error(at + "no column of the table gives ${" + std::string(name) + "}");
    if (used != nullptr) used->insert(names[k]);
    out += values[k];
    i = close;
  }
  return out;
}

bool parse_shard(const std::string& s, int& i, int& n) {
  const std::size_t slash = s.find('/');
  if (slash == std::string::npos) return false;
  try {
    std::size_t a = 0, b = 0;
    i = std::stoi(s.substr(0, slash), &a);
    n = std::stoi(s.substr(slash + 1), &b);
    if (a != slash || b != s.size() - slash - 1) return false;
  } catch (const std::exception&) {
    return false;
  }
  return n >= 1 && i >= 1 && i <= n;
}

Action add_sweep(CLI::App& app, Options& o) {
  struct Sweep {
    std::string tmpl, table, shard, summary;
    int workers = 1;
  };
  auto w = std::make_shared<Sweep>();
  CLI::App* sub = app.add_subcommand("sweep", "a parameter study: one run per row of a table of values");
  sub->add_option("TEMPLATE", w->tmpl, "input data file with placeholders ${NAME}")->required();
  sub->add_option("PARAMS", w->table, "CSV table: a row of names, then one row of values per run")->required();
  sub->add_option("-j,--jobs", w->workers, "runs at a time, each in a worker process (default 1)")
      ->check(CLI::Range(1, 256));
  sub->add_option("--shard", w->shard, "run rows i, i+n, i+2n, ... only (i from 1 to n)")->type_name("i/n");
  sub->add_option("--summary", w->summary, "the summary table (default: STEM-summary.csv in the output directory)")
      ->type_name("FILE.csv");
  sub->footer(
      "Each row r becomes STEM-r.dat (the template with the row's values) and its outputs\n"
      "STEM-r.out, STEM-r.plt, STEM-r.log, in the output directory (default: STEM-sweep\n"
      "beside the template); r is the row's number in the table, from 1, with leading zeros.");
  add_output_options(*sub, o);
  return [w, &o]() {
    int shard = 1, shards = 1;
    if (!w->shard.empty() && !parse_shard(w->shard, shard, shards))
      return usage_error("--shard " + quote(w->shard) + ": expected i/n with 1 <= i <= n, for example 2/8");
    std::string tmpl, table;
    if (!read_text(w->tmpl, tmpl)) return usage_error("cannot read the template " + quote(w->tmpl));
    if (!read_text(w->table, table)) return usage_error("cannot read the table " + quote(w->table));
    const Table t = read_table(table, w->table);
    if (!t.error.empty()) return usage_error(t.error);
    // Every placeholder must have a column; a column no placeholder uses is worth a word.
    std::set<std::string> used;
    try {
      fill(tmpl, t.names, t.names, w->tmpl, &used);
    } catch (const std::exception& e) {
      return usage_error(e.what());
    }
    for (const std::string& n : t.names)
      if (used.count(n) == 0)
        std::fprintf(stderr, "branto: column %s of %s: no placeholder ${%s} in the template\n", quote(n).c_str(),
                     quote(w->table).c_str(), n.c_str());
    // The jobs of this shard, named by row number.
    const fs::path tpath = fs::absolute(w->tmpl);
    const std::string stem = tpath.stem().string();
    Options so = o;
    if (so.out_dir.empty()) so.out_dir = (tpath.parent_path() / (stem + "-sweep")).string();
    const int width = static_cast<int>(std::to_string(t.rows.size()).size());
    std::vector<Job> jobs;
    std::vector<std::size_t> rows;
    for (auto r = static_cast<std::size_t>(shard - 1); r < t.rows.size(); r += static_cast<std::size_t>(shards)) {
      std::string num = std::to_string(r + 1);
      num.insert(0, static_cast<std::size_t>(width) - num.size(), '0');
      Job j;
      j.stem = stem + "-" + num;
      j.label = j.stem + ".dat";
      j.out_dir = fs::absolute(so.out_dir);
      j.input = (j.out_dir / j.label).string();
      j.text = fill(tmpl, t.names, t.rows[r], w->tmpl, nullptr);
      jobs.push_back(std::move(j));
      rows.push_back(r);
    }
    std::string summary = w->summary;
    if (summary.empty())
      summary = (fs::path(so.out_dir) / (stem + "-summary" +
                                         (shards > 1 ? "-" + std::to_string(shard) + "of" + std::to_string(shards) : "") +
                                         ".csv")).string();
    std::string clash = check_jobs(jobs, so);
    if (clash.empty())
      clash = check_apart({{"template", w->tmpl}, {"table", w->table}, {"summary", summary}}, jobs, so);
    if (!clash.empty()) {
      std::fprintf(stderr, "branto: %s\n", clash.c_str());
      return EX_FAILED;
    }
    // The runs; each summary row starts with the row number and its values.
    std::string header = "row";
    for (const std::string& n : t.names) header += "," + csv_field(n);
    std::vector<std::string> out;
    int status = run_batch(jobs, so, w->workers, [&](std::size_t i, const Outcome& r) {
      show_named(jobs[i].label, r, so);
      std::string lead = std::to_string(rows[i] + 1);
      for (const std::string& v : t.rows[rows[i]]) lead += "," + csv_field(v);
      for (const std::string& row : r.rows) out.push_back(lead + "," + row);
    });
    std::error_code ec;
    fs::create_directories(fs::absolute(summary).parent_path(), ec);
    if (std::string e = write_summary(summary, header + "," + csv_header(), out); !e.empty()) {
      std::fprintf(stderr, "branto: %s\n", e.c_str());
      status = EX_FAILED;
    } else if (!o.quiet) {
      std::printf("summary:       %s\n", summary.c_str());
    }
    return status;
  };
}

}  // namespace host
