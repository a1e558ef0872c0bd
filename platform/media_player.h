#pragma once
// The embedded media player of the video panel, and the subtitles it draws over the picture.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/styled_runs.h"

namespace obrel {

// What is drawn over the picture at one moment: one block of lines per entry on screen, the
// lowest entry first. Each block is centred at the bottom of the picture, the first one
// lowest and each next one directly above the one before.
using Subtitles = std::vector<std::vector<StyledLine>>;

// Gives what to draw over a frame, asked with its position (milliseconds from the start of
// the media, a finer position rounded down).
using SubtitleSource = std::function<Subtitles(std::int64_t position)>;

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // The media path; setting it loads the media and, as autostart is on, plays it.
  virtual std::string url() const = 0;
  virtual void setUrl(const std::string& path) = 0;
  // Whether the player's own controls respond.
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
  // Playback position in seconds; the player decides what it does with a position before
  // the start or after the end. Setting it is a seek by the user: it cancels a pending
  // pause of playSpan.
  virtual double position() const = 0;
  virtual void setPosition(double seconds) = 0;

  // Playing and pausing as the user does it; each cancels a pending pause of playSpan.
  virtual void play() = 0;
  virtual void pause() = 0;
  virtual bool playing() const = 0;
  // Goes to from, plays, and pauses at the first frame at or after to (milliseconds), unless
  // a seek, play or pause comes first; called again, it starts again from from. A span that
  // does not reach past from only goes there, paused.
  virtual void playSpan(std::int64_t from, std::int64_t to) = 0;

  // Where the subtitles come from. The player asks source with the position of each frame
  // it shows, so that the text changes with the picture, and whenever refreshSubtitles is
  // called; an empty source draws nothing.
  virtual void setSubtitleSource(SubtitleSource source) = 0;
  // What source gives has changed (the entries were edited): asks it again for the frame
  // shown now and redraws at once, also while paused.
  virtual void refreshSubtitles() = 0;
  // Whether subtitles are drawn at all; on at first.
  virtual bool subtitlesShown() const = 0;
  virtual void setSubtitlesShown(bool on) = 0;
  // What is drawn over the picture now: nothing while they are hidden, without a source, or
  // with no media.
  virtual Subtitles subtitles() const = 0;
};

}  // namespace obrel
