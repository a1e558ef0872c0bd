#pragma once
// The main window, loaded, over the stand-ins: the host of tests, fuzz targets and
// benchmarks that drive Form2 directly.
#include <string>
#include <utility>

#include "editor/form2.h"
#include "platform/file_system.h"
#include "testing/fakes.h"
#include "testing/faulty_file_system.h"
#include "testing/memory_file_system.h"

namespace obrel::fake {

// On files in memory, its program folder "/program".
struct TestWindow {
  QueuedPrompts prompts;
  QueuedDialogs dialogs;
  ScriptedPlayer player;
  RecordingBrowser browser;
  MemoryFileSystem files;
  FaultyFileSystem faulty{files};  // what the window reads and writes through
  RecordingShell shell;
  Form2 form{Services{prompts, dialogs, player, browser, faulty, "/program"}, shell};
  TestWindow() { form.Form_Load(); }
};

// On the real disk, its program folder a folder of the test's.
struct DiskWindow {
  explicit DiskWindow(std::string programFolder)
      : form{Services{prompts, dialogs, player, browser, files, std::move(programFolder)}, shell} {
    form.Form_Load();
  }
  QueuedPrompts prompts;
  QueuedDialogs dialogs;
  ScriptedPlayer player;
  RecordingBrowser browser;
  RealFileSystem files;
  RecordingShell shell;
  Form2 form;
};

}  // namespace obrel::fake
