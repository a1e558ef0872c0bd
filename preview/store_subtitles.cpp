#include "preview/store_subtitles.h"

#include "preview/styled_text.h"

namespace obrel {

Subtitles StoreSubtitles::at(std::int64_t position) {
  index_.refresh(store_);
  index_.at(position, slots_);
  Subtitles shown;
  shown.reserve(slots_.size());
  for (int k : slots_) shown.push_back(readStyledText(store_.at(k).EntryText));
  return shown;
}

}  // namespace obrel
