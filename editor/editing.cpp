// Attaches the handlers of the field rules, the options, the commit and the Edit commands.
#include "editor/form2.h"

namespace obrel {

void Form2::attachEditing() {
  Text1.onKeyPress = [this](int& code) { Text1_KeyPress(code); };
  Text2.onKeyPress = [this](int& code) { Text2_KeyPress(code); };
  Text3.onKeyPress = [this](int& code) { Text3_KeyPress(code); };
  Text4.onKeyPress = [this](int& code) { Text4_KeyPress(code); };
  Text5.onKeyPress = [this](int& code) { Text5_KeyPress(code); };
  Text6.onKeyPress = [this](int& code) { Text6_KeyPress(code); };
  Text7.onKeyPress = [this](int& code) { Text7_KeyPress(code); };
  Text8.onKeyPress = [this](int& code) { Text8_KeyPress(code); };
  Text9.onChange = [this] { Text9_Change(); };
  Command3.onClick = [this] { Command3_Click(); };
  EntryCheck.onClick = [this] { EntryCheck_Click(); };
  FBlock.onClick = [this] { FBlock_Click(); };
  InsertNewEntry.onClick = [this] { InsertNewEntry_Click(); };
  ClearEntry.onClick = [this] { ClearEntry_Click(); };
  DeleteEntry.onClick = [this] { DeleteEntry_Click(); };
}

}  // namespace obrel
