#pragma once
// The embedded media player: a QMediaPlayer that plays a file as soon as it is set, and its
// view (video, play/pause, position slider, time) made for the window that shows it. The
// video keeps its own size where it fits, and is scaled down to the view where it does not.
// The view paints each frame itself, with the subtitles for that frame's position over it.
#include <QPointer>
#include <QVideoFrame>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/media_player.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoSink;
class QWidget;

namespace obrel {

class QtMediaPlayer : public MediaPlayer {
 public:
  QtMediaPlayer();
  ~QtMediaPlayer() override;
  QtMediaPlayer(const QtMediaPlayer&) = delete;
  QtMediaPlayer& operator=(const QtMediaPlayer&) = delete;

  std::string url() const override { return url_; }
  void setUrl(const std::string& path) override;
  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override;
  double position() const override;
  void setPosition(double seconds) override;

  void play() override;
  void pause() override;
  bool playing() const override;
  void playSpan(std::int64_t from, std::int64_t to) override;

  void setSubtitleSource(SubtitleSource source) override;
  void refreshSubtitles() override;
  bool subtitlesShown() const override { return shown_; }
  void setSubtitlesShown(bool on) override;
  Subtitles subtitles() const override { return subtitles_; }

  // The player's view inside parent; it lives as long as its window. Its controls are
  // greyed until setEnabled(true).
  QWidget* createWidget(QWidget* parent);
  // The Qt player, created on first use.
  QMediaPlayer& player();
  // The frame shown now (invalid before the first) and its position in milliseconds (-1
  // before the first).
  const QVideoFrame& frame() const { return frame_; }
  std::int64_t framePosition() const { return framePosition_; }

 private:
  // A new frame from the player: it is shown with the subtitles for its position, and it
  // may be where a playSpan pauses.
  void showFrame(const QVideoFrame& frame);
  // Asks the source for the frame shown and repaints when the answer differs.
  void askSource();
  void repaint();
  // Drops a pending pause of playSpan: the user moved the player.
  void cancelSpan();

  std::unique_ptr<QAudioOutput> audio_;
  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<QVideoSink> sink_;
  QPointer<QWidget> widget_;
  QPointer<QWidget> screen_;  // where the frames are painted
  std::string url_;
  bool enabled_ = false;

  QVideoFrame frame_;
  std::int64_t framePosition_ = -1;
  SubtitleSource source_;
  bool shown_ = true;
  Subtitles subtitles_;

  // A playSpan's pause: the end, and whether a frame before it has come since the seek (a
  // frame already on its way from before the seek must not stop it); moves_ counts the
  // user's moves, so that a pause asked for before one of them is dropped.
  std::optional<std::int64_t> pauseAt_;
  bool spanStarted_ = false;
  std::uint64_t moves_ = 0;
};

}  // namespace obrel
