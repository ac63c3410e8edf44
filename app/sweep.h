// sweep.h -- the parts of a parameter sweep: the table of values and the filling of the
// template's placeholders.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// A table of values: the names of the first record, then one record per run.
struct Table {
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> rows;
  std::vector<int> lines;  // line of each row in the file
  std::string error;       // file, line and what is wrong; empty when the table is good
};
// Read a CSV text (RFC 4180; blank lines skipped; a leading byte-order mark dropped).
// Every name must be a placeholder name, every row must give a value in every column.
Table read_table(std::string_view text, const std::string& file);

// The template with each ${NAME} replaced by the value of its column; the names met go
// into used. A placeholder without a column, or a malformed one, throws
// std::runtime_error naming the file and the line.
std::string fill(std::string_view text, const std::vector<std::string>& names, const std::vector<std::string>& values,
                 const std::string& file, std::set<std::string>* used);

// "i/n" with 1 <= i <= n.
bool parse_shard(const std::string& s, int& i, int& n);

}  // namespace host
