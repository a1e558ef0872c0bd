// The edited document: unsaved work as the store's revision tells it, and New.
#include "document/document.h"

#include <gtest/gtest.h>

namespace obrel {
namespace {

TEST(Document, UnsavedWorkFollowsTheStoreFromTheLastSave) {
  Document document;
  EXPECT_FALSE(document.holdsUnsavedWork());  // a new document is saved as begun
  document.store.edit(1).EntryText = "one";
  EXPECT_TRUE(document.holdsUnsavedWork());
  document.markSaved();
  EXPECT_FALSE(document.holdsUnsavedWork());
  // A recovered document is unsaved whatever its store, until it is saved.
  document.markUnsaved();
  EXPECT_TRUE(document.holdsUnsavedWork());
  document.markSaved();
  EXPECT_FALSE(document.holdsUnsavedWork());
}

TEST(Document, NewKeepsSlot0AndForgetsEverythingElse) {
  Document document;
  document.store.edit(0).EntryText = "zero";
  document.store.edit(10000).EntryText = "last";
  document.CurrentFile = "a.srt";
  document.encoding = TextEncoding::Utf16BE;
  document.fileIdentity = FileIdentity{1, 2, 3, 4};
  document.partialLoad = true;
  document.history.record({UndoStep::Kind::Clear, 1, Entry{}, {}});
  document.startNew();
  EXPECT_EQ(document.store.at(0).EntryText, "zero");
  EXPECT_TRUE(document.store.at(10000).empty());
  EXPECT_EQ(document.CurrentFile, "");
  EXPECT_EQ(document.encoding, TextEncoding::Utf8);
  EXPECT_FALSE(document.fileIdentity);
  EXPECT_FALSE(document.partialLoad);
  EXPECT_FALSE(document.history.canUndo());
  EXPECT_FALSE(document.holdsUnsavedWork());
}

}  // namespace
}  // namespace obrel
