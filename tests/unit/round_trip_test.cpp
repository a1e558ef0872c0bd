// Round trips of random documents built with the program's own commands: entries committed
// through the fields (typed key by key or pasted, short parts widened by the commit, Field
// Block now and then), texts of one or more non-empty lines that are no entry numbers,
// numbered from 1 without gaps. Saved and opened again, every entry gives back its ten values,
// in each encoding a document can have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "document/srt_scanner.h"
#include "platform/text_encoding.h"
#include "testing/test_window.h"
#include "testing/window_setup.h"

namespace obrel {
namespace {

using fake::TestWindow;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kStoresPerEncoding = 40;  // the sanitizers make each round trip slow
#else
constexpr int kStoresPerEncoding = 1000;
#endif

// What text lines are made of: ASCII and not, in and out of Windows-1252, digits, blanks,
// the pieces of a timing line, a byte-order mark.
const char* const kPieces[] = {"a",    "Z", " ",     "é",  "ß",   "€",        "Œ",           "’",
                               "…",    "1", "42",    "-",  "-->", ":",        ",",           "\t",
                               "字幕", "😀", "Ωμέγα", "\"", "\\",  "\xC2\xA0", "\xEF\xBB\xBF"};

class RoundTrips {
 public:
  RoundTrips(TestWindow& w, std::uint32_t start) : w_(w), random_(start) {}

  // Builds a store of 1 to 20 entries in a document of that encoding, saves it, opens it
  // again and compares; returns the problem found, or "".
  std::string once(TextEncoding encoding) {
    Form2& form = w_.form;
    const Document& document = form.document();
    openStarter(encoding);
    if (document.encoding != encoding) return "the starting file did not set the encoding";
    if (pick(4) == 0) fieldBlock();

    const int entries = 1 + pick(20);
    for (int k = 1; k <= entries; ++k) {
      const std::string problem = commit(k);
      if (!problem.empty()) return "entry " + std::to_string(k) + ": " + problem;
    }
    std::vector<Entry> expected;
    for (int k = 1; k <= entries; ++k) expected.push_back(document.store.at(k));
    const TextEncoding written = writableEncoding(allTexts(expected), encoding);

    w_.dialogs.choices = {"round.srt"};
    form.SaveAs_Click();
    if (!form.saveSucceeded) return "the save failed";
    w_.prompts.answers = {Answer::No};
    w_.dialogs.choices = {"round.srt"};
    form.OpenSrt_Click();
    if (document.CurrentFile != "round.srt") return "the saved file was refused";
    for (int k = 1; k <= entries; ++k) {
      if (!(document.store.at(k) == expected[k - 1])) {
        return "entry " + std::to_string(k) + " came back as \"" + document.store.at(k).EntryText +
               "\" " + document.store.at(k).EntryTiming + " instead of \"" +
               expected[k - 1].EntryText + "\" " + expected[k - 1].EntryTiming;
      }
    }
    if (!document.store.at(entries + 1).empty()) return "an entry came back that was never saved";
    // A Windows-1252 file of ASCII alone reads as UTF-8: the same bytes either way.
    const bool ascii =
        std::all_of(w_.files.files()["round.srt"].begin(), w_.files.files()["round.srt"].end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (document.encoding != written && !(ascii && written == TextEncoding::Windows1252)) {
      return "the document's encoding changed";
    }
    return "";
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  // A one-entry file in the encoding, opened: New and Open alone would leave UTF-8.
  void openStarter(TextEncoding encoding) {
    Form2& form = w_.form;
    if (form.FBlock.checked()) form.FBlock_Click();
    const std::string text = "1\r\n00:00:01,000 --> 00:00:02,000\r\nDéjà\r\n\r\n";
    w_.files.files()["start.srt"] = encodeText(text, encoding).bytes;
    w_.prompts.answers = {Answer::No};
    w_.dialogs.choices = {"start.srt"};
    form.OpenSrt_Click();
  }

  void fieldBlock() {
    w_.prompts.replies = {std::to_string(pick(100))};
    w_.form.FBlock_Click();
  }

  // One text line: never empty, never all digits (a line equal to the next entry's number
  // would end the entry), never a line end inside.
  std::string line() {
    std::string text;
    do {
      text.clear();
      for (int n = 1 + pick(12); n > 0; --n) text += kPieces[pick(std::size(kPieces))];
    } while (text.find_first_not_of("0123456789") == std::string::npos);
    return text;
  }

  static std::string allTexts(const std::vector<Entry>& entries) {
    std::string all;
    for (const Entry& e : entries) all += e.EntryText + e.EntryTiming;
    return all;
  }

  // A time part of 1 to width digits for value, or exactly width digits when typed.
  std::string part(int value, int width, bool typed) {
    std::string digits = std::to_string(value);
    const int length =
        typed ? width : std::max<int>(static_cast<int>(digits.size()), 1 + pick(width));
    if (static_cast<int>(digits.size()) < length)
      digits = std::string(length - digits.size(), '0') + digits;
    return digits;
  }

  void type(TextBox& first, const std::string& keys) {
    Form2& form = w_.form;
    form.setFocus(&first);
    for (char c : keys) {
      TextBox* box = form.focus();
      int code = static_cast<unsigned char>(c);
      typeKey(*box, code);
    }
  }

  std::string commit(int k) {
    Form2& form = w_.form;
    form.setIndexBox(std::to_string(k));
    if (form.CurrentIndex != k) return "the index box did not move";
    const bool typed = pick(2) == 0;
    const bool block = form.FBlock.checked();
    // A start and an end no earlier than it, to the second; Field Block holds both hours.
    const int startHours = pick(100);
    const int endHours = block ? startHours : startHours + pick(100 - startHours);
    const int startMinutes = pick(60), startSeconds = pick(60);
    int endMinutes = pick(60), endSeconds = pick(60);
    if (endHours == startHours && endMinutes * 60 + endSeconds < startMinutes * 60 + startSeconds) {
      endMinutes = startMinutes;
      endSeconds = startSeconds;
    }
    const std::string parts[] = {part(startHours, 2, typed),   part(startMinutes, 2, typed),
                                 part(startSeconds, 2, typed), part(pick(1000), 3, typed),
                                 part(endHours, 2, typed),     part(endMinutes, 2, typed),
                                 part(endSeconds, 2, typed),   part(pick(1000), 3, typed)};
    TextBox* const fields[] = {&form.Text1, &form.Text2, &form.Text3, &form.Text4,
                               &form.Text5, &form.Text6, &form.Text7, &form.Text8};
    for (int i = 0; i < 8; ++i) {
      if (!(block && (i == 0 || i == 4))) fields[i]->setText(typed ? "" : parts[i]);
    }
    if (typed) {
      // Typed from the first open field on, as a user types a whole time: the focus moves
      // on by itself, past the locked hours.
      std::string keys;
      for (int i = 0; i < 8; ++i) {
        if (!(block && (i == 0 || i == 4))) keys += parts[i];
      }
      type(block ? form.Text2 : form.Text1, keys);
    }
    std::string text = line();
    for (int n = pick(3); n > 0; --n) text += "\r\n" + line();
    form.Text9.setText(text);
    const std::size_t before = w_.prompts.shown.size();
    form.Command3_Click();
    if (w_.prompts.shown.size() != before)
      return "the commit refused: " + w_.prompts.shown.back().text;
    const Entry& e = form.document().store.at(k);
    if (e.EntryText != text) return "the commit stored another text";
    const std::string stored[] = {e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                                  e.EndHours,   e.EndMinutes,   e.EndSeconds,   e.EndMillis};
    for (int i = 0; i < 8; ++i) {
      const std::string given = block && (i == 0 || i == 4) ? form.DefaultHours : parts[i];
      const std::size_t width = i == 3 || i == 7 ? 3 : 2;
      if (stored[i] != std::string(width - std::min(width, given.size()), '0') + given) {
        return "part " + std::to_string(i + 1) + " stored as \"" + stored[i] + "\" for \"" + given +
               "\"";
      }
    }
    return "";
  }

  TestWindow& w_;
  std::mt19937 random_;
};

TEST(RoundTrip, DocumentsBuiltWithTheProgramsCommandsComeBackWhole) {
  const TextEncoding encodings[] = {TextEncoding::Utf8, TextEncoding::Utf8Bom,
                                    TextEncoding::Utf16LE, TextEncoding::Utf16BE,
                                    TextEncoding::Windows1252};
  int trips = 0;
  for (TextEncoding encoding : encodings) {
    TestWindow w;
    RoundTrips rounds(w, 1000 + static_cast<std::uint32_t>(encoding));
    for (int i = 0; i < kStoresPerEncoding; ++i) {
      const std::string problem = rounds.once(encoding);
      ASSERT_EQ(problem, "") << "store " << i << " in encoding " << static_cast<int>(encoding);
      ++trips;
    }
  }
  std::cout << "[ trips    ] " << trips << " round trips\n";
}

// Stores built at random, straight into the store: entries in any slots from 1 to 9999,
// timing lines of parts 2, 2, 2 and 3 digits wide (some with a position after them) or
// lines that cannot be read, texts with empty lines, lines of digits or of blanks and
// characters from anywhere. Saved and opened again, every entry comes back in the same order
// with its ten values, and the file's encoding with it: in the same slots when the slots
// follow one another, otherwise numbered again from the first slot, which the user is told.
// Left out are only the texts a reader cannot tell from the start of an entry or from the
// empty lines between entries (see usable()), and Windows-1252 files whose bytes also form
// UTF-8, which the encoding guess takes for UTF-8.
class SaveThenOpen {
 public:
  // Each case has a generator of its own, started from the case's number, so that a failing
  // case can be run again alone.
  explicit SaveThenOpen(std::uint32_t state) : random_(state) {}

  // Builds a store, saves it and opens the file; "" when it came back whole, or the problem
  // found.
  std::string run(TestWindow& w) {
    Form2& form = w.form;
    const Document& document = form.document();
    TextEncoding encoding;
    for (;;) {
      build();
      EntryStore store;
      for (std::size_t i = 0; i < entries_.size(); ++i) store.edit(slots_[i]) = entries_[i];
      DocumentFacts facts;
      facts.encoding = encoding_;
      fake::takeDocument(form, std::move(store), std::move(facts));
      w.dialogs.choices = {"case.srt"};
      form.SaveAs_Click();
      if (!form.saveSucceeded) return "the save failed";
      written_ = w.files.files()["case.srt"];
      encoding = writableEncoding(allText(), encoding_);
      if (encoding != TextEncoding::Windows1252 || detectEncoding(written_) == encoding) break;
      ++leftOut_;  // Windows-1252 bytes that also form UTF-8: built again
    }

    w.prompts.shown.clear();
    w.prompts.answers = {Answer::No};
    w.dialogs.choices = {"case.srt"};
    form.OpenSrt_Click();
    if (document.CurrentFile != "case.srt") return "the file was refused";
    if (document.encoding != encoding) return "the encoding changed";
    const int first = slots_.front();
    int renumberedFrom = 0, unreadTimes = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const int slot = first + static_cast<int>(i);
      if (i > 0 && slots_[i] != slots_[i - 1] + 1 && renumberedFrom == 0) renumberedFrom = slot;
      if (entries_[i].StartHours.empty() && unreadTimes == 0) unreadTimes = slot;
      if (!(document.store.at(slot) == entries_[i])) {
        return "entry " + std::to_string(slots_[i]) + " came back at " + std::to_string(slot) +
               " as [" + document.store.at(slot).EntryText + "] " +
               document.store.at(slot).EntryTiming;
      }
    }
    if (!document.store.at(first - 1).empty() ||
        !document.store.at(first + entries_.size()).empty()) {
      return "an entry came back that was never saved";
    }
    std::vector<std::string> expected, told;
    if (renumberedFrom != 0) {
      expected.push_back("The entries of this file are not numbered one after another from entry " +
                         std::to_string(renumberedFrom) +
                         " on. They have been numbered again in the order of the file.");
    }
    if (unreadTimes != 0) {
      expected.push_back("The times of entry " + std::to_string(unreadTimes) +
                         " could not be read.");
    }
    for (const fake::MessageBoxShown& m : w.prompts.shown) {
      if (m.icon != Icon::Question) told.push_back(m.text);
    }
    if (told != expected) {
      return "told " + std::to_string(told.size()) + " messages, " +
             (told.empty() ? std::string("none") : "first: " + told.front());
    }
    return "";
  }

  const std::string& written() const { return written_; }
  // How many Windows-1252 files were left out and built again.
  int leftOut() const { return leftOut_; }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  void build() {
    static const TextEncoding kEncodings[] = {TextEncoding::Utf8,       TextEncoding::Utf8Bom,
                                              TextEncoding::Utf16LE,    TextEncoding::Utf16BE,
                                              TextEncoding::Utf32LE,    TextEncoding::Utf32BE,
                                              TextEncoding::Windows1252};
    encoding_ = kEncodings[pick(std::size(kEncodings))];
    const int count = 1 + pick(pick(10) == 0 ? 60 : 8);
    // Slots one after another, or with gaps; now and then ending at the last slot.
    const bool gaps = pick(2) == 0;
    slots_.assign(1, pick(3) == 0 ? 1 : 1 + pick(kLastEntry));
    for (int i = 1; i < count; ++i)
      slots_.push_back(slots_.back() + 1 + (gaps ? pick(3) * pick(4) : 0));
    // Moved down where they run past the last slot, and now and then up to end there.
    int shift = pick(8) == 0 ? kLastEntry - slots_.back() : std::min(0, kLastEntry - slots_.back());
    shift = std::max(shift, 1 - slots_.front());
    for (int& k : slots_) k += shift;
    entries_.clear();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      // Times that cannot be read only where the next number begins the entry: the first
      // entry, or one right after the slot before.
      const bool unreadable = pick(5) == 0 && (i == 0 || slots_[i] == slots_[i - 1] + 1);
      entries_.push_back(unreadable ? unreadableEntry() : timedEntry());
      do {
        entries_.back().EntryText = text(slots_[i] + 1);
      } while (!usable(entries_.back().EntryText, slots_[i] + 1, i + 1 == slots_.size()));
    }
  }

  std::string digits(int width) {
    std::string part;
    for (int i = 0; i < width; ++i) part += static_cast<char>('0' + pick(10));
    return part;
  }

  Entry timedEntry() {
    Entry e;
    e.StartHours = digits(2), e.StartMinutes = digits(2), e.StartSeconds = digits(2);
    e.StartMillis = digits(3);
    e.EndHours = digits(2), e.EndMinutes = digits(2), e.EndSeconds = digits(2);
    e.EndMillis = digits(3);
    e.EntryTiming = timingLine(e.StartHours, e.StartMinutes, e.StartSeconds, e.StartMillis,
                               e.EndHours, e.EndMinutes, e.EndSeconds, e.EndMillis);
    static const char* const kTails[] = {" X1:100 X2:600 Y1:20 Y2:80", "  X1:5", "\tpos é", " x "};
    if (pick(4) == 0) e.EntryTiming += kTails[pick(std::size(kTails))];
    return e;
  }

  // A timing line that cannot be read: pieces of one, letters, or blanks alone.
  Entry unreadableEntry() {
    static const char* const kBits[] = {"00", "1", ":", ",", "-->", " ", "soon", "é", "--"};
    Entry e;
    TimingLine t;
    do {
      e.EntryTiming.clear();
      for (int n = 1 + pick(8); n > 0; --n) e.EntryTiming += kBits[pick(std::size(kBits))];
    } while (!readTimingLine(e.EntryTiming, true, t) || t.readable);
    return e;
  }

  // Up to five lines: ordinary text, empty lines, lines of digits (often the next number), of
  // blanks, or a timing line.
  std::string text(int next) {
    std::string text;
    for (int n = pick(6), i = 0; i < n; ++i) {
      if (i > 0) text += "\r\n";
      switch (pick(8)) {
        case 0:
        case 1: break;  // an empty line
        case 2: text += std::to_string(pick(2) ? next : pick(10001)); break;
        case 3: text += std::string(1 + pick(3), ' ') + std::to_string(pick(100)); break;
        case 4: text += std::string(1 + pick(3), pick(2) ? ' ' : '\t'); break;
        case 5: text += "0:0:" + std::to_string(pick(60)) + " --> 0:0:9"; break;
        default:
          for (int k = 1 + pick(10); k > 0; --k) text += kPieces[pick(std::size(kPieces))];
      }
    }
    return text;
  }

  // Whether a reader can tell text from the start of the next entry and from the empty lines
  // around it: no timing line after an empty line, no line of digits before a timing line,
  // no next number after an empty line before a non-empty line (or, in the file's last entry,
  // before its end), and no empty line at the end, or only empty lines.
  static bool usable(const std::string& text, int next, bool lastEntry) {
    std::vector<std::string> lines;
    for (std::size_t from = 0;;) {
      const std::size_t end = text.find("\r\n", from);
      lines.push_back(text.substr(from, end - from));
      if (end == std::string::npos) break;
      from = end + 2;
    }
    if (text.empty()) return true;
    if (lines.back().empty()) return false;
    TimingLine t;
    const auto timing = [&t](const std::string& line) { return readsAsTimingLine(line, t); };
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const bool afterEmpty = i > 0 && lines[i - 1].empty();
      const bool beforeLine = i + 1 < lines.size();
      if (afterEmpty && timing(lines[i])) return false;
      if (numberLineValue(lines[i]) && beforeLine && timing(lines[i + 1])) return false;
      if (afterEmpty && lines[i] == std::to_string(next) &&
          (beforeLine ? !lines[i + 1].empty() : lastEntry)) {
        return false;
      }
    }
    return true;
  }

  std::string allText() const {
    std::string all;
    for (const Entry& e : entries_) all += e.EntryText + e.EntryTiming;
    return all;
  }

  std::mt19937 random_;
  TextEncoding encoding_ = TextEncoding::Utf8;
  std::vector<int> slots_;
  std::vector<Entry> entries_;
  std::string written_;
  int leftOut_ = 0;
};

// The file's encoding and its text, with its line ends and tabs shown, cut to a thousand bytes.
std::string shown(const std::string& bytes) {
  const DecodedText decoded = decodeText(bytes);
  std::string s = "encoding " + std::to_string(static_cast<int>(decoded.encoding)) + ", \"";
  for (const char c : decoded.text.substr(0, 1000)) {
    s += c == '\r' ? std::string("\\r") : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
  }
  return s + "\"";
}

TEST(RoundTrip, StoresBuiltAtRandomComeBackFromTheirFiles) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr std::uint32_t kCases = 300;
#else
  constexpr std::uint32_t kCases = 5000;
#endif
  TestWindow w;
  int leftOut = 0;
  for (std::uint32_t state = 1; state <= kCases; ++state) {
    SaveThenOpen trip(state);
    const std::string problem = trip.run(w);
    ASSERT_EQ(problem, "") << "the case of generator state " << state << ", file in "
                           << shown(trip.written());
    leftOut += trip.leftOut();
  }
  std::cout << "[ trips    ] " << kCases << " stores saved and opened, " << leftOut
            << " Windows-1252 files left out\n";
}

}  // namespace
}  // namespace obrel
