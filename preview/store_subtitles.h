#pragma once
// What the player draws over the picture for a store: the entries on screen at a position,
// their tags read, through an index that follows the store's revision.
#include <cstdint>
#include <vector>

#include "document/entry_store.h"
#include "platform/media_player.h"
#include "preview/screen_index.h"

namespace obrel {

class StoreSubtitles {
 public:
  // store must outlive this.
  explicit StoreSubtitles(const EntryStore& store) : store_(store) {}

  // The blocks to draw at position (milliseconds), lowest entry first; the index is rebuilt
  // first when the store changed since the last call.
  Subtitles at(std::int64_t position);

 private:
  const EntryStore& store_;
  ScreenIndex index_;
  std::vector<int> slots_;  // kept to spare an allocation at every frame
};

}  // namespace obrel
