// The one UTF-8 codec: reading, counting and cutting agree with each other on malformed
// text as on good text.
#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_encoding.h"

namespace obrel {
namespace {

std::vector<char32_t> codePoints(const std::string& s) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < s.size();) out.push_back(utf8::next(s, i));
  return out;
}

TEST(Utf8, MalformedSequencesReadAsOneReplacementEachEverywhere) {
  constexpr char32_t R = utf8::kReplacement;
  const std::pair<std::string, std::vector<char32_t>> cases[] = {
      {"a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", {'a', 0xE9, 0x65E5, 0x1F600}},
      {"\xC0\x80", {R, R}},                // overlong NUL
      {"\xED\xA0\x80x", {R, R, R, 'x'}},   // a surrogate
      {"\xF4\x90\x80\x80", {R, R, R, R}},  // past U+10FFFF
      {"\xE6\x97", {R}},                   // cut off: its start, once
      {"\x80x", {R, 'x'}},                 // a lone continuation byte
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(codePoints(text), expected) << text;
    EXPECT_EQ(utf8::length(text), expected.size()) << text;
    EXPECT_EQ(utf8::offset(text, expected.size()), text.size()) << text;
    // Repairing gives what reading gives, as the file reader does.
    std::string repaired;
    for (const char32_t cp : expected) utf8::append(repaired, cp);
    EXPECT_EQ(utf8::sanitized(text), repaired) << text;
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + text).text, repaired) << text;
  }
}

}  // namespace
}  // namespace obrel
