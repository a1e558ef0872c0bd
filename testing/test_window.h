#pragma once
// The main window, loaded, over the stand-ins and files in memory, its program folder
// "/program": the host of tests, fuzz targets and benchmarks that drive Form2 directly.
#include "editor/form2.h"
#include "testing/fakes.h"
#include "testing/faulty_file_system.h"
#include "testing/memory_file_system.h"

namespace obrel::fake {

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

}  // namespace obrel::fake
