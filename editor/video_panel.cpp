// The video panel: opening a video, stepping it, taking its position into the times and
// playing the current entry.
#include <optional>

#include "document/entry_times.h"
#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_dialogs.h"
#include "platform/media_player.h"
#include "platform/prompts.h"
#include "preview/capture.h"

namespace obrel {

namespace {

constexpr double kStepSeconds = 5.0;

}  // namespace

void Form2::Command5_Click() {
  std::string path;
  try {
    path = services_.dialogs.show("CommonDialog4", DialogKind::Open, "Open Video",
                                  "Avi Files (*.avi)|*.Avi|All Files (*.*)|*.*");
  } catch (const Failure&) {
    return;  // the dialog's trap: nothing changed, nothing said
  }
  // A cancel keeps the open video; going on would hand the player an empty path.
  if (!path.empty()) openVideoFile(path);
}

void Form2::openVideoFile(const std::string& path) {
  VideoPath = path;
  for (Control* button : {&Command6, &Command7, &Command8, &Command9}) button->setEnabled(true);
  PlayEntry.setEnabled(Command6.enabled());
  WMP.setEnabled(true);
  services_.player.setEnabled(true);
  Text12.setText(VideoPath);
  // The file's type is the player's business: one it cannot play shows nothing.
  services_.player.setUrl(VideoPath);
  Text12.setVisible(true);
}

void Form2::OpenVideo_Click() { Command5_Click(); }

void Form2::Command6_Click() { CaptureTime(Text1, Text2, Text3, Text4); }

void Form2::Command7_Click() { CaptureTime(Text5, Text6, Text7, Text8); }

void Form2::Command8_Click() {
  services_.player.setPosition(services_.player.position() - kStepSeconds);
}

void Form2::Command9_Click() {
  services_.player.setPosition(services_.player.position() + kStepSeconds);
}

void Form2::PlayEntry_Click() {
  // The stored times, as the timing tools read them; the fields may hold an edit not yet
  // stored.
  const std::optional<EntryTimes> times = timesAt(document_.store, CurrentIndex);
  if (!times) {
    services_.prompts.messageBox(noTimesMessage(CurrentIndex), "Obrel Dizivud", Icon::Exclamation,
                                 Buttons::OK);
    return;
  }
  services_.player.playSpan(times->start, times->end);
}

void Form2::CaptureTime(TextBox& hours, TextBox& minutes, TextBox& seconds, TextBox& millis) {
  const CapturedTime time = captureTime(services_.player.position());
  hours.setText(time.hours);
  minutes.setText(time.minutes);
  seconds.setText(time.seconds);
  millis.setText(time.millis);
}

}  // namespace obrel
