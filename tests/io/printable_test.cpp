// Text from files and users in messages: what does not print is escaped, well-formed
// UTF-8 stays as it is, a long value is cut.
#include <gtest/gtest.h>

#include "io/io.h"

TEST(Printable, EscapesWhatDoesNotPrint) {
  const struct {
    std::string in, out;
    std::size_t max = std::string::npos;
  } cases[] = {
      {"1.0E-5", "1.0E-5"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\t\r\n\x7f", "\\x09\\x0D\\x0A\\x7F"},
      {"Stra\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x99\x82", "Stra\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x99\x82"},  // 2, 3, 4 bytes
      {"\xC3", "\\xC3"},                    // a sequence cut short
      {"\xC3(", "\\xC3("},                  // a lead byte without its continuation
      {"\x80\xC0\xAF\xFF", "\\x80\\xC0\\xAF\\xFF"},  // stray continuation, overlong lead, invalid
      {"abcdef", "abc...", 3},
      {"ab\xC3\xA9", "ab\\xC3...", 3},     // a cut inside a sequence escapes its first byte
  };
  for (const auto& c : cases) EXPECT_EQ(c.out, io::printable(c.in, c.max)) << c.in;
}
