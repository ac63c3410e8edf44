// golden.h -- line-by-line comparison of a written file with its expected text: the
// first differing line and column, both lines shown.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

// Empty when equal; otherwise where and how they first differ.
inline std::string first_difference(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                                    std::size_t line_offset = 0) {
  const std::size_t n = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::string& e = expected[i];
    const std::string& a = actual[i];
    if (e == a) continue;
    std::size_t c = 0;
    while (c < e.size() && c < a.size() && e[c] == a[c]) ++c;
    return "line " + std::to_string(i + 1 + line_offset) + ", column " + std::to_string(c + 1) + ":\n  expected [" +
           e + "]\n  actual   [" + a + "]";
  }
  if (expected.size() != actual.size())
    return "line " + std::to_string(n + 1 + line_offset) + ": expected " + std::to_string(expected.size()) +
           " lines, found " + std::to_string(actual.size()) +
           (actual.size() > n ? "; next actual line [" + actual[n] + "]" : "; next expected line [" + expected[n] + "]");
  return {};
}
