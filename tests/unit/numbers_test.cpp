#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/failure.h"

namespace obrel {
namespace {

TEST(LeadingValue, ReadsLeadingDigitsAndStopsAtTheFirstOther) {
  EXPECT_EQ(leadingValue("07"), 7);
  EXPECT_EQ(leadingValue("12ab"), 12);
  EXPECT_EQ(leadingValue("ab"), 0);
  EXPECT_EQ(leadingValue(""), 0);
  EXPECT_EQ(leadingValue(" 5"), 0);
}

TEST(LeadingValue, VeryLongDigitRunSaturatesInsteadOfOverflowing) {
  EXPECT_GT(leadingValue(std::string(60, '9')), 999999999999LL);
}

TEST(ReadNumber, AcceptsBlanksSignAndFraction) {
  EXPECT_EQ(readNumber(" 12 ").value, 12);
  EXPECT_EQ(readNumber("\t-4").value, -4);
  EXPECT_EQ(readNumber("+3").value, 3);
  EXPECT_EQ(readNumber("2.5").value, 2.5);
  EXPECT_EQ(readNumber(".5").value, 0.5);
  EXPECT_EQ(readNumber("0005").value, 5);
}

TEST(ReadNumber, RefusesWhatIsNoPlainNumber) {
  for (const char* text :
       {"", " ", "abc", "1a", "1 2", "--1", "1.2.3", "1e3", "0x10", "1,000", "+", ".",
        "\xEF\xBB\xBF\x31"}) {  // "1" behind a byte-order mark
    const NumberReading reading = readNumber(text);
    EXPECT_FALSE(reading.value) << text;
    EXPECT_FALSE(reading.outOfRange) << text;
  }
  // A number, but none a double holds.
  const NumberReading huge = readNumber(std::string(400, '9'));
  EXPECT_FALSE(huge.value);
  EXPECT_TRUE(huge.outOfRange);
}

TEST(ReadInt16, RoundsHalfToEven) {
  EXPECT_EQ(readInt16("2.5"), 2);
  EXPECT_EQ(readInt16("3.5"), 4);
  EXPECT_EQ(readInt16("-2.5"), -2);
  EXPECT_EQ(readInt16("2.51"), 3);
  EXPECT_EQ(readInt16("0.4"), 0);
}

// Entry numbers as files and the index box hold them take a short cut past the general
// reading, which must give what the general reading gives.
TEST(ReadInt16, EntryNumbersReadAsTheGeneralReadingReadsThem) {
  for (int n = 0; n <= 9999; ++n) {
    for (const std::string& text :
         {std::to_string(n),
          std::string(4 - std::min<std::size_t>(4, std::to_string(n).size()), '0') +
              std::to_string(n)}) {
      ASSERT_EQ(readInt16(text),
                static_cast<std::int16_t>(roundHalfEven(readNumber(text).value.value())))
          << text;
    }
  }
  EXPECT_EQ(readInt16(" 12"), 12);
  EXPECT_EQ(readInt16("2.5"), 2);
  EXPECT_EQ(readInt16("32767"), 32767);
  for (const char* text : {"32768", "12a", "1 2", ""}) EXPECT_EQ(readInt16(text), std::nullopt);
}

TEST(ReadInt16, RefusesValuesOutsideSixteenBits) {
  EXPECT_EQ(readInt16("32767"), 32767);
  EXPECT_EQ(readInt16("-32768"), -32768);
  EXPECT_EQ(readInt16("32767.4"), 32767);
  EXPECT_EQ(readInt16("32767.5"), std::nullopt);
  EXPECT_EQ(readInt16("40000"), std::nullopt);
  EXPECT_EQ(readInt16("-32769"), std::nullopt);
  EXPECT_EQ(readInt16(std::string(400, '9')), std::nullopt);
}

TEST(Increment16, FailsPastTheTop) {
  EXPECT_EQ(increment16(9999), 10000);
  EXPECT_THROW(increment16(32767), Overflow);
}

}  // namespace
}  // namespace obrel
