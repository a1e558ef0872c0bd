#pragma once
// The embedded media player of the video panel.
#include <string>

namespace obrel {

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
  // the start or after the end.
  virtual double position() const = 0;
  virtual void setPosition(double seconds) = 0;
};

}  // namespace obrel
