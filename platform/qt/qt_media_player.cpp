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
#include <QVideoSink>
#include <QVideoWidget>
#include <algorithm>
#include <climits>
#include <cmath>

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

// The video's area: the video at its own size, centred, or scaled down keeping its aspect
// ratio when it is larger than the area; the area fills until a frame tells the size.
class VideoScreen : public QWidget {
 public:
  explicit VideoScreen(QWidget* parent) : QWidget(parent), video_(new QVideoWidget(this)) {
    setObjectName(QStringLiteral("screen"));
    video_->setObjectName(QStringLiteral("video"));
    QVideoSink* sink = video_->videoSink();
    // Queued: Qt 6.4 signals the change with the sink's lock held, so reading the size
    // there would wait for ever.
    connect(
        sink, &QVideoSink::videoSizeChanged, this,
        [this, sink] {
          native_ = sink->videoSize();
          place();
        },
        Qt::QueuedConnection);
  }
  QVideoWidget* video() const { return video_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    place();
  }

 private:
  void place() { video_->setGeometry(videoPlace(native_, size())); }

  QVideoWidget* video_;
  QSize native_;
};

// Video on top, the transport row below it.
class PlayerView : public QWidget {
 public:
  PlayerView(QMediaPlayer& player, QWidget* parent) : QWidget(parent), player_(player) {
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 110, 110));
    setPalette(dark);

    screen_ = new VideoScreen(this);
    screen_->video()->setAccessibleName(tr("Video"));
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

    player_.setVideoOutput(screen_->video());
    connect(play_, &QToolButton::clicked, this, [this] {
      if (player_.playbackState() == QMediaPlayer::PlayingState) {
        player_.pause();
      } else {
        player_.play();
      }
    });
    // Every slider action (drag, click on the groove, keys) seeks to where it put the knob.
    connect(slider_, &QSlider::actionTriggered, this,
            [this](int) { player_.setPosition(slider_->sliderPosition()); });
    connect(&player_, &QMediaPlayer::durationChanged, this, [this] { showTime(); });
    connect(&player_, &QMediaPlayer::positionChanged, this, [this] { showTime(); });
    connect(&player_, &QMediaPlayer::playbackStateChanged, this, [this] { showState(); });
    showTime();
    showState();
  }

  ~PlayerView() override { player_.setVideoOutput(nullptr); }

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
  player_.reset();
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
  }
  return *player_;
}

void QtMediaPlayer::setUrl(const std::string& path) {
  url_ = path;
  QMediaPlayer& p = player();
  if (path.empty()) {
    p.stop();
    p.setSource(QUrl());
    return;
  }
  p.setSource(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath()));
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
  // Seeking works even while the backend reports the media as not seekable; Qt keeps the
  // position inside the media.
  player().setPosition(static_cast<qint64>(std::llround(seconds * 1000.0)));
}

QWidget* QtMediaPlayer::createWidget(QWidget* parent) {
  auto* view = new PlayerView(player(), parent);
  view->setEnabled(enabled_);
  widget_ = view;
  return view;
}

}  // namespace obrel
