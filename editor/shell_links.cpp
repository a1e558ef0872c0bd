// The main window's ways to the rest of the program: the Help, About and entry list windows
// and the web link at its bottom right.
#include "editor/form2.h"
#include "platform/internet_shortcut.h"

namespace obrel {

void Form2::ObrelHelp_Click() { shell_.showHelp(); }

void Form2::About_Click() { shell_.showAbout(); }

void Form2::EntryList_Click() { shell_.showEntryList(); }

// "Like us on Facebook" and the logo beside it open the same shortcut.
void Form2::Label24_Click() {
  openWebLink(services_.files, services_.browser,
              services_.programFolder + "/Web Links/Facebook.url");
}

void Form2::Image3_Click() { Label24_Click(); }

}  // namespace obrel
