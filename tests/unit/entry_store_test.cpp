// The entry store and the timing line: slots made on first use, revisions that tell a changed
// store, and a timing line built the short way for the usual widths as the long way would.
#include "document/entry_store.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/failure.h"

namespace obrel {
namespace {

TEST(EntryStore, TimingLinesOfUsualAndOtherWidthsJoinTheirPartsAsTheyAre) {
  EXPECT_EQ(timingLine("01", "02", "03", "004", "05", "06", "07", "008"),
            "01:02:03,004 --> 05:06:07,008");
  EXPECT_EQ(timingLine("1", "02", "03", "4", "", "06", "07", "0089"), "1:02:03,4 --> :06:07,0089");
  EXPECT_EQ(timingLine("é1", "02", "03", "004", "05", "06", "07", "00"),
            "é1:02:03,004 --> 05:06:07,00");
}

TEST(EntryStore, AStoreIsMadeOnFirstUseAndReadsEmptyBefore) {
  const EntryStore fresh;
  EXPECT_TRUE(fresh.at(10000).empty());
  EXPECT_THROW(fresh.at(10001), IndexOutOfRange);

  EntryStore store;
  store.clearFrom(1);  // nothing to clear yet
  EXPECT_THROW(store.edit(-1), IndexOutOfRange);
  const std::uint64_t before = store.revision();
  store.edit(7).EntryText = "seven";
  store.edit(0).EntryText = "zero";
  EXPECT_GT(store.revision(), before);  // the revision tells a changed store
  store.clearFrom(1);
  EXPECT_TRUE(store.at(7).empty());
  EXPECT_EQ(store.at(0).EntryText, "zero");
}

}  // namespace
}  // namespace obrel
