#include "platform/numbers.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(readNumber(" 12 "), 12);
  EXPECT_EQ(readNumber("\t-4"), -4);
  EXPECT_EQ(readNumber("+3"), 3);
  EXPECT_EQ(readNumber("2.5"), 2.5);
  EXPECT_EQ(readNumber(".5"), 0.5);
  EXPECT_EQ(readNumber("0005"), 5);
}

TEST(ReadNumber, RefusesWhatIsNoPlainNumber) {
  for (const char* text :
       {"", " ", "abc", "1a", "1 2", "--1", "1.2.3", "1e3", "0x10", "1,000", "+", ".",
        "\xEF\xBB\xBF\x31"}) {  // "1" behind a byte-order mark
    EXPECT_THROW(readNumber(text), TypeMismatch) << text;
  }
}

TEST(ReadInt16, RoundsHalfToEven) {
  EXPECT_EQ(readInt16("2.5"), 2);
  EXPECT_EQ(readInt16("3.5"), 4);
  EXPECT_EQ(readInt16("-2.5"), -2);
  EXPECT_EQ(readInt16("2.51"), 3);
  EXPECT_EQ(readInt16("0.4"), 0);
}

TEST(ReadInt16, RefusesValuesOutsideSixteenBits) {
  EXPECT_EQ(readInt16("32767"), 32767);
  EXPECT_EQ(readInt16("-32768"), -32768);
  EXPECT_EQ(readInt16("32767.4"), 32767);
  EXPECT_THROW(readInt16("32767.5"), Overflow);
  EXPECT_THROW(readInt16("40000"), Overflow);
  EXPECT_THROW(readInt16("-32769"), Overflow);
  EXPECT_THROW(readInt16(std::string(400, '9')), Overflow);
}

TEST(Increment16, FailsPastTheTop) {
  EXPECT_EQ(increment16(9999), 10000);
  EXPECT_THROW(increment16(32767), Overflow);
}

}  // namespace
}  // namespace obrel
