// Reading the formatting tags of an entry's text into styled runs, and the plain text.
#include "preview/styled_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace obrel {
namespace {

// The lines as "text{ibu#RRGGBB}" runs, lines joined by " | ": "a{i..#FFFFFF}b{...}".
std::string shown(std::string_view text) {
  std::string out;
  bool firstLine = true;
  for (const StyledLine& line : readStyledText(text)) {
    if (!firstLine) out += " | ";
    firstLine = false;
    for (const StyledRun& run : line) {
      char colour[8];
      std::snprintf(colour, sizeof colour, "#%06X", run.style.colour);
      out += run.text + "{" + (run.style.italic ? "i" : ".") + (run.style.bold ? "b" : ".") +
             (run.style.underline ? "u" : ".") + colour + "}";
    }
  }
  return out;
}

TEST(StyledText, TagsIntoRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain{...#FFFFFF}"},
      {"<i>a</i>b", "a{i..#FFFFFF}b{...#FFFFFF}"},
      {"<I>a</I><B>b</b><u>c</U>", "a{i..#FFFFFF}b{.b.#FFFFFF}c{..u#FFFFFF}"},
      {"<b><u>x</b>y</u>", "x{.bu#FFFFFF}y{..u#FFFFFF}"},
      {"<i>a<i>b</i>c</i>d", "abc{i..#FFFFFF}d{...#FFFFFF}"},
      {"</b>a<b>b", "a{...#FFFFFF}b{.b.#FFFFFF}"},
      {"<i>one\r\ntwo</i> three", "one{i..#FFFFFF} | two{i..#FFFFFF} three{...#FFFFFF}"},
      {"<font color=\"red\">r</font>w", "r{...#FF0000}w{...#FFFFFF}"},
      {"<FONT COLOR='DarkSlateGrey'>g", "g{...#2F4F4F}"},
      {"<font size=2 color = #00ff7F>h</FONT>", "h{...#00FF7F}"},
      {"<font color=bogus>u", "u{...#FFFFFF}"},
      {"<font color=#12345>v", "v{...#FFFFFF}"},
      {"<font color='#a0B1cg'>v</font><font color=a0B1c2>w", "vw{...#FFFFFF}"},
      {"<font color=red>a<font color=blue>b</font>c</font>d",
       "a{...#FF0000}b{...#0000FF}c{...#FF0000}d{...#FFFFFF}"},
      {"<font color=red>a<font face=x>b</font>c", "abc{...#FF0000}"},
      {"<font color=lime>a\r\nb</font>", "a{...#00FF00} | b{...#00FF00}"},
      {"{\\an8}<span>top</span><br>", "top{...#FFFFFF}"},
      {"a < b", "a < b{...#FFFFFF}"},
      {"a <i\r\nb>", "a <i{...#FFFFFF} | b>{...#FFFFFF}"},
      {"a < b > c", "a  c{...#FFFFFF}"},
      {"{\\an8 open", "{\\an8 open{...#FFFFFF}"},
      {"{not an override}", "{not an override}{...#FFFFFF}"},
      {"\xc3\xa9t\xc3\xa9 <i>\xe6\x97\xa5</i>",
       "\xc3\xa9t\xc3\xa9 {...#FFFFFF}\xe6\x97\xa5{i..#FFFFFF}"},
      {"<i></i>\r\n\r\nx", " |  | x{...#FFFFFF}"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(shown(text), expected) << text;
}

TEST(StyledText, PlainTextForTheDriver) {
  EXPECT_EQ(plainText("<i>Hello</i>,\r\n{\\an8}<font color=red>world</font>"), "Hello, / world");
  EXPECT_EQ(plainText("one line"), "one line");
  EXPECT_EQ(plainText("a\nb\r\nc"), "a / b / c");
}

}  // namespace
}  // namespace obrel
