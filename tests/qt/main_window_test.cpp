// The Qt binding of the windows: geometry from twips, stacking, fonts, keys through the
// models' key handlers, focus both ways, menus and F12, the splash, and the dialogs.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <optional>

#include "app/qt_program.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_prompts.h"
#include "testing/window_setup.h"
#include "tests/qt/real_window.h"

using namespace obrel;

namespace {

using obrel::qttest::RealWindow;
using obrel::qttest::whenModal;

// A window with one read-only, multi-line box, as the help window has.
class ReaderForm : public Form {
 public:
  ReaderForm() : Form("Reader") {
    clientWidth = 3000;
    clientHeight = 1500;
    Text1.place = {0, 0, 3000, 1500};
    Text1.multiLine = true;
    Text1.readOnly = true;
    Text1.wrap = true;
    add(Text1);
    setTabOrder({"Text1"});
  }
  TextBox Text1{"Text1"};
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::optional<RealWindow> real;

  QtProgram& host() { return real->program(); }
  Program& program() { return real->program().program(); }
  Form2& form2() { return real->form2(); }
  QtForm& view2() { return real->view2(); }
  template <class W = QWidget>
  W* w2(const char* name) {
    return real->widget<W>(name);
  }

 private slots:
  void init() { real.emplace(RealWindow::Start::Nothing); }
  void cleanup() { real.reset(); }

  void clientAreaIsExactlyTheDesignedSizeBelowTheMenuBar() {
    real->startMain();
    QtForm& v = view2();
    QWidget* window = v.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(v.client()->size(), QSize(1166, 605));
    QVERIFY(v.menuBar()->height() > 0);
    QCOMPARE(v.client()->y(), v.menuBar()->height());
    QCOMPARE(window->size(), QSize(1166, 605 + v.menuBar()->height()));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->windowTitle(), QStringLiteral("Obrel Dizivud"));
    QCOMPARE(window->objectName(), QStringLiteral("Form2"));
  }

  void controlsSitInTheirContainersAtTheirTwips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Frame1 starts above the client area") << "Frame1"
                                                         << "client" << QRect(0, -5, 1167, 587);
    QTest::newRow("Text1 in Frame1") << "Text1"
                                     << "Frame1" << QRect(140, 100, 31, 29);
    QTest::newRow("Text10 in Frame1") << "Text10"
                                      << "Frame1" << QRect(70, 504, 55, 26);
    QTest::newRow("Text9 in Frame2") << "Text9"
                                     << "Frame2" << QRect(22, 44, 487, 201);
    QTest::newRow("WMP in Picture1") << "WMP"
                                     << "Picture1" << QRect(8, 7, 529, 411);
    QTest::newRow("Command6 in Picture1") << "Command6"
                                          << "Picture1" << QRect(160, 433, 41, 25);
    QTest::newRow("Label24 in the window") << "Label24"
                                           << "client" << QRect(912, 583, 153, 18);
  }
  void controlsSitInTheirContainersAtTheirTwips() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, rect);
    real->startMain();
    QWidget* w = w2(name.toUtf8().constData());
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(), rect);
  }

  void text1LiesBelowTheMenuBarWhereFrame1PutsIt() {
    real->startMain();
    // Frame1's top is 70 twips above the client area, and Text1 moves up with it.
    QCOMPARE(w2("Text1")->mapTo(view2().client(), QPoint(0, 0)), QPoint(140, 95));
  }

  void laterControlsLieAbove() {
    real->startMain();
    QWidget* client = view2().client();
    const auto centre = [client](QWidget* w) { return w->mapTo(client, w->rect().center()); };
    QCOMPARE(client->childAt(centre(w2("Image3"))), w2("Image3"));
    // Text9 covers Text11 completely at its designed height.
    QWidget* hit = client->childAt(centre(w2("Text11")));
    QVERIFY(hit == w2("Text9") || w2("Text9")->isAncestorOf(hit));
  }

  void fontsAreReplacedByMetricCompatibleOnes() {
    real->startMain();
    QCOMPARE(QFontInfo(w2("Text1")->font()).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(w2("Label24")->font()).family(), QStringLiteral("Liberation Sans Narrow"));
    QCOMPARE(QFontInfo(w2("Text12")->font()).family(), QStringLiteral("Carlito"));
    const QFont rounded = w2("Command3")->font();
    QCOMPARE(QFontInfo(rounded).family(), QStringLiteral("Liberation Sans"));
    QVERIFY(rounded.bold());
    QCOMPARE(rounded.pointSizeF(), 14.25);
    QCOMPARE(QFontInfo(qtFont({"Candara", 14.25, true})).family(), QStringLiteral("Carlito"));
  }

  void aReadOnlyTextWithTheFocusShowsFromItsBeginning() {
    ReaderForm form;
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    form.Text1.setText(text);
    form.focusFirst();
    QtForm view(form, host());
    view.window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.window()));
    auto* box = qobject_cast<QPlainTextEdit*>(view.widget("Text1"));
    QCOMPARE(view.window()->focusWidget(), box);
    QCOMPARE(box->textCursor().position(), 0);
    QCOMPARE(box->verticalScrollBar()->value(), 0);
  }

  void startStateReachesTheWidgets() {
    real->startMain();
    QCOMPARE(w2<QLineEdit>("Text10")->text(), QStringLiteral("1"));
    QVERIFY(!w2("Command3")->isEnabled());
    QVERIFY(w2("Command1")->isEnabled());
    QVERIFY(!w2("WMP")->isEnabled());
    QVERIFY(w2("Text12")->isHidden());
    QCOMPARE(w2<QLineEdit>("Text4")->maxLength(), 3);
    QCOMPARE(w2<QLineEdit>("Text10")->maxLength(), 4);
    QCOMPARE(w2<QPushButton>("Command4")->text(), QStringLiteral("Next >>"));
    QCOMPARE(w2<QLabel>("Label24")->text(), QStringLiteral("      Like us on Facebook"));
    QCOMPARE(w2("Text9")->toolTip(), QStringLiteral("Text"));
    // The player's controls follow the player, not the control's start state.
    host().player().setEnabled(true);
    QVERIFY(w2("WMP")->isEnabled());
  }

  void aDigitTypedIntoTheIndexBoxShowsThatEntry() {
    real->startMain();
    real->run([this] {
      fake::commitEntry(form2(), 2, "two\r\nlines");
      form2().setIndexBox("1");
    });
    auto* index = w2<QLineEdit>("Text10");
    index->selectAll();
    QTest::keyClick(index, Qt::Key_2);
    QCOMPARE(index->text(), QStringLiteral("2"));
    QCOMPARE(form2().Text10.text(), std::string("2"));
    QCOMPARE(form2().CurrentIndex, std::int16_t{2});
    QCOMPARE(w2<QPlainTextEdit>("Text9")->toPlainText(), QStringLiteral("two\nlines"));
  }

  void keysTheIndexBoxDropsNeverLandInIt() {
    real->startMain();
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    auto* index = w2<QLineEdit>("Text10");
    index->end(false);
    QTest::keyClick(index, Qt::Key_A);
    QTest::keyClick(index, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(index, Qt::Key_Space);
    QCOMPARE(index->text(), QStringLiteral("1"));
    QCOMPARE(form2().Text10.text(), std::string("1"));
    // The handler ran for each key and its effect was synced.
    QVERIFY(w2("Command3")->isEnabled());
  }

  void tabAndKeysWithoutCharacterBypassTheKeyHandler() {
    real->startMain();
    QVERIFY(real->activate());
    auto* index = w2<QLineEdit>("Text10");
    index->setFocus();
    QTest::keyClick(index, Qt::Key_Left);
    QTest::keyClick(index, Qt::Key_Delete);
    QTest::keyClick(index, Qt::Key_F5);
    QCOMPARE(index->text(), QStringLiteral(""));  // Delete still works as the box's own key
    QTest::keyClick(index, Qt::Key_Tab);
    QVERIFY(!form2().Command3.enabled());
    QCOMPARE(QApplication::focusWidget(), w2("Command2"));
  }

  void aReplacedKeyLandsAsTheReplacement() {
    real->startMain();
    form2().Text1.onKeyPress = [](int& code) {
      if (code == 'a') code = 'b';
    };
    QTest::keyClick(w2("Text1"), Qt::Key_A);
    QCOMPARE(form2().Text1.text(), std::string("b"));
  }

  void aKeyLandsInItsBoxWhileTheHandlerMovesTheFocusOn() {
    real->startMain();
    QVERIFY(real->activate());
    real->focus(form2().Text1);
    QCOMPARE(QApplication::focusWidget(), w2("Text1"));
    form2().Text1.onKeyPress = [this](int&) { form2().setFocus(&form2().Text2); };
    QTest::keyClick(w2("Text1"), Qt::Key_4);
    QCOMPARE(w2<QLineEdit>("Text1")->text(), QStringLiteral("4"));
    QCOMPARE(form2().Text1.text(), std::string("4"));
    QCOMPARE(QApplication::focusWidget(), w2("Text2"));
    QCOMPARE(form2().focus(), &form2().Text2);
  }

  void focusFollowsTheModelAndTheUser() {
    real->startMain();
    QCOMPARE(form2().focus(), &form2().Text1);
    QCOMPARE(view2().window()->focusWidget(), w2("Text1"));
    QVERIFY(real->activate());
    real->focus(form2().Text5);
    QCOMPARE(QApplication::focusWidget(), w2("Text5"));
    QTest::mouseClick(w2("Text3"), Qt::LeftButton);
    QCOMPARE(form2().focus(), &form2().Text3);
  }

  void multiLineTextKeepsCrLfInTheModel() {
    real->startMain();
    real->run([this] { form2().Text9.setText("a\r\nb"); });
    auto* text = w2<QPlainTextEdit>("Text9");
    QCOMPARE(text->toPlainText(), QStringLiteral("a\nb"));
    text->moveCursor(QTextCursor::End);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_C);
    QCOMPARE(form2().Text9.text(), std::string("a\r\nb\r\nc"));
    // A text the program sets is not rewritten by showing it (a help file with LF ends).
    real->run([this] { form2().Text11.setText("unix\nlines"); });
    QCOMPARE(w2<QPlainTextEdit>("Text11")->toPlainText(), QStringLiteral("unix\nlines"));
    QCOMPARE(form2().Text11.text(), std::string("unix\nlines"));
  }

  void f12ChoosesObrelHelpAnywhereInTheWindow() {
    real->startMain();
    QAction* help = view2().action("ObrelHelp");
    QVERIFY(help);
    QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F12));
    QCOMPARE(help->shortcutContext(), Qt::WindowShortcut);
    int chosen = 0;
    form2().ObrelHelp.onClick = [&chosen] { ++chosen; };
    QVERIFY(real->activate());
    QTest::keyClick(w2("Text1"), Qt::Key_F12);
    QTest::keyClick(w2("Text9"), Qt::Key_F12);
    QCOMPARE(chosen, 2);
  }

  void menuStateFollowsTheModelOnly() {
    real->startMain();
    QtForm& v = view2();
    QVERIFY(!v.action("Save")->isEnabled());
    QVERIFY(!v.action("SaveAs")->isEnabled());
    QVERIFY(v.action("Open")->menu());
    QCOMPARE(v.action("OpenSrt")->text(), QStringLiteral("Subtitle File (.srt)"));
    QAction* check = v.action("EntryCheck");
    form2().EntryCheck.onClick = [this] {
      form2().EntryCheck.setChecked(!form2().EntryCheck.checked());
    };
    check->trigger();
    QVERIFY(check->isChecked());
    check->trigger();
    QVERIFY(!check->isChecked());
    // A handler that leaves the mark alone: Qt's own toggle must not stick.
    real->run([this] { form2().EntryCheck.setChecked(true); });
    form2().EntryCheck.onClick = [] {};
    check->trigger();
    QVERIFY(check->isChecked());
  }

  void closeBoxAsksTheModel() {
    real->startMain();
    QWidget* window = view2().window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->close();
    QVERIFY(!program().form2());
    QVERIFY(program().ended());
    QVERIFY(!window->isVisible());
  }

  void splashIsBorderlessAndGivesWayToAClick() {
    host().startWithSplash();
    QtForm* splash = host().view(program().form1());
    QVERIFY(splash);
    QCOMPARE(splash->window()->size(), QSize(640, 519));
    QVERIFY(splash->window()->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!splash->menuBar());
    QVERIFY(QTest::qWaitForWindowExposed(splash->window()));
    QTest::mouseClick(splash->widget("Picture1"), Qt::LeftButton, {}, QPoint(100, 100));
    QVERIFY(!program().form1());
    QVERIFY(program().form2());
    QVERIFY(view2().window()->isVisible());
    QCOMPARE(program().active(), program().form2());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!host().view(program().form1()));
  }

  void aWindowClosedByTheModelCannotBecomeActive() {
    host().startWithSplash();
    real->run([this] {
      Form* splash = program().form1();
      program().splashGivesWay();
      // Qt may still deliver the splash window's queued activation.
      host().activated(*splash);
    });
    QCOMPARE(program().active(), program().form2());
  }

  void splashCloseButtonEndsTheProgram() {
    host().startWithSplash();
    QtForm* splash = host().view(program().form1());
    QVERIFY(QTest::qWaitForWindowExposed(splash->window()));
    QTest::mouseClick(splash->widget("Command1"), Qt::LeftButton);
    QVERIFY(program().ended());
    QVERIFY(!program().form2());
  }

  void splashTimerOpensTheMainWindowAfterFourSeconds() {
    host().startWithSplash();
    QTest::qWait(3500);
    QVERIFY(!program().form2());
    QTRY_VERIFY_WITH_TIMEOUT(program().form2() != nullptr, 2500);
  }

  void messageBoxAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::newRow("Escape on Yes/No/Cancel")
        << int(Buttons::YesNoCancel) << int(Qt::Key_Escape) << int(Answer::Cancel);
    QTest::newRow("Escape on Yes/No")
        << int(Buttons::YesNo) << int(Qt::Key_Escape) << int(Answer::No);
    QTest::newRow("Escape on OK") << int(Buttons::OK) << int(Qt::Key_Escape) << int(Answer::OK);
    QTest::newRow("Enter takes Yes")
        << int(Buttons::YesNoCancel) << int(Qt::Key_Return) << int(Answer::Yes);
  }
  void messageBoxAnswers() {
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, answer);
    QtPrompts prompts;
    whenModal([key](QWidget* box) { QTest::keyClick(box, Qt::Key(key)); });
    const Answer got =
        prompts.messageBox("Save changes?", "Obrel Dizivud", Icon::Question, Buttons(buttons));
    QCOMPARE(int(got), answer);
  }

  void inputBoxStandsWhereAskedAndCanBeCancelled() {
    QtPrompts prompts;
    QPoint at;
    whenModal([&at](QWidget* dialog) {
      at = dialog->pos();
      auto* input = qobject_cast<QInputDialog*>(dialog);
      input->setTextValue(QStringLiteral("42"));
      input->accept();
    });
    QCOMPARE(prompts.inputBox("Enter Value", "Field Block", "0", 7000, 3000),
             std::optional<std::string>("42"));
    QCOMPARE(at, QPoint(467, 200));
    whenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QCOMPARE(prompts.inputBox("Enter Value", "Field Block", "0", 7000, 3000), std::nullopt);
  }

  void fileFiltersInQtForm_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("description shows its pattern")
        << "Subtitle Files (*.srt)|*.srt" << QStringList{"Subtitle Files (*.srt)"};
    QTest::newRow("pattern differs in case only")
        << "Avi Files (*.avi)|*.Avi|All Files (*.*)|*.*"
        << QStringList{"Avi Files (*.avi)", "All Files (*.*)"};
    QTest::newRow("bare description") << "Text|*.txt;*.srt" << QStringList{"Text (*.txt *.srt)"};
  }
  void fileFiltersInQtForm() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(filter.toStdString()), expected);
  }

  void keyEventsBecomeCharacterCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 27;
    QTest::newRow("Tab moves the focus") << int(Qt::Key_Tab) << 0 << "\t" << 0;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "\x7f" << 0;
    QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << "" << 0;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16" << 22;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 97;
    QTest::newRow("accented") << int(Qt::Key_Eacute) << 0 << QString(QChar(0xE9)) << 0xE9;
  }
  void keyEventsBecomeCharacterCodes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(characterCode(event), code);
  }

  // A character a key handler typed in place of the user's, as the key the box applies.
  void replacementCodesBecomeKeys_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("key");  // -1: the box does nothing
    QTest::addColumn<QString>("text");
    QTest::newRow("Backspace") << 8 << int(Qt::Key_Backspace) << "";
    QTest::newRow("Enter") << 13 << int(Qt::Key_Return) << "\r";
    QTest::newRow("other control code") << 1 << -1 << "";
    QTest::newRow("letter") << int('b') << int(Qt::Key_B) << "b";
    QTest::newRow("beyond 16 bits")
        << 0x1F600 << int(Qt::Key_unknown) << QString::fromUcs4(U"\U0001F600", 1);
  }
  void replacementCodesBecomeKeys() {
    QFETCH(int, code);
    QFETCH(int, key);
    QFETCH(QString, text);
    const std::optional<TypedKey> typed = typedKey(code);
    QCOMPARE(typed.has_value(), key >= 0);
    if (!typed) return;
    QCOMPARE(int(typed->key), key);
    QCOMPARE(typed->text, text);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
