#include "shell/program.h"

#include <algorithm>
#include <utility>

#include "shell/form6.h"
#include "shell/form7.h"
#include "shell/form8.h"
#include "shell/form9.h"

namespace obrel {

Program::Program(Services services) : services_(std::move(services)) {
  declareToolWindow("Form5", [this](Form2& main) {
    return std::make_unique<Form5>(main, [this] {
      if (form2_) activate(*form2_);
    });
  });
  declareToolWindow("Form6", [this](Form2& main) { return std::make_unique<Form6>(main, *this); });
  declareToolWindow("Form7", [this](Form2& main) { return std::make_unique<Form7>(main, *this); });
  declareToolWindow("Form8", [this](Form2& main) { return std::make_unique<Form8>(main, *this); });
  declareToolWindow("Form9", [this](Form2& main) { return std::make_unique<Form9>(main, *this); });
}

Program::~Program() = default;

void Program::startWithSplash() {
  form1_ = std::make_unique<Form1>(*this);
  form1_->Form_Load();
  setActive(form1_.get());
  changed();
}

void Program::startMain(bool offerRecovery) {
  form2_ = std::make_unique<Form2>(services_, *this);
  form2_->startSpelling(spellingPlaces_);
  form2_->Form_Load();
  form2_->focusFirst();
  setActive(form2_.get());
  changed();
  // The copy comes first: a file from the command line then opens over it through the
  // save prompt.
  if (offerRecovery) this->offerRecovery();
  if (!fileAtStart_.empty()) form2_->openSubtitleFile(std::exchange(fileAtStart_, std::string()));
}

void Program::offerRecovery() {
  if (!recovery_ || !form2_ || recoveryOffered_) return;
  recoveryOffered_ = true;
  recovery_->offer(*form2_, services_.prompts);
}

void Program::afterEvent() {
  if (recovery_ && form2_) recovery_->afterEvent(*form2_);
}

void Program::writeRecoveryDue() {
  if (recovery_ && form2_) recovery_->writeDue(*form2_);
}

void Program::tellRecoveryFailure() {
  if (recovery_) recovery_->tellFailure(services_.prompts);
}

void Program::endNormally() {
  if (recovery_) recovery_->endNormally();
}

Form5* Program::form5() const { return dynamic_cast<Form5*>(toolWindow("Form5")); }

void Program::declareToolWindow(const std::string& name, ToolWindowMaker make) {
  ToolSlot* slot = toolSlot(name);
  if (slot) slot->make = std::move(make);
}

Program::ToolSlot* Program::toolSlot(const std::string& name) {
  return const_cast<ToolSlot*>(std::as_const(*this).toolSlot(name));
}

const Program::ToolSlot* Program::toolSlot(const std::string& name) const {
  if (name.size() != 5 || !name.starts_with("Form")) return nullptr;
  const int number = name[4] - '0';
  if (number < kFirstTool || number > kLastTool) return nullptr;
  return &tools_[static_cast<std::size_t>(number - kFirstTool)];
}

Form* Program::toolWindow(const std::string& name) const {
  const ToolSlot* slot = toolSlot(name);
  return slot ? slot->window.get() : nullptr;
}

bool Program::isToolWindow(const Form& form) const {
  return std::any_of(tools_.begin(), tools_.end(),
                     [&form](const ToolSlot& slot) { return slot.window.get() == &form; });
}

Form* Program::modalWindow() const {
  for (const ToolSlot& slot : tools_) {
    if (slot.window && slot.window->modal) return slot.window.get();
  }
  return nullptr;
}

Form* Program::blockedBy(const Form& form) const {
  Form* modal = modalWindow();
  return modal != &form ? modal : nullptr;
}

bool Program::isOpen(const Form* form) const {
  const std::vector<Form*> open = windows();
  return form && std::find(open.begin(), open.end(), form) != open.end();
}

std::vector<Form*> Program::windows() const {
  std::vector<Form*> open;
  if (form1_) open.push_back(form1_.get());
  if (form2_) open.push_back(form2_.get());
  if (form3_) open.push_back(form3_.get());
  if (form4_) open.push_back(form4_.get());
  for (const ToolSlot& slot : tools_) {
    if (slot.window) open.push_back(slot.window.get());
  }
  return open;
}

void Program::activate(Form& form) {
  // A window the program already closed (its view may still report it) takes nothing.
  if (!isOpen(&form)) return;
  const bool helpOrAbout = &form == form3_.get() || &form == form4_.get();
  Form* next = blockedBy(form);
  if (!next) next = front_ && !helpOrAbout && !form.modal ? front_ : &form;
  setActive(next);
  changed();
}

void Program::close(Form& form) {
  if (isOpen(&form) && blockedBy(form)) return;
  closeOpen(form);
}

void Program::closeWindow(Form& window) { closeOpen(window); }

void Program::closeOpen(Form& form) {
  Form* opener = nullptr;
  if (&form == form1_.get()) {
    form1_->Timer1.setEnabled(false);
    retire(form1_);
  } else if (&form == form2_.get()) {
    // The close box takes the path of File > Exit, so unsaved work is asked about; Exit
    // unloads every window itself, or nothing when the user cancels.
    form2_->Exit_Click();
  } else if (&form == form3_.get()) {
    retire(form3_);
  } else if (&form == form4_.get()) {
    retire(form4_);
  } else {
    for (ToolSlot& slot : tools_) {
      if (slot.window.get() != &form) continue;
      if (form.modal) opener = slot.opener;
      retire(slot.window);
    }
  }
  pickActive(opener);
  changed();
}

void Program::collect() { closed_.clear(); }

void Program::refresh() {
  for (Form* f : windows()) f->refresh();
}

void Program::showHelp() {
  if (!form3_) {
    form3_ = std::make_unique<Form3>(services_.files, services_.programFolder);
    form3_->Form_Load();
    form3_->focusFirst();
  }
  bringForward(*form3_);
}

void Program::showAbout() {
  if (!form4_) {
    form4_ = std::make_unique<Form4>(services_.files, services_.browser, services_.programFolder);
    form4_->focusFirst();
  }
  bringForward(*form4_);
}

void Program::showEntryList() { showToolWindow("Form5"); }

Form* Program::showToolWindow(const std::string& name) {
  ToolSlot* slot = toolSlot(name);
  if (!form2_ || !slot || (!slot->window && !slot->make)) return nullptr;
  if (!slot->window) {
    slot->opener = active_;
    slot->window = slot->make(*form2_);
    slot->window->focusFirst();
  }
  Form& window = *slot->window;
  Form* next = blockedBy(window);
  if (!next) next = front_ && !window.modal ? front_ : &window;
  setActive(next);
  changed();
  return &window;
}

void Program::unloadAll() {
  endNormally();
  // They show the main window's document.
  for (ToolSlot& slot : tools_) retire(slot.window);
  retire(form2_);
  if (form1_) form1_->Timer1.setEnabled(false);
  retire(form1_);
  retire(form3_);
  retire(form4_);
  pickActive();
  changed();
}

void Program::splashGivesWay() {
  if (!form1_) return;
  form1_->Timer1.setEnabled(false);
  retire(form1_);
  setActive(nullptr);
  startMain();
}

void Program::closeSplash() {
  if (!form1_) return;
  form1_->Timer1.setEnabled(false);
  retire(form1_);
  pickActive();
  changed();
}

void Program::changed() {
  if (onWindowsChanged) onWindowsChanged();
}

template <class W>
void Program::retire(std::unique_ptr<W>& form) {
  if (!form) return;
  const Form* gone = form.get();
  closed_.push_back(std::move(form));
  // The other of Help and About, if it is open, is now the one in front.
  if (front_ == gone) front_ = form4_ ? static_cast<Form*>(form4_.get()) : form3_.get();
}

void Program::bringForward(Form& window) {
  front_ = &window;
  setActive(&window);
  changed();
}

void Program::pickActive(Form* closedOpener) {
  const std::vector<Form*> open = windows();
  if (isOpen(active_)) return;
  Form* next = open.empty() ? nullptr : open.back();
  if (Form* modal = modalWindow()) {
    next = modal;
  } else if (isOpen(closedOpener)) {
    // Help or About keeps the activation from the main window it goes back to.
    next = front_ && closedOpener == form2_.get() ? front_ : closedOpener;
  }
  setActive(next);
}

void Program::setActive(Form* form) {
  if (form == active_) return;
  active_ = form;
  if (form) form->Form_Activate();
}

}  // namespace obrel
