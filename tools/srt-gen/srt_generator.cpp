#include "tools/srt-gen/srt_generator.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace obrel::srtgen {

namespace {

// A small fixed-start pseudo-random sequence, so every run makes the same file.
class Sequence {
 public:
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int between(int low, int high) { return low + static_cast<int>(next() % (high - low + 1)); }

 private:
  std::uint32_t state_ = 2463534242u;
};

const std::vector<std::string_view> kAsciiWords = {
    "the",     "night", "was",   "quiet",  "until",     "she", "opened", "door",
    "and",     "saw",   "river", "we",     "have",      "to",  "leave",  "before",
    "morning", "comes", "where", "did",    "you",       "put", "keys",   "I",
    "never",   "said",  "that",  "listen", "carefully", "now", "train",  "station"};
// UTF-8 words; the Windows-1252 flavour uses only those it can hold.
const std::vector<std::string_view> kLatinWords = {
    "déjà",   "vu",   "ça",      "va",     "où",        "est",    "la",     "gare",
    "señor",  "niño", "über",    "straße", "crème",     "brûlée", "garçon", "naïve",
    "façade", "rôle", "fiancée", "piñata", "coöperate", "müde",   "schön",  "año",
    "mañana", "très", "bien",    "voilà",  "café",      "résumé"};
const std::vector<std::string_view> kCjkWords = {"字幕", "映画", "東京", "今日は", "ありがとう",
                                                 "你好", "世界", "电影", "明天",   "再见"};

std::size_t characters(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string line(Sequence& random, Flavour flavour) {
  const std::size_t target = static_cast<std::size_t>(random.between(20, 45));
  std::string text;
  while (true) {
    std::string_view word = kAsciiWords[random.next() % kAsciiWords.size()];
    const int pick = random.between(0, 9);
    if (flavour != Flavour::Ascii && pick < 3)
      word = kLatinWords[random.next() % kLatinWords.size()];
    if (flavour == Flavour::Utf8 && pick == 3) word = kCjkWords[random.next() % kCjkWords.size()];
    const std::size_t grown = characters(text) + (text.empty() ? 0 : 1) + characters(word);
    if (grown > target) break;
    if (!text.empty()) text += ' ';
    text += word;
  }
  // Short words fill the line to its length; a full stop ends it.
  static const std::vector<std::string_view> kFillers = {"so", "oh", "no", "ok", "yes"};
  while (characters(text) + 4 <= target) {
    text += ' ';
    text += kFillers[random.next() % kFillers.size()];
  }
  while (characters(text) < target) text += '.';
  return text;
}

void appendTime(std::string& out, long long ms) {
  char part[40];
  std::snprintf(part, sizeof part, "%02lld:%02lld:%02lld,%03lld", ms / 3600000 % 100,
                ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  out += part;
}

// UTF-8 to Windows-1252 for the characters the word lists use (all in Latin-1).
std::string toWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      const unsigned char d = static_cast<unsigned char>(utf8[++i]);
      out += static_cast<char>(((c & 0x1F) << 6) | (d & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string generate(int entries, Flavour flavour) {
  Sequence random;
  std::string out;
  out.reserve(static_cast<std::size_t>(entries) * 100);
  long long start = 1000;
  for (int k = 1; k <= entries; ++k) {
    out += std::to_string(k);
    out += "\r\n";
    start += random.between(200, 4000);
    const long long end = start + random.between(800, 6000);
    appendTime(out, start);
    out += " --> ";
    appendTime(out, end);
    out += "\r\n";
    const int lines = random.between(1, 2);
    for (int l = 0; l < lines; ++l) {
      out += line(random, flavour);
      out += "\r\n";
    }
    out += "\r\n";
    start = end;
  }
  return flavour == Flavour::Windows1252 ? toWindows1252(out) : out;
}

}  // namespace obrel::srtgen
