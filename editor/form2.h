#pragma once
// Form2, the main window: its controls and menus (defined in form2_definition.cpp), the
// document it owns, and its handlers, one file a subject in editor/ (form2_bindings.cpp says
// which handler answers which control).
//
// The controls by what they are:
//   Text1..Text4   start hours, minutes, seconds, milliseconds of the entry being edited
//   Text5..Text8   end hours, minutes, seconds, milliseconds
//   Text9          the entry's text             Text10   the entry index box
//   Text11         the help-text pane, under Text9, shown while Text9 is short
//   Text12         the video's path (hidden)
//   Command1 "<", Command2 ">" (previous and next entry), Command3 "OK" (store the entry),
//   Command4 "Next >>", Command5 "Open..." (a video), Command6 "add to Starting Time",
//   Command7 "add to Ending Time", Command8 "Step Backward", Command9 "Step Forward"
//   WMP the media player, on Picture1 the video panel, with Image1 the logo behind it
//   Label24 "Like us on Facebook" and Image3 its logo: the web link
//   Frame1 everything but the link, Frame2 the text area; Label1..Label10 the captions and
//   separators of the time fields.
//
// The handlers that the program, the other windows, the driver or the tests call are public;
// the rest answer their controls only, through the binding tables.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "document/store_search.h"
#include "document/text_search.h"
#include "document/timing_tools.h"
#include "editor/text_spelling.h"
#include "platform/form.h"
#include "platform/services.h"
#include "preview/store_subtitles.h"

namespace obrel {

class SrtScanner;
struct ScannedEntry;
struct DocumentFacts;
struct RecoveredDocument;

// What Find and Replace looks for and what it puts in its place: the boxes and check boxes of
// the Find and Replace window, kept by the main window for F3 while that window is closed.
struct FindRequest {
  std::string findWhat;
  std::string replaceWith;
  SearchOptions options;
};

class Form2 : public Form {
 public:
  Form2(Services services, Shell& shell);
  // Takes the window's entries back from the player, which may outlive it.
  ~Form2() override;

  // The binding tables (form2_bindings.cpp): which handler answers which control or menu
  // item, by name.
  struct ClickBinding {
    const char* name;
    void (Form2::*handler)();
  };
  struct ChangeBinding {
    const char* name;
    void (Form2::*handler)();
  };
  struct KeyPressBinding {
    const char* name;
    void (Form2::*handler)(int& code);
  };
  static const std::vector<ClickBinding>& clickTable();
  static const std::vector<ChangeBinding>& changeTable();
  static const std::vector<KeyPressBinding>& keyPressTable();
  // The item of the menus or of the keys without a menu entry called name, or nullptr.
  MenuItem* findKeyItem(const std::string& name) const;

  // Controls, named as in the window definition.
  Control Frame1{"Frame1", ControlKind::Frame};
  Control Frame2{"Frame2", ControlKind::Frame};
  Control Picture1{"Picture1", ControlKind::PictureBox};
  TextBox Text1{"Text1"}, Text2{"Text2"}, Text3{"Text3"}, Text4{"Text4"};
  TextBox Text5{"Text5"}, Text6{"Text6"}, Text7{"Text7"}, Text8{"Text8"};
  TextBox Text9{"Text9"}, Text10{"Text10"}, Text11{"Text11"}, Text12{"Text12"};
  Control Command1{"Command1", ControlKind::Button}, Command2{"Command2", ControlKind::Button};
  Control Command3{"Command3", ControlKind::Button}, Command4{"Command4", ControlKind::Button};
  Control Command5{"Command5", ControlKind::Button};
  Control Command6{"Command6", ControlKind::PictureButton};
  Control Command7{"Command7", ControlKind::PictureButton};
  Control Command8{"Command8", ControlKind::PictureButton};
  Control Command9{"Command9", ControlKind::PictureButton};
  Control Label1{"Label1", ControlKind::Label}, Label2{"Label2", ControlKind::Label};
  Control Label3{"Label3", ControlKind::Label}, Label4{"Label4", ControlKind::Label};
  Control Label5{"Label5", ControlKind::Label}, Label6{"Label6", ControlKind::Label};
  Control Label7{"Label7", ControlKind::Label}, Label8{"Label8", ControlKind::Label};
  Control Label9{"Label9", ControlKind::Label}, Label10{"Label10", ControlKind::Label};
  Control Label24{"Label24", ControlKind::Label};
  Control Image1{"Image1", ControlKind::Image};
  Control Image3{"Image3", ControlKind::Image};
  Control WMP{"WMP", ControlKind::MediaPlayer};

  MenuItem File{"File", "File", ""};
  MenuItem New{"New", "New", "File"};
  MenuItem Open{"Open", "Open", "File"};
  MenuItem OpenSrt{"OpenSrt", "Subtitle File (.srt)", "Open"};
  MenuItem OpenVideo{"OpenVideo", "Video File", "Open"};
  MenuItem OpenHelpText{"OpenHelpText", "Help Text File", "Open"};
  MenuItem Save{"Save", "Save", "File"};
  MenuItem SaveAs{"SaveAs", "Save As...", "File"};
  MenuItem Exit{"Exit", "Exit", "File"};
  MenuItem Edit{"Edit", "Edit", ""};
  MenuItem Undo{"Undo", "Undo", "Edit"};
  MenuItem Redo{"Redo", "Redo", "Edit"};
  MenuItem InsertNewEntry{"InsertNewEntry", "Insert New Entry", "Edit"};
  MenuItem ClearEntry{"ClearEntry", "Clear Entry", "Edit"};
  MenuItem DeleteEntry{"DeleteEntry", "Delete Entry", "Edit"};
  MenuItem FindAndReplace{"FindAndReplace", "Find and Replace...", "Edit"};
  MenuItem Timings{"Timings", "Timings", ""};
  MenuItem ShiftTimes{"ShiftTimes", "Shift Times...", "Timings"};
  MenuItem Synchronize{"Synchronize", "Synchronize...", "Timings"};
  MenuItem ChangeFrameRate{"ChangeFrameRate", "Change Frame Rate...", "Timings"};
  MenuItem SetStartAndShift{"SetStartAndShift", "Set Start from Video and Shift the Rest",
                            "Timings"};
  MenuItem PlayEntry{"PlayEntry", "Play Entry", "Timings"};
  MenuItem Options{"Options", "Options", ""};
  MenuItem EntryCheck{"EntryCheck", "Entry Check", "Options"};
  MenuItem FBlock{"FBlock", "Field Block", "Options"};
  MenuItem HelpText{"HelpText", "Help Text", "Options"};
  MenuItem HelpTextOn{"HelpTextOn", "On", "HelpText"};
  MenuItem HelpTextOff{"HelpTextOff", "Off", "HelpText"};
  MenuItem Spelling{"Spelling", "Spelling", "Options"};
  MenuItem SpellingLanguage{"SpellingLanguage", "Spelling Language", "Options"};
  MenuItem View{"View", "View", ""};
  MenuItem EntryList{"EntryList", "Entry List", "View"};
  MenuItem SubtitlesOnVideo{"SubtitlesOnVideo", "Subtitles on Video", "View"};
  MenuItem Help{"Help", "Help", ""};
  MenuItem ObrelHelp{"ObrelHelp", "Obrel Help", "Help"};
  MenuItem About{"About", "About Obrel Dizivud...", "Help"};
  // Keys with no menu entry of their own (F3, Shift+F3, Ctrl+H), in borrowedShortcuts; the
  // entry list and the Find and Replace window borrow them too.
  MenuItem FindNextKey{"FindNextKey", "Find Next", ""};
  MenuItem FindPreviousKey{"FindPreviousKey", "Find Previous", ""};
  MenuItem ReplaceKey{"ReplaceKey", "Replace", ""};

  // The document: its entries, file, encoding, marks and Undo history. Changed by the
  // handlers alone; read here by everyone else.
  const Document& document() const { return document_; }

  // The window's own state, named as in the window definition. Read anywhere, changed by
  // the handlers alone.
  // The entry the fields show and "OK" stores to, 0 to 10000: set by the index box's change
  // rule, "<", ">", "Next >>", the Edit commands, Undo, Redo, a search of Find and Replace, a
  // load, New and a recovery copy.
  std::int16_t CurrentIndex = 0;
  // The changes counted since the window's load, held at 32767; while it is not 0, New, Open
  // and Exit ask whether to save. Counted by "OK", Open, the Edit commands, the timing tools,
  // Undo, Redo, Replace, Replace All and a recovery copy; the window's load sets it to 0.
  std::int16_t ChangeCount = 0;
  // 1 when the save prompt lets New, Open or Exit go on, else 0: set by SaveOrNot.
  std::int16_t ProceedFlag = 0;
  // CurrentIndex at the last write of the file: set by WriteSrt, back to 0 by New and a load.
  std::int16_t SavedIndex = 0;
  // What Field Block writes into both hours fields, as the user replied: set by FBlock_Click.
  std::string DefaultHours;
  // The help-text file last chosen, empty after a cancel: set by OpenHelpText_Click.
  std::string HelpTextPath;
  // The video in the panel: set by "Open...", File > Open > Video File and a dropped file.
  std::string VideoPath;
  // The number line that followed the last entry a load read (empty at the file's end):
  // set by OpenFile.
  std::string LastLine;
  // The empty lines that ended the last entry a load read: set by OpenFile.
  std::int16_t BlankCount = 0;
  // Whether the last Save or Save As wrote the file, which SaveOrNot asks: set by both.
  bool saveSucceeded = false;

  // The window's load: entry 1 shown, no change counted, the empty document saved.
  void Form_Load();

  // Once after each user event, whatever command changed the store: the player draws the
  // entries on screen anew, also while it is paused (subtitles_on_video.cpp).
  void refresh() override;

  // Navigation (navigation.cpp).
  // The entry at CurrentIndex into the nine fields.
  void ShowEntry();
  // ">": one entry up from the box's number, up to 9999.
  void Command2_Click();
  // Sets the index box as the user would; its change rule then shows the entry the text
  // names, or leaves everything as it was for a text that names none.
  void setIndexBox(const std::string& text);
  // CurrentIndex = k, k in the index box and entry k in the fields, also when the box
  // already reads k; "OK" and "Next >>" keep their states.
  void showEntryAt(int k);

  // The help-text pane (help_text_pane.cpp).
  // File > Open > Help Text File: asks for a text file and reads it into the pane; a
  // cancel, or a file that cannot be read, changes nothing.
  void OpenHelpText_Click();
  // Options > Help Text > On: shows the kept text again after Off, else asks for a file.
  void HelpTextOn_Click();
  // Options > Help Text > Off: covers the pane, keeping its text; nothing before a read.
  void HelpTextOff_Click();

  // Options, the commit and the Edit commands (options.cpp, entry_commit.cpp,
  // edit_commands.cpp).
  // Options > Field Block: on asks for DefaultHours and locks both hours fields; off
  // unlocks them.
  void FBlock_Click();
  // "OK": checks the nine fields and stores them, widened, at CurrentIndex.
  void Command3_Click();
  // Edit menu: each asks for an entry number; a reply that is no 16-bit number, or a
  // cancel, ends the command silently.
  void InsertNewEntry_Click();
  void ClearEntry_Click();
  void DeleteEntry_Click();
  // Undo and Redo (undo_commands.cpp): take back / repeat the last commit, Insert, Clear,
  // Delete, timing tool, Replace or Replace All, then show the entry it worked on; each counts as a change.
  void Undo_Click();
  void Redo_Click();

  // The timing tools (timing_commands.cpp). Plans command over the store: a refusal is said
  // in a message box and returns false; a result equal to the store does nothing; a change
  // is one Undo step and a change to save, ending as Undo does (CurrentIndex kept, its entry
  // shown again), and then says how many entries could not be read, if any.
  bool applyTiming(const TimingCommand& command);
  // The timing tools' message box: text, title "Obrel Dizivud", OK, exclamation.
  void warn(const std::string& text);

  // Find and Replace (find_replace.cpp), for the Find and Replace window.
  // What its boxes and check boxes hold, as the user leaves them.
  const FindRequest& findRequest() const { return findRequest_; }
  void setFindRequest(FindRequest request) { findRequest_ = std::move(request); }
  // Find Next / Find Previous: the next (previous) match of findRequest() in the stored
  // texts, after (before) the present match, or from the caret in Text9 when there is none;
  // round past the last (first) entry once. A match shows its entry as the entry list's pick
  // does and is selected in Text9; the focus stays. None: "Cannot find", nothing moves.
  void FindNext();
  void FindPrevious();
  // Replaces the present match in its stored text as an Undo step, shows its entry again as
  // Undo does and finds the next; without a present match, Find Next.
  void ReplaceMatch();
  // Replaces every match in every entry as one Undo step, shows the current entry again and
  // says how many; with none, "Cannot find" and no step.
  void ReplaceAll();

  // SRT reading (open_srt.cpp, over the scanner of document/srt_scanner.cpp).
  // File > Open > Subtitle File (.srt): a file that gives no entry changes nothing but
  // ChangeCount; one read in part, numbered again, or with times that could not be read,
  // says so.
  void OpenSrt_Click();
  // File > Open > Subtitle File (.srt) with the dialog's answer given (a file named on the
  // command line or dropped on the window): the save prompt, the change count, the reading
  // and its messages, as the menu command.
  void openSubtitleFile(const std::string& path);

  // Saving, New and Exit (save.cpp, save_prompt.cpp).
  // File > Save: WriteSrt to CurrentFile, or Save As when there is none or the file was
  // read in part. Asks before replacing a file that another program changed. A failure is
  // shown in a message box.
  void Save_Click();
  // File > Save As...: asks for a path and writes there; a cancel changes nothing, a
  // failed write is shown and leaves CurrentFile as it was.
  void SaveAs_Click();
  // File > New and File > Exit, each after the save prompt lets it go on.
  void New_Click();
  void Exit_Click();

  // Spelling in Text9 (spelling_options.cpp, over text_spelling.cpp).
  // Finds the dictionaries in places and the options kept from the last run, and adds an
  // item Dictionary1..DictionaryN under Spelling Language for each dictionary, by code.
  // Once, before a view shows the window; without it (or with no dictionary) both items
  // stay disabled and nothing is underlined.
  void startSpelling(const SpellingPlaces& places);
  // What Text9's view underlines and offers on a right-click.
  TextSpelling& spelling() { return spelling_; }
  // Options > Spelling: turns the underlining off and on.
  void Spelling_Click();
  // Options > Spelling Language > DictionaryN (index N - 1): that dictionary from now on.
  void Dictionary_Click(std::size_t index);

  // The recovery copy (recovery.cpp).
  // What a recovery copy holds besides the store.
  DocumentFacts recoveryFacts() const;
  // Takes a recovered document as the document: its store, entry, file and caption,
  // encoding and marks; a change to save, and unsaved until it is saved.
  void restoreRecovered(RecoveredDocument document);

 private:
  // The window definition (form2_definition.cpp): places, captions, fonts, start states.
  void defineWindow();
  void defineTimeArea();
  void defineTextArea();
  void defineVideoPanel();
  void defineStacking();
  void defineMenus();
  // Gives every control and menu item of the binding tables its handler.
  void bindHandlers();
  // What the window and its video panel do with a dropped file.
  void bindFileDrops();

  // The resets of the document (document_state.cpp).
  // File > New after the save prompt: an empty, untitled document in UTF-8, on entry 1.
  void Initial();
  // Before a load: slots 1 to 10000 emptied, on entry 1.
  void Sub_Initial();
  // ChangeCount + 1, held at 32767.
  void countChange();
  // A change the save prompt must ask about: countChange, and Save and Save As enabled.
  // Every Edit command that reaches its store step, Replace, Replace All, Undo and Redo.
  void markChanged();
  // Shows entry 1 through the index box, also when the box already reads "1".
  void showFirstEntry();

  // Navigation (navigation.cpp).
  // The index box's change rule: CurrentIndex and the fields follow the entry it names (1
  // when empty); a text that names none leaves both as they were.
  void Text10_Change();
  // Index-box keys: digits and Backspace only; any key enables "OK".
  void Text10_KeyPress(int& code);
  // "<": one entry down from the box's number, down to 1.
  void Command1_Click();
  // "Next >>": empty fields on the entry after CurrentIndex, or entry 9999 again at the end.
  void Command4_Click();
  // What "<" and ">" do: by entries on from the box's number (CurrentIndex when it is
  // empty), within 1 to 9999; nothing when the box names no entry.
  void step(int by);

  // The help-text pane (help_text_pane.cpp).
  // Text9 tall, covering the pane, which then takes no focus (the focus in it moves to
  // Text9); or short, showing it.
  void coverHelpPane(bool covered);
  // Reads HelpTextPath whole into Text11 and shows the pane; a file that cannot be read or
  // holds more than 16 MiB changes nothing.
  void ReadHelpText();

  // Shell links of the main window (shell_links.cpp).
  void ObrelHelp_Click();
  void About_Click();
  // View > Entry List: opens the entry list window, or brings it forward.
  void EntryList_Click();
  // "Like us on Facebook" and the logo beside it open Web Links/Facebook.url.
  void Label24_Click();
  void Image3_Click();

  // The Timings menu (timing_commands.cpp).
  // Shift Times... opens the Shift Times window, or brings it forward.
  void ShiftTimes_Click();
  // Synchronize... opens its window, when two entries take part; else says it needs them.
  void Synchronize_Click();
  // Change Frame Rate... opens its window.
  void ChangeFrameRate_Click();
  // Set Start from Video and Shift the Rest: the player's position, taken as "add to
  // Starting Time" takes it, as the current entry's start, the rest shifted with it.
  void SetStartAndShift_Click();

  // Find and Replace (find_replace.cpp).
  // Edit > Find and Replace... (Ctrl+F) and Ctrl+H: the window opened or brought forward,
  // the focus in "Find what" / "Replace with".
  void FindAndReplace_Click();
  void ReplaceKey_Click();
  // F3 and Shift+F3: Find Next / Find Previous, or the window opened with nothing to find.
  void FindNextKey_Click();
  void FindPreviousKey_Click();
  // Opens the Find and Replace window and puts the focus into its box called box.
  void showFindWindow(const char* box);
  // One search for findRequest(), forward or back, from `from` (when given), else from the
  // present match, else from the caret in Text9.
  void search(bool forward, std::optional<SearchPosition> from = std::nullopt);
  // The match the last search showed, while its entry is still shown as it left it.
  std::optional<EntryMatch> presentMatch() const;
  // "Cannot find" or, for an expression that is not valid, why.
  void tellNotFound(const SearchQuery& query);

  // Field rules and options (key_rules.cpp, options.cpp).
  // Time-field keys: filter the code (0 drops it), enable "OK", move the focus on when the
  // field is full but for this key; a kept key then lands in the field it was typed into.
  void Text1_KeyPress(int& code);
  void Text2_KeyPress(int& code);
  void Text3_KeyPress(int& code);
  void Text4_KeyPress(int& code);
  void Text5_KeyPress(int& code);
  void Text6_KeyPress(int& code);
  void Text7_KeyPress(int& code);
  void Text8_KeyPress(int& code);
  // Any change of the entry text enables "OK".
  void Text9_Change();
  // Options > Entry Check: toggles its mark, nothing else.
  void EntryCheck_Click();

  // Undo and Redo (undo_commands.cpp).
  // Forgets every step: a new, loaded or recovered document starts with nothing to undo.
  void clearUndoHistory();
  // A new step for Undo; the captions of Undo and Redo follow the history.
  void remember(UndoStep step);
  void showHistory();
  // After Undo or Redo took a step on slot k (nothing when there was none to take).
  void showStepTaken(std::optional<int> k);

  // SRT reading (open_srt.cpp).
  // Reads path into the document (OpenSrt_Click after its dialog); throws what its trap
  // catches.
  void loadSubtitleFile(const std::string& path);
  // Stores entry, the first the scanner gave, and every later one, each through the index
  // box and the fields; ends on the entry the index box shows, and tells the user what was
  // not read.
  void OpenFile(SrtScanner& scanner, ScannedEntry& entry);
  // One entry of OpenFile: its parts and text through the fields, then into the store at
  // CurrentIndex with the timing line as read.
  void storeScannedEntry(ScannedEntry& entry);
  // The messages at the end of a load: a part left unread after entry partAfter, the
  // entries numbered again from entry renumberedFrom on, the first entry whose times could
  // not be read (each 0: none).
  void tellWhatWasNotRead(int partAfter, int renumberedFrom, int firstUnreadTimes);
  // Leaves the last entry's text lines in Support/Temp.srt, where that can be written.
  void keepScratchCopy(const std::string& text);

  // The video panel (video_panel.cpp, over preview/capture.cpp).
  // "Open...": asks for a video and plays it; a cancel changes nothing.
  void Command5_Click();
  // What "Open..." does with the path it was given: plays it in the panel.
  void openVideoFile(const std::string& path);
  // File > Open > Video File: the same as "Open...".
  void OpenVideo_Click();
  // "add to Starting Time" / "add to Ending Time": the player's position into Text1..Text4
  // / Text5..Text8.
  void Command6_Click();
  void Command7_Click();
  // "Step Backward" / "Step Forward": the position 5 s back / on, as computed.
  void Command8_Click();
  void Command9_Click();
  // Writes the player's position into the four boxes as hours, minutes, seconds and
  // milliseconds, without key events.
  void CaptureTime(TextBox& hours, TextBox& minutes, TextBox& seconds, TextBox& millis);
  // Timings > Play Entry: the player plays the current entry's span and pauses at its end;
  // an entry without readable times is refused with a message and nothing moves.
  void PlayEntry_Click();

  // The entries drawn over the video (subtitles_on_video.cpp).
  // Hands the player the entries of the store on screen at each of its positions, drawn.
  void showSubtitlesOnVideo();
  // View > Subtitles on Video: toggles its mark and the drawing with it.
  void SubtitlesOnVideo_Click();

  // Saving and the save prompt (save.cpp, save_prompt.cpp).
  // Writes every present entry to CurrentFile in the document's encoding, replacing the
  // file in one step. Throws FileError, the file then unchanged; CurrentIndex never moves.
  void WriteSrt();
  // Asks whether to save when anything was changed; ProceedFlag = 1 lets New and Exit go on.
  void SaveOrNot();
  // Save and Save As as they stand before a command's save prompt; after a command that
  // loaded nothing, keepSaveItems sets them back (a load leaves both enabled).
  struct SaveItems {
    bool save = false;
    bool saveAs = false;
  };
  SaveItems saveItems() const;
  void keepSaveItems(SaveItems before);

  // The document, which only the handlers change.
  Document document_;
  // Find and Replace: what to find, the match the last search showed, and ShowEntry's count
  // of entries shown, then and now (another entry shown forgets the match).
  FindRequest findRequest_;
  std::optional<EntryMatch> match_;
  std::uint64_t matchShown_ = 0;
  std::uint64_t entriesShown_ = 0;
  // The program's ports: prompts, dialogs, player, browser, files and the program folder.
  Services services_;
  // The program around the window: the other windows and the program's end.
  Shell& shell_;
  // The entries the player draws, read from the store; and the store's revision they were
  // last drawn at.
  StoreSubtitles subtitlesOnVideo_{document_.store};
  std::uint64_t drawnRevision_ = 0;
  // Spelling in Text9, and the items of the dictionaries found.
  TextSpelling spelling_{services_.files, services_.prompts};
  std::vector<std::unique_ptr<MenuItem>> dictionaryItems_;
};

}  // namespace obrel
