#include "tools/obrel-drive/script.h"

#include <charconv>
#include <cstdio>

namespace obrel::drive {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

SplitLine splitWords(std::string_view line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    Word word;
    if (c != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word.text += line[i++];
      }
      words.push_back(std::move(word));
      continue;
    }
    word.quoted = true;
    ++i;
    bool closed = false;
    while (i < line.size()) {
      const char d = line[i++];
      if (d == '"') {
        closed = true;
        break;
      }
      if (d != '\\') {
        word.text += d;
        continue;
      }
      if (i >= line.size()) break;
      const char e = line[i++];
      switch (e) {
        case '\\': word.text += '\\'; break;
        case '"': word.text += '"'; break;
        case 'r': word.text += '\r'; break;
        case 'n': word.text += '\n'; break;
        case 't': word.text += '\t'; break;
        case 'x': {
          const int hi = i < line.size() ? hexDigit(line[i]) : -1;
          const int lo = i + 1 < line.size() ? hexDigit(line[i + 1]) : -1;
          if (hi < 0 || lo < 0) return {{}, "\\x needs two hexadecimal digits"};
          word.text += static_cast<char>(hi * 16 + lo);
          i += 2;
          break;
        }
        default: return {{}, std::string("unknown escape \\") + e};
      }
    }
    if (!closed) return {{}, "unterminated quoted word"};
    if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      return {{}, "a quoted word must be followed by a blank"};
    }
    words.push_back(std::move(word));
  }
  return {std::move(words), ""};
}

std::string quote(std::string_view text, bool asBytes) {
  std::string out = "\"";
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\': out += "\\\\"; continue;
      case '"': out += "\\\""; continue;
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7F || (asBytes && c >= 0x80)) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

std::string number(double value) {
  if (value == 0) return "0";  // no "-0"
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace obrel::drive
