#pragma once
// The embedded media player: a QMediaPlayer that plays a file as soon as it is set, and its
// view (video, play/pause, position slider, time) made for the window that shows it. The
// video keeps its own size where it fits, and is scaled down to the view where it does not.
#include <QPointer>
#include <memory>
#include <string>

#include "platform/media_player.h"

class QAudioOutput;
class QMediaPlayer;
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

  // The player's view inside parent; it lives as long as its window. Its controls are
  // greyed until setEnabled(true).
  QWidget* createWidget(QWidget* parent);
  // The Qt player, created on first use.
  QMediaPlayer& player();

 private:
  std::unique_ptr<QAudioOutput> audio_;
  std::unique_ptr<QMediaPlayer> player_;
  QPointer<QWidget> widget_;
  std::string url_;
  bool enabled_ = false;
};

}  // namespace obrel
