#include "preview/capture.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace obrel {
namespace {

std::string parts(double position) {
  const CapturedTime t = captureTime(position);
  return t.hours + " " + t.minutes + " " + t.seconds + " " + t.millis;
}

TEST(CaptureTime, SplitsPositionsWithoutLeadingZeros) {
  EXPECT_EQ(parts(0), "0 0 0 0");
  EXPECT_EQ(parts(12.7), "0 0 12 700");
  EXPECT_EQ(parts(59.7), "0 0 59 700");
  EXPECT_EQ(parts(0.04), "0 0 0 40");
  EXPECT_EQ(parts(3599.999), "0 59 59 999");
  EXPECT_EQ(parts(3600), "1 0 0 0");
  EXPECT_EQ(parts(3725.4), "1 2 5 400");
  EXPECT_EQ(parts(5000), "1 23 20 0");
}

TEST(CaptureTime, RoundsDownEverythingButTheMilliseconds) {
  // 59.9994 stays in the same second; 119.5 does not reach the next minute.
  EXPECT_EQ(parts(59.9994), "0 0 59 999");
  EXPECT_EQ(parts(119.5), "0 1 59 500");
  EXPECT_EQ(parts(7199.4), "1 59 59 400");
}

TEST(CaptureTime, MillisecondTiesGoToTheEvenNeighbour) {
  // Exact binary fractions, so the tie is real.
  EXPECT_EQ(parts(0.0625), "0 0 0 62");
  EXPECT_EQ(parts(0.4375), "0 0 0 438");
  EXPECT_EQ(parts(1.0625), "0 0 1 62");
}

TEST(CaptureTime, ThousandMillisecondsCarryThroughEveryPart) {
  EXPECT_EQ(parts(59.9996), "0 1 0 0");
  EXPECT_EQ(parts(0.9995), "0 0 1 0");
  EXPECT_EQ(parts(3599.9999), "1 0 0 0");
}

TEST(CaptureTime, LongPositionsDoNotOverflow) {
  EXPECT_EQ(parts(32767.5), "9 6 7 500");
  EXPECT_EQ(parts(32768), "9 6 8 0");
  EXPECT_EQ(parts(65536.25), "18 12 16 250");
  EXPECT_EQ(parts(360000), "100 0 0 0");
  EXPECT_EQ(parts(1e12), "277777777 46 40 0");
}

TEST(CaptureTime, NonsensePositionsReadAsZero) {
  for (double p :
       {-3.0, -0.0004, std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 1e300}) {
    EXPECT_EQ(parts(p), "0 0 0 0") << p;
  }
}

}  // namespace
}  // namespace obrel
