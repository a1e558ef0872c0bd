// The entries drawn over the video: where the player takes them from, the View item that
// turns them off and on, and the redraw after any change of the store.
#include "editor/form2.h"
#include "platform/media_player.h"

namespace obrel {

Form2::~Form2() { services_.player.setSubtitleSource({}); }

void Form2::showSubtitlesOnVideo() {
  services_.player.setSubtitleSource(
      [this](std::int64_t position) { return subtitlesOnVideo_.at(position); });
  // On at each start, whatever a window before this one left.
  services_.player.setSubtitlesShown(true);
  SubtitlesOnVideo.setChecked(true);
  drawnRevision_ = document_.store.revision();
}

void Form2::SubtitlesOnVideo_Click() {
  SubtitlesOnVideo.setChecked(!SubtitlesOnVideo.checked());
  services_.player.setSubtitlesShown(SubtitlesOnVideo.checked());
}

void Form2::refresh() {
  // Here rather than in each command, so that every command that changes the store is
  // followed, those still to come as well.
  const std::uint64_t revision = document_.store.revision();
  if (revision == drawnRevision_) return;
  drawnRevision_ = revision;
  services_.player.refreshSubtitles();
}

}  // namespace obrel
