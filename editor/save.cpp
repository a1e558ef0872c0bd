// Saving the document: WriteSrt, File > Save and File > Save As...
#include <string>

#include "document/srt_writer.h"
#include "editor/form2.h"
#include "platform/failure.h"
#include "platform/file_dialogs.h"
#include "platform/prompts.h"

namespace obrel {

namespace {

// Tells the user that nothing was saved, with the path as chosen and the system's reason.
void reportSaveFailure(Prompts& prompts, const std::string& path, const Failure& failure) {
  prompts.messageBox("The file could not be saved.\r\n" + path + "\r\n" + failure.what(),
                     "Obrel Dizivud", Icon::Critical, Buttons::OK);
}

}  // namespace

void Form2::WriteSrt() {
  SavedIndex = CurrentIndex;
  // The writer counts on its own rather than with CurrentIndex: the next commit lands at
  // CurrentIndex, so a write that stops part-way must not leave it on another slot.
  const WrittenFile written =
      writeSrt(services_.files, document_.CurrentFile, document_.store, document_.encoding);
  // The file now holds this encoding, as reading it back would find.
  document_.encoding = written.encoding;
  document_.fileIdentity = written.identity;
  document_.markSaved();
}

void Form2::Save_Click() {
  if (document_.CurrentFile.empty() || document_.partialLoad) {
    SaveAs_Click();
    return;
  }
  saveSucceeded = false;
  // Another program's change to the file since it was read or written is not lost unasked.
  const std::optional<FileIdentity> now = services_.files.identity(document_.CurrentFile);
  const std::optional<FileIdentity>& then = document_.fileIdentity;
  if (now && then && *now != *then &&
      services_.prompts.messageBox(
          "This file has been changed by another program since it was opened or saved.\r\n"
          "Do you want to replace it with this document?",
          "Obrel Dizivud", Icon::Exclamation, Buttons::YesNo) != Answer::Yes) {
    return;
  }
  try {
    WriteSrt();
    saveSucceeded = true;
  } catch (const Failure& failure) {
    reportSaveFailure(services_.prompts, document_.CurrentFile, failure);
  }
}

void Form2::SaveAs_Click() {
  saveSucceeded = false;
  const std::string path =
      services_.dialogs.show("CommonDialog1", DialogKind::Save, "Save As",
                             "Subtitle Files (*.srt)|*.srt|All Files (*.*)|*.*");
  if (path.empty()) return;  // cancelled: the document stays bound to its file
  const std::string previous = document_.CurrentFile;
  document_.CurrentFile = path;
  try {
    WriteSrt();
  } catch (const Failure& failure) {
    document_.CurrentFile = previous;
    reportSaveFailure(services_.prompts, path, failure);
    return;
  }
  saveSucceeded = true;
  document_.partialLoad = false;
  Save.setEnabled(true);
}

}  // namespace obrel
