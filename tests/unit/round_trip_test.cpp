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
#include <vector>

#include "platform/text_encoding.h"
#include "testing/test_window.h"

namespace obrel {
namespace {

using fake::TestWindow;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kStoresPerEncoding = 40;  // the sanitizers make each round trip slow
#else
constexpr int kStoresPerEncoding = 1000;
#endif

class RoundTrips {
 public:
  RoundTrips(TestWindow& w, std::uint32_t start) : w_(w), random_(start) {}

  // Builds a store of 1 to 20 entries in a document of that encoding, saves it, opens it
  // again and compares; returns the problem found, or "".
  std::string once(TextEncoding encoding) {
    Form2& form = w_.form;
    openStarter(encoding);
    if (form.documentEncoding != encoding) return "the starting file did not set the encoding";
    if (pick(4) == 0) fieldBlock();

    const int entries = 1 + pick(20);
    for (int k = 1; k <= entries; ++k) {
      const std::string problem = commit(k);
      if (!problem.empty()) return "entry " + std::to_string(k) + ": " + problem;
    }
    std::vector<Entry> expected;
    for (int k = 1; k <= entries; ++k) expected.push_back(form.store.at(k));
    const TextEncoding written = writableEncoding(allTexts(expected), encoding);

    w_.dialogs.choices = {"round.srt"};
    form.SaveAs_Click();
    if (!form.saveSucceeded) return "the save failed";
    w_.prompts.answers = {Answer::No};
    w_.dialogs.choices = {"round.srt"};
    form.OpenSrt_Click();
    if (form.CurrentFile != "round.srt") return "the saved file was refused";
    for (int k = 1; k <= entries; ++k) {
      if (!(form.store.at(k) == expected[k - 1])) {
        return "entry " + std::to_string(k) + " came back as \"" + form.store.at(k).EntryText +
               "\" " + form.store.at(k).EntryTiming + " instead of \"" + expected[k - 1].EntryText +
               "\" " + expected[k - 1].EntryTiming;
      }
    }
    if (!form.store.at(entries + 1).empty()) return "an entry came back that was never saved";
    // A Windows-1252 file of ASCII alone reads as UTF-8: the same bytes either way.
    const bool ascii =
        std::all_of(w_.files.files()["round.srt"].begin(), w_.files.files()["round.srt"].end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (form.documentEncoding != written && !(ascii && written == TextEncoding::Windows1252)) {
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
    static const char* const kPieces[] = {
        "a",   "Z", " ", "é",  "ß",    "€", "Œ",     "’",  "…",  "1",        "42",          "-",
        "-->", ":", ",", "\t", "字幕", "😀", "Ωμέγα", "\"", "\\", "\xC2\xA0", "\xEF\xBB\xBF"};
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
    const Entry& e = form.store.at(k);
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

}  // namespace
}  // namespace obrel
