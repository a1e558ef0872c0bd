#include "shell/program.h"

#include <algorithm>
#include <utility>

namespace obrel {

Program::Program(Services services) : services_(std::move(services)) {}

Program::~Program() = default;

void Program::startWithSplash() {
  form1_ = std::make_unique<Form1>(*this);
  form1_->Form_Load();
  active_ = form1_.get();
  changed();
}

void Program::startMain(bool offerRecovery) {
  form2_ = std::make_unique<Form2>(services_, *this);
  form2_->Form_Load();
  form2_->focusFirst();
  active_ = form2_.get();
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

std::vector<Form*> Program::windows() const {
  std::vector<Form*> open;
  if (form1_) open.push_back(form1_.get());
  if (form2_) open.push_back(form2_.get());
  if (form3_) open.push_back(form3_.get());
  if (form4_) open.push_back(form4_.get());
  if (form5_) open.push_back(form5_.get());
  return open;
}

void Program::activate(Form& form) {
  // A window the program already closed (its view may still report it) takes nothing.
  const std::vector<Form*> open = windows();
  if (std::find(open.begin(), open.end(), &form) == open.end()) return;
  const bool helpOrAbout = &form == form3_.get() || &form == form4_.get();
  active_ = front_ && !helpOrAbout ? front_ : &form;
  changed();
}

void Program::close(Form& form) {
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
  } else if (&form == form5_.get()) {
    retire(form5_);
  }
  pickActive();
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

void Program::showEntryList() {
  if (!form2_) return;
  if (!form5_) {
    form5_ = std::make_unique<Form5>(*form2_, [this] {
      if (form2_) activate(*form2_);
    });
  }
  active_ = front_ ? front_ : form5_.get();
  changed();
}

void Program::unloadAll() {
  endNormally();
  retire(form5_);  // it shows the main window's document
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
  active_ = nullptr;
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
  active_ = &window;
  changed();
}

void Program::pickActive() {
  const std::vector<Form*> open = windows();
  bool stillOpen = false;
  for (Form* f : open) stillOpen = stillOpen || f == active_;
  if (!stillOpen) active_ = open.empty() ? nullptr : open.back();
}

}  // namespace obrel
