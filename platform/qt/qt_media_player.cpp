#include "platform/qt/qt_media_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPainter>
#include <QPolygon>
#include <QSlider>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "platform/qt/qt_subtitle_painter.h"

namespace obrel {

namespace {

QString clock(qint64 ms) {
  const qint64 seconds = std::max<qint64>(ms, 0) / 1000;
  return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Play and pause drawn light, for the dark transport row; the style's own icons are dark.
QIcon transportIcon(bool playing) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter painter(&pm);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(225, 225, 225));
  if (playing) {
    painter.drawRect(3, 2, 4, 12);
    painter.drawRect(9, 2, 4, 12);
  } else {
    painter.drawPolygon(QPolygon({QPoint(4, 2), QPoint(14, 8), QPoint(4, 14)}));
  }
  return QIcon(pm);
}

// Where a video of the given size shows in an area: at its own size when it fits, else
// scaled down keeping its aspect ratio; centred. An unknown (empty) size fills the area.
QRect videoPlace(QSize video, QSize area) {
  if (video.isEmpty()) return QRect(QPoint(0, 0), area);
  QSize shown = video;
  if (shown.width() > area.width() || shown.height() > area.height()) {
    shown.scale(area, Qt::KeepAspectRatio);
  }
  return QRect(QPoint((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2),
               shown);
}

// The picture: each frame the player shows, painted with the subtitles for its position.
class FrameView : public QWidget {
 public:
  FrameView(QtMediaPlayer& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("video"));
    setAccessibleName(tr("Video"));
    // Every pixel is painted here, the black around a smaller frame too.
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QVideoFrame frame = owner_.frame();
    if (!frame.isValid()) {
      painter.fillRect(rect(), Qt::black);
      return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, frame.size() != size());
    // The player's own subtitle track is off; should a backend still put text on a frame,
    // only ours is drawn.
    frame.paint(&painter, rect(),
                {Qt::black, Qt::KeepAspectRatio, QVideoFrame::PaintOptions::DontDrawSubtitles});
    subtitles_.paint(painter, owner_.subtitles(), size());
  }

 private:
  QtMediaPlayer& owner_;
  SubtitlePainter subtitles_;
};

// The video's area: the picture at its own size, centred, or scaled down keeping its aspect
// ratio when it is larger than the area; the area fills until a frame tells the size.
class VideoScreen : public QWidget {
 public:
  VideoScreen(QtMediaPlayer& owner, QWidget* parent)
      : QWidget(parent), video_(new FrameView(owner, this)) {
    setObjectName(QStringLiteral("screen"));
  }
  FrameView* video() const { return video_; }
  // Repaints the picture, placing it anew when the frame's size changed.
  void showFrame(QSize size) {
    if (size.isValid() && size != native_) {
      native_ = size;
      place();
    }
    video_->update();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    place();
  }

 private:
  void place() { video_->setGeometry(videoPlace(native_, size())); }

  FrameView* video_;
  QSize native_;
};

// Video on top, the transport row below it.
class PlayerView : public QWidget {
 public:
  PlayerView(QtMediaPlayer& owner, QWidget* parent)
      : QWidget(parent), owner_(owner), player_(owner.player()) {
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 110, 110));
    setPalette(dark);

    screen_ = new VideoScreen(owner, this);
    play_ = new QToolButton(this);
    play_->setObjectName(QStringLiteral("play"));
    play_->setAutoRaise(true);
    play_->setFocusPolicy(Qt::StrongFocus);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("seek"));
    slider_->setPageStep(5000);
    slider_->setAccessibleName(tr("Video position"));
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("time"));

    auto* row = new QHBoxLayout();
    row->setContentsMargins(4, 0, 6, 2);
    row->addWidget(play_);
    row->addWidget(slider_, 1);
    row->addWidget(time_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(screen_, 1);
    column->addLayout(row);
    setFocusProxy(play_);

    // Through the port, so that the user's play, pause and seeks cancel a pending pause.
    connect(play_, &QToolButton::clicked, this, [this] {
      if (owner_.playing()) {
        owner_.pause();
      } else {
        owner_.play();
      }
    });
    // Every slider action (drag, click on the groove, keys) seeks to where it put the knob.
    connect(slider_, &QSlider::actionTriggered, this,
            [this](int) { owner_.setPosition(slider_->sliderPosition() / 1000.0); });
    connect(&player_, &QMediaPlayer::durationChanged, this, [this] { showTime(); });
    connect(&player_, &QMediaPlayer::positionChanged, this, [this] { showTime(); });
    connect(&player_, &QMediaPlayer::playbackStateChanged, this, [this] { showState(); });
    showTime();
    showState();
  }

  VideoScreen* screen() const { return screen_; }

 private:
  void showTime() {
    const qint64 duration = player_.duration();
    const qint64 position = player_.position();
    slider_->setRange(0, static_cast<int>(std::min<qint64>(duration, INT_MAX)));
    if (!slider_->isSliderDown()) {
      const QSignalBlocker quiet(slider_);
      slider_->setValue(static_cast<int>(std::min<qint64>(position, INT_MAX)));
    }
    time_->setText(clock(position) + QStringLiteral(" / ") + clock(duration));
  }
  void showState() {
    const bool playing = player_.playbackState() == QMediaPlayer::PlayingState;
    play_->setIcon(transportIcon(playing));
    // A screen reader says what a press does, as the tooltip and the icon show.
    const QString does = playing ? tr("Pause") : tr("Play");
    play_->setToolTip(does);
    play_->setAccessibleName(does);
  }

  QtMediaPlayer& owner_;
  QMediaPlayer& player_;
  VideoScreen* screen_;
  QToolButton* play_;
  QSlider* slider_;
  QLabel* time_;
};

}  // namespace

QtMediaPlayer::QtMediaPlayer() = default;

QtMediaPlayer::~QtMediaPlayer() {
  // The view may outlive us only in a window being torn down; it must not see the player.
  delete widget_.data();
  // What a stopping player sends last (a frame, a state) must not reach a player half gone.
  if (sink_) sink_->disconnect();
  if (player_) player_->disconnect();
  player_.reset();
  sink_.reset();
  audio_.reset();
}

QMediaPlayer& QtMediaPlayer::player() {
  if (!player_) {
    player_ = std::make_unique<QMediaPlayer>();
    // Without an audio device some backends crash when an output is attached.
    if (!QMediaDevices::audioOutputs().isEmpty()) {
      audio_ = std::make_unique<QAudioOutput>();
      audio_->setVolume(0.5f);
      audio_->setMuted(false);
      player_->setAudioOutput(audio_.get());
    }
    player_->setPlaybackRate(1.0);
    player_->setLoops(1);
    // The frames come here, not to a video widget: each is painted with the subtitles for
    // its own time. (Queued should a backend send them from another thread.)
    sink_ = std::make_unique<QVideoSink>();
    QObject::connect(sink_.get(), &QVideoSink::videoFrameChanged, sink_.get(),
                     [this](const QVideoFrame& frame) { showFrame(frame); });
    player_->setVideoSink(sink_.get());
    // Only our subtitles are drawn, never a subtitle stream of the video's own.
    QObject::connect(player_.get(), &QMediaPlayer::tracksChanged, player_.get(), [this] {
      if (player_->activeSubtitleTrack() != -1) player_->setActiveSubtitleTrack(-1);
    });
    // At the end of the media a pending pause will never come.
    QObject::connect(player_.get(), &QMediaPlayer::playbackStateChanged, player_.get(),
                     [this](QMediaPlayer::PlaybackState state) {
                       if (state == QMediaPlayer::StoppedState) cancelSpan();
                     });
  }
  return *player_;
}

void QtMediaPlayer::setUrl(const std::string& path) {
  url_ = path;
  cancelSpan();
  QMediaPlayer& p = player();
  if (path.empty()) {
    p.stop();
    p.setSource(QUrl());
    return;
  }
  p.setSource(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath()));
  p.setActiveSubtitleTrack(-1);
  p.play();
}

void QtMediaPlayer::setEnabled(bool on) {
  enabled_ = on;
  if (widget_) widget_->setEnabled(on);
}

double QtMediaPlayer::position() const {
  return player_ ? static_cast<double>(player_->position()) / 1000.0 : 0.0;
}

void QtMediaPlayer::setPosition(double seconds) {
  cancelSpan();
  // Seeking works even while the backend reports the media as not seekable; Qt keeps the
  // position inside the media.
  player().setPosition(static_cast<qint64>(std::llround(seconds * 1000.0)));
}

void QtMediaPlayer::play() {
  cancelSpan();
  player().play();
}

void QtMediaPlayer::pause() {
  cancelSpan();
  player().pause();
}

bool QtMediaPlayer::playing() const {
  return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}

void QtMediaPlayer::playSpan(std::int64_t from, std::int64_t to) {
  QMediaPlayer& p = player();
  cancelSpan();
  p.setPosition(from);
  if (to <= from) {
    p.pause();
    return;
  }
  pauseAt_ = to;
  spanStarted_ = false;
  p.play();
}

void QtMediaPlayer::cancelSpan() {
  pauseAt_.reset();
  ++moves_;
}

void QtMediaPlayer::setSubtitleSource(SubtitleSource source) {
  source_ = std::move(source);
  askSource();
}

void QtMediaPlayer::refreshSubtitles() { askSource(); }

void QtMediaPlayer::setSubtitlesShown(bool on) {
  shown_ = on;
  askSource();
}

void QtMediaPlayer::showFrame(const QVideoFrame& frame) {
  frame_ = frame;
  if (!frame.isValid()) {
    framePosition_ = -1;
  } else if (frame.startTime() >= 0) {
    framePosition_ = frame.startTime() / 1000;
  } else {  // a backend that does not time its frames: the player's clock is next best
    framePosition_ = player_ ? player_->position() : 0;
  }
  if (pauseAt_ && framePosition_ >= 0) {
    const std::int64_t end = frame.startTime() >= 0 && frame.endTime() > frame.startTime()
                                 ? frame.endTime() / 1000
                                 : framePosition_;
    if (framePosition_ < *pauseAt_) spanStarted_ = true;
    // A paused player still shows the frame after the last one played, so the pause is
    // asked for at the frame that reaches the end: the picture stops at the first frame at
    // or after it.
    if (spanStarted_ && end >= *pauseAt_) {
      pauseAt_.reset();
      // Not from inside the frame's delivery: a pause there leaves this Qt's pipeline stuck
      // at the next play. Dropped when the user moved the player in between.
      QMetaObject::invokeMethod(
          player_.get(),
          [this, moves = moves_] {
            if (moves == moves_) player_->pause();
          },
          Qt::QueuedConnection);
    }
  }
  askSource();
  if (screen_) static_cast<VideoScreen*>(screen_.data())->showFrame(frame.size());
}

void QtMediaPlayer::askSource() {
  Subtitles now;
  if (shown_ && source_ && frame_.isValid()) now = source_(framePosition_);
  if (now == subtitles_) return;
  subtitles_ = std::move(now);
  repaint();
}

void QtMediaPlayer::repaint() {
  if (screen_) static_cast<VideoScreen*>(screen_.data())->video()->update();
}

QWidget* QtMediaPlayer::createWidget(QWidget* parent) {
  auto* view = new PlayerView(*this, parent);
  view->setEnabled(enabled_);
  widget_ = view;
  screen_ = view->screen();
  return view;
}

}  // namespace obrel
