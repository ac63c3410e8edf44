// check.cpp -- `branto check INPUT`: every problem of an input data file read and
// checked, not analysed, and nothing written: the annotated listing of its records, the
// facts a user should confirm, the warnings and the error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "commands.h"
#include "run/run.h"

namespace host {

namespace {

std::string pad(std::string s, std::size_t w) {
  // Units in UTF-8 take more bytes than columns: count the columns.
  std::size_t cols = 0;
  for (unsigned char c : s) cols += (c & 0xC0) != 0x80;
  if (cols < w) s.append(w - cols, ' ');
  return s;
}

// Where a record was: "line 7", or "lines 7-8" for a record that runs over lines.
std::string lines_of(const ListRecord& r) {
  if (r.last > r.first) return "lines " + std::to_string(r.first) + "-" + std::to_string(r.last);
  return "line " + std::to_string(r.first);
}

}  // namespace

std::string format_record(const ListRecord& r) {
  std::string t = "  " + pad(lines_of(r), 12) + r.what;
  if (r.last > r.first) t += "   <- runs over " + std::to_string(r.last - r.first + 1) + " lines";
  if (r.left > 0)
    t += std::string(r.last > r.first ? "," : "   <-") + " " + std::to_string(r.left) + " value" +
         (r.left > 1 ? "s" : "") + " left unread on line " + std::to_string(r.last);
  // The fields NAME=value unit, as many to a line as fit in 100 columns.
  const std::string indent(13, ' ');
  std::string line = indent;
  std::size_t cols = indent.size();
  for (const ListField& f : r.fields) {
    const std::string item = f.name + "=" + f.value + (f.unit.empty() ? "" : " " + f.unit);
    std::size_t w = 0;
    for (unsigned char c : item) w += (c & 0xC0) != 0x80;
    if (cols > indent.size() && cols + 3 + w > 100) {
      t += "\n" + line;
      line = indent;
      cols = indent.size();
    }
    if (cols > indent.size()) {
      line += "   ";
      cols += 3;
    }
    line += item;
    cols += w;
  }
  if (!r.fields.empty()) t += "\n" + line;
  return t + "\n";
}

std::string format_listing(const InputListing& l, const std::string& label) {
  std::string t;
  std::size_t k = 0, f = 0;
  for (int p = 1; p <= std::max(l.problems, 1); ++p) {
    if (k >= l.records.size() && f >= l.facts.size()) break;
    t += "problem " + std::to_string(p) + "\n";
    for (; k < l.records.size() && l.records[k].NPROB <= p; ++k) t += format_record(l.records[k]);
    if (f < l.facts.size() && l.facts[f].NPROB == p) t += "  to confirm:\n";
    for (; f < l.facts.size() && l.facts[f].NPROB == p; ++f) t += "    " + pad(l.facts[f].name, 18) + l.facts[f].value + "\n";
    t += "\n";
  }
  if (!l.warnings.empty()) {
    t += "warnings:\n";
    for (const std::string& w : l.warnings) t += "  WARNING -- " + w + "\n";
    t += "\n";
  }
  if (!l.error.empty()) t += "error:\n  " + l.error + "\n\n";
  t += label + ": " + std::to_string(l.problems) + (l.problems == 1 ? " problem" : " problems") + " read, not analysed; ";
  t += l.status == 2 ? "an error" : l.status == 1 ? std::to_string(l.warnings.size()) + " warning(s)" : "clean";
  return t + "\n";
}

Action add_check(CLI::App& app) {
  auto input = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand(
      "check", "read every problem of an input data file without analysing it: the annotated listing of its "
               "records, the facts to confirm, the warnings and errors; writes no file (exit 0 clean, 1 warnings, "
               "2 errors)");
  sub->footer("Exit status: 0 clean, 1 warnings, 2 an error or a stop, or a file that could not be read, 64 a usage "
              "error.");
  sub->add_option("INPUT", *input, "the input data file; - reads it from standard input (a pasted input)")->required();
  add_curve_depths(*sub);
  return [input]() {
    if (*input == "-") {
      std::string text;
      char buf[65536];
      for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, stdin)) > 0;) text.append(buf, n);
      const InputListing l = LSTTXT(process_model(), "standard input", text);
      std::fputs(format_listing(l, "standard input").c_str(), stdout);
      return l.status;
    }
    const InputListing l = LSTINP(process_model(), *input);
    std::fputs(format_listing(l, *input).c_str(), stdout);
    return l.status;
  };
}

}  // namespace host
