// The video panel on the real player: a short video made at build time is opened through
// "Open...", plays offscreen without an audio device at its own size, seeks, and its
// position is captured into the time fields by the panel's buttons; a video larger than the
// player is scaled down to it. Entries drawn over the picture follow it as it plays, is
// paused and sought; a span played pauses at its end. The window hands the player its own
// entries, redraws them when it stores a change, and has them turned off and one played from
// its menus.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QSet>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/entry_times.h"
#include "editor/form2.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_media_player.h"
#include "preview/capture.h"
#include "preview/screen_index.h"
#include "preview/store_subtitles.h"
#include "preview/styled_text.h"
#include "testing/test_window.h"
#include "tests/qt/single_view_host.h"

#ifndef OBREL_TEST_VIDEO
#define OBREL_TEST_VIDEO ""
#define OBREL_TEST_WIDE_VIDEO ""
#endif

using namespace obrel;

namespace {

// The main window on the real player with stand-in dialogs, so "Open..." returns a queued
// path instead of showing a file dialog.
struct Panel {
  QtMediaPlayer player;
  fake::QueuedPrompts prompts;
  fake::QueuedDialogs dialogs;
  fake::RecordingBrowser browser;
  fake::RecordingShell shell;
  fake::MemoryFileSystem files;
  Form2 form{Services{prompts, dialogs, player, browser, files, "/program"}, shell};
  qttest::SingleViewHost host{&player};
  std::unique_ptr<QtForm> view;

  Panel() {
    form.Form_Load();
    view = std::make_unique<QtForm>(form, host);
    host.view = view.get();
    view->window()->show();
  }
  ~Panel() { view.reset(); }

  void click(const char* button) { QTest::mouseClick(view->widget(button), Qt::LeftButton); }
  // A user's event on the window, as the program runs it.
  void event(const std::function<void()>& handler) { host.run("test", handler); }
  QString shown(const char* name) { return qobject_cast<QLineEdit*>(view->widget(name))->text(); }
};

bool near(double seconds, double target) { return std::abs(seconds - target) < 0.3; }

// Entries as the main window hands them to the player: those on screen at a position, read
// from a store through the screen index.
struct Entries {
  EntryStore store;
  ScreenIndex index;
  StoreSubtitles subtitles{store};

  void put(int k, std::int64_t start, std::int64_t end, const std::string& text) {
    Entry& e = store.edit(k);
    e.EntryTiming = "x";
    writeTimes(e, start, end, 1);
    e.EntryText = text;
  }
  SubtitleSource source() {
    return [this](std::int64_t position) { return subtitles.at(position); };
  }
  // What the player should draw at a position, as text.
  std::string at(std::int64_t position) {
    index.refresh(store);
    return screenText(store, index.at(position));
  }
};

// One paint of the picture: the player's clock and the frame's time as it was painted, and
// the text drawn over it.
struct Painted {
  std::int64_t clock;
  std::int64_t frame;
  std::string text;
};

// Records every paint of the player's picture.
class PaintLog : public QObject {
 public:
  PaintLog(QtMediaPlayer& player, QWidget* picture) : player_(player) {
    picture->installEventFilter(this);
  }
  std::vector<Painted> paints;
  // The paints since the one at from.
  std::vector<Painted> since(std::size_t from) const {
    return {paints.begin() + static_cast<std::ptrdiff_t>(from), paints.end()};
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      paints.push_back(
          {player_.player().position(), player_.framePosition(), screenText(player_.subtitles())});
    }
    return false;
  }

 private:
  QtMediaPlayer& player_;
};

// Where two pictures of one size differ, and the mean row of the differing pixels that are
// yellow or white in the first (each channel within 40), -1 for none.
struct Changes {
  QRect area;
  double yellowRow = -1;
  double whiteRow = -1;
};
Changes changes(const QImage& with, const QImage& without) {
  Changes out;
  double rows[2] = {0, 0};
  int counts[2] = {0, 0};
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      if (with.pixel(x, y) == without.pixel(x, y)) continue;
      out.area |= QRect(x, y, 1, 1);
      const QColor c = with.pixelColor(x, y);
      if (c.red() < 215 || c.green() < 215) continue;
      const int white = c.blue() > 215 ? 1 : c.blue() < 40 ? 0 : -1;
      if (white < 0) continue;
      rows[white] += y;
      ++counts[white];
    }
  }
  // A few pixels are a colour by chance at the letters' edges; a line of text has many.
  if (counts[0] > 5) out.yellowRow = rows[0] / counts[0];
  if (counts[1] > 5) out.whiteRow = rows[1] / counts[1];
  return out;
}

}  // namespace

class VideoQtTest : public QObject {
  Q_OBJECT

 private:
  // A machine without the video or its decoder skips; where the build says the video must
  // play (CI), that is a failure.
  static bool required() { return qEnvironmentVariableIsSet("OBREL_REQUIRE_VIDEO"); }

 private slots:
  void aGeneratedVideoPlaysSeeksAndIsCaptured() {
    const QString video = QStringLiteral(OBREL_TEST_VIDEO);
    Panel panel;
    if (!openAndPlay(panel, video)) return;
    QCOMPARE(panel.form.VideoPath, video.toStdString());
    QCOMPARE(panel.form.Text12.text(), video.toStdString());
    QVERIFY(panel.view->widget("WMP")->isEnabled());
    for (const char* b : {"Command6", "Command7", "Command8", "Command9"}) {
      QVERIFY2(panel.view->widget(b)->isEnabled(), b);
    }
    QMediaPlayer& media = panel.player.player();
    QCOMPARE(media.playbackState(), QMediaPlayer::PlayingState);
    QVERIFY(media.duration() > 19000 && media.duration() < 21000);
    // It fits the player, so it keeps its own size.
    shownAt(panel, QSize(160, 120));
    if (QTest::currentTestFailed()) return;

    captureAndStep(panel);
  }

  void aVideoLargerThanThePlayerIsScaledDownKeepingItsShape() {
    Panel panel;
    if (!openAndPlay(panel, QStringLiteral(OBREL_TEST_WIDE_VIDEO))) return;
    auto* video = panel.view->widget("WMP")->findChild<QWidget*>(QStringLiteral("video"));
    QVERIFY(video);
    const int width = video->parentWidget()->width();
    // 1280x720 across the whole width, 16:9 kept.
    shownAt(panel, QSize(width, width * 9 / 16));
  }

  void theEntriesOnScreenAreDrawnOverTheFrameShown() {
    Panel panel;
    if (!openAndPlay(panel, QStringLiteral(OBREL_TEST_VIDEO))) return;
    QtMediaPlayer& player = panel.player;
    Entries entries;
    entries.put(1, 400, 1200, "<i>First</i> line\r\nsecond line");
    entries.put(2, 1200, 2000, "<font color=yellow>Second</font>");
    entries.put(3, 1600, 2400, "<b>Third</b>");
    player.setSubtitleSource(entries.source());
    QWidget* picture = pictureOf(panel);
    PaintLog log(player, picture);

    // Played from the start: every paint shows what is on screen at the player's clock,
    // give or take 100 ms, and each entry and the overlap of two show.
    player.setPosition(0);
    QTRY_VERIFY_WITH_TIMEOUT(player.framePosition() >= 2600, 10000);
    QStringList wrong;
    QSet<QString> seen;
    for (const Painted& p : log.paints) {
      seen << QString::fromStdString(p.text);
      if (p.text != entries.at(p.clock - 100) && p.text != entries.at(p.clock + 100)) {
        wrong << QStringLiteral("%1 ms: %2").arg(p.clock).arg(QString::fromStdString(p.text));
      }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    for (const char* text : {"First line / second line", "Second", "Third / Second", "Third"}) {
      QVERIFY2(seen.contains(QString::fromUtf8(text)), text);
    }

    // Paused and sought, the text follows the picture at once.
    player.pause();
    QTRY_VERIFY(!player.playing());
    player.setPosition(1.0);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(player.framePosition() - 1000) <= 100, 5000);
    QCOMPARE(screenText(player.subtitles()), "First line / second line");
    player.setPosition(1.7);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(player.framePosition() - 1700) <= 100, 5000);
    QCOMPARE(screenText(player.subtitles()), "Third / Second");

    // Drawn over the picture's lower part alone, the lower entry (yellow) below the higher.
    const QImage with = picture->grab().toImage();
    player.setSubtitlesShown(false);
    QVERIFY(player.subtitles().empty());
    const Changes drawn = changes(with, picture->grab().toImage());
    QVERIFY2(drawn.whiteRow >= 0 && drawn.yellowRow > drawn.whiteRow,
             qPrintable(QStringLiteral("%1 %2").arg(drawn.whiteRow).arg(drawn.yellowRow)));
    QVERIFY2(drawn.area.top() > with.height() / 2, qPrintable(QString::number(drawn.area.top())));

    // The entries change while paused: drawn at once.
    player.setSubtitlesShown(true);
    entries.put(3, 1600, 2400, "Changed");
    player.refreshSubtitles();
    QCOMPARE(screenText(player.subtitles()), "Changed / Second");
    QTRY_COMPARE(log.paints.back().text, std::string("Changed / Second"));
  }

  void aSpanPlaysFromItsStartAndPausesAtItsEnd() {
    Panel panel;
    if (!openAndPlay(panel, QStringLiteral(OBREL_TEST_VIDEO))) return;
    QtMediaPlayer& player = panel.player;
    PaintLog log(player, pictureOf(panel));

    std::size_t mark = log.paints.size();
    player.playSpan(1200, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!player.playing(), 5000);
    pausedAt(player, 2000);
    QVERIFY(shownFrom(log.since(mark), 1200));

    // Played again, also while it plays, it starts again from its start. (A loaded machine
    // may reach the end before the first look: the start is then checked from a pause.)
    player.playSpan(400, 1200);
    QTRY_VERIFY_WITH_TIMEOUT(player.framePosition() >= 800, 5000);
    mark = log.paints.size();
    player.playSpan(400, 1200);
    QTRY_VERIFY_WITH_TIMEOUT(!player.playing(), 10000);
    pausedAt(player, 1200);
    QVERIFY(shownFrom(log.since(mark), 400));

    // The user's pause and play, with the player's own button, cancel the pause to come.
    auto* play = panel.view->widget("WMP")->findChild<QToolButton*>(QStringLiteral("play"));
    QVERIFY(play);
    player.playSpan(400, 1200);
    QTest::mouseClick(play, Qt::LeftButton);
    QTRY_VERIFY(!player.playing());
    QTest::mouseClick(play, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(player.framePosition() >= 1500, 5000);
    QVERIFY(player.playing());
  }

  void theWindowDrawsItsStoredEntriesAndPlaysOne() {
    Panel panel;
    panel.files.files()["/three.srt"] =
        "1\r\n00:00:00,400 --> 00:00:01,200\r\n<i>One</i>\r\n\r\n"
        "2\r\n00:00:01,200 --> 00:00:02,000\r\nTwo\r\n\r\n"
        "3\r\n00:00:01,600 --> 00:00:02,400\r\n<b>Three</b>\r\n\r\n";
    panel.event([&] { panel.form.openSubtitleFile("/three.srt"); });
    if (!openAndPlay(panel, QStringLiteral(OBREL_TEST_VIDEO))) return;
    QtMediaPlayer& player = panel.player;
    PaintLog log(player, pictureOf(panel));

    // Paused and sought as with the slider: the text of the frame shown, 100 ms either way.
    player.pause();
    QTRY_VERIFY(!player.playing());
    for (const auto& [at, text] :
         {std::pair<std::int64_t, const char*>{800, "One"}, {1400, "Two"}, {1800, "Three / Two"}}) {
      player.setPosition(static_cast<double>(at) / 1000);
      QTRY_VERIFY_WITH_TIMEOUT(std::abs(player.framePosition() - at) <= 100, 5000);
      QCOMPARE(screenText(player.subtitles()), text);
    }

    // A change stored while paused is drawn as the event ends, not at the next frame.
    panel.event([&] {
      panel.form.setIndexBox("3");
      panel.form.Text9.setText("Changed");
      panel.form.Command3_Click();
    });
    QCOMPARE(screenText(player.subtitles()), "Changed / Two");
    QTRY_COMPARE(log.paints.back().text, std::string("Changed / Two"));

    // View > Subtitles on Video, checked at the start, turns the drawing off and on.
    QAction* shown = panel.view->action("SubtitlesOnVideo");
    QVERIFY(shown->isChecked());
    shown->trigger();
    QVERIFY(!shown->isChecked());
    QVERIFY(player.subtitles().empty());
    shown->trigger();
    QCOMPARE(screenText(player.subtitles()), "Changed / Two");

    // F9 plays the current entry from its start and pauses at its end.
    panel.event([&] { panel.form.setIndexBox("2"); });
    QVERIFY(panel.view->action("PlayEntry")->isEnabled());
    const std::size_t mark = log.paints.size();
    QTest::keyClick(panel.view->window(), Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(player.playing(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!player.playing(), 5000);
    pausedAt(player, 2000);
    QVERIFY(shownFrom(log.since(mark), 1200));
    QVERIFY(panel.prompts.shown.empty());
  }

 private:
  static QWidget* pictureOf(Panel& panel) {
    return panel.view->widget("WMP")->findChild<QWidget*>(QStringLiteral("video"));
  }

  // Paused within a frame (40 ms) or two of end, and it stays. The pause is asked for at the
  // frame that reaches end; a loaded machine may pause before the next one is shown, or show
  // one more that was on its way: the picture is looked at once it has settled.
  static void pausedAt(QtMediaPlayer& player, std::int64_t end) {
    QTest::qWait(300);
    QVERIFY(!player.playing());
    const std::int64_t frame = player.framePosition();
    QVERIFY2(frame >= end - 40 && frame <= end + 80, qPrintable(QString::number(frame)));
    QVERIFY2(std::abs(player.position() * 1000 - static_cast<double>(end)) <= 80,
             qPrintable(QString::number(player.position())));
    QTest::qWait(200);
    QCOMPARE(player.framePosition(), frame);
  }

  // Whether the paints show a frame of the first 200 ms from start.
  static bool shownFrom(const std::vector<Painted>& paints, std::int64_t start) {
    for (const Painted& p : paints) {
      if (p.frame >= start && p.frame < start + 200) return true;
    }
    return false;
  }

  // Opens video through "Open..." and waits until it plays. False, with the test skipped or
  // failed, when it does not play; a video that neither plays nor fails is a failure.
  static bool openAndPlay(Panel& panel, const QString& video) {
    if (video.isEmpty() || !QFileInfo::exists(video)) {
      return cannotPlay("no test video: was ffmpeg missing when the build was configured?");
    }
    panel.dialogs.choices.push_back(video.toStdString());
    panel.click("Command5");
    QtMediaPlayer& player = panel.player;
    QMediaPlayer& media = player.player();
    const auto failed = [&media] {
      return media.mediaStatus() == QMediaPlayer::InvalidMedia ||
             media.error() != QMediaPlayer::NoError;
    };
    QElapsedTimer waited;
    waited.start();
    while (!failed() && player.position() <= 0 && waited.elapsed() < 10000) QTest::qWait(20);
    if (failed()) {
      return cannotPlay("the video does not play here (no decoder?): " +
                        media.errorString().toUtf8());
    }
    if (player.position() <= 0) {
      QTest::qFail("the video neither plays nor fails", __FILE__, __LINE__);
      return false;
    }
    return true;
  }
  static bool cannotPlay(const QByteArray& why) {
    if (required()) {
      QTest::qFail(why.constData(), __FILE__, __LINE__);
    } else {
      QTest::qSkip(why.constData(), __FILE__, __LINE__);
    }
    return false;
  }

  // The video shows at size, centred in the player's area above the transport row.
  static void shownAt(Panel& panel, QSize size) {
    auto* video = panel.view->widget("WMP")->findChild<QWidget*>(QStringLiteral("video"));
    QVERIFY(video);
    QTRY_COMPARE(video->size(), size);
    const QSize area = video->parentWidget()->size();
    QVERIFY(area.width() > 400 && area.height() > 300);
    QCOMPARE(video->pos(),
             QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2));
  }

  // Paused and sought, the position goes into the times; the step buttons move it five
  // seconds, never before the start; played on, it advances.
  static void captureAndStep(Panel& panel) {
    QtMediaPlayer& player = panel.player;
    QMediaPlayer& media = player.player();
    // The player's own pause button, then a seek as its slider makes one.
    auto* play = panel.view->widget("WMP")->findChild<QToolButton*>(QStringLiteral("play"));
    QVERIFY(play);
    QTest::mouseClick(play, Qt::LeftButton);
    QTRY_COMPARE(media.playbackState(), QMediaPlayer::PausedState);
    player.setPosition(12.7);
    QTRY_VERIFY_WITH_TIMEOUT(near(player.position(), 12.7), 5000);

    // "add to Starting Time" takes the position as it reads now.
    const CapturedTime start = captureTime(player.position());
    panel.click("Command6");
    QCOMPARE(panel.shown("Text1"), QStringLiteral("0"));
    QCOMPARE(panel.shown("Text2"), QStringLiteral("0"));
    QCOMPARE(panel.shown("Text3"), QStringLiteral("12"));
    QCOMPARE(panel.form.Text4.text(), start.millis);
    QCOMPARE(panel.shown("Text4"), QString::fromStdString(start.millis));

    // Five seconds on, then "add to Ending Time".
    panel.click("Command9");
    QTRY_VERIFY_WITH_TIMEOUT(near(player.position(), 17.7), 5000);
    const CapturedTime end = captureTime(player.position());
    panel.click("Command7");
    QCOMPARE(panel.shown("Text5"), QStringLiteral("0"));
    QCOMPARE(panel.shown("Text6"), QStringLiteral("0"));
    QCOMPARE(panel.shown("Text7"), QStringLiteral("17"));
    QCOMPARE(panel.shown("Text8"), QString::fromStdString(end.millis));
    // The start fields keep what they took.
    QCOMPARE(panel.shown("Text3"), QStringLiteral("12"));

    // Back twice, then back past the start: the player stays at the start of the media.
    panel.click("Command8");
    panel.click("Command8");
    QTRY_VERIFY_WITH_TIMEOUT(near(player.position(), 7.7), 5000);
    player.setPosition(2.5);
    QTRY_VERIFY_WITH_TIMEOUT(near(player.position(), 2.5), 5000);
    panel.click("Command8");
    QTRY_VERIFY_WITH_TIMEOUT(player.position() < 0.3, 5000);
    panel.click("Command6");
    QCOMPARE(panel.shown("Text3"), QStringLiteral("0"));

    // Played on, the position advances from there.
    QTest::mouseClick(play, Qt::LeftButton);
    QTRY_COMPARE(media.playbackState(), QMediaPlayer::PlayingState);
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0.5, 5000);
    QVERIFY(panel.prompts.shown.empty());
  }
};

QTEST_MAIN(VideoQtTest)
#include "video_qt_test.moc"
