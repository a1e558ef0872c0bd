#include "shell/program.h"

namespace obrel {

Program::Program(Services services) : services_(std::move(services)) {}

Program::~Program() = default;

void Program::startWithSplash() {
  form1_ = std::make_unique<Form1>(*this);
  form1_->Form_Load();
  active_ = form1_.get();
  changed();
}

void Program::startMain() {
  form2_ = std::make_unique<Form2>(services_, *this);
  form2_->Form_Load();
  form2_->focusFirst();
  active_ = form2_.get();
  changed();
}

std::vector<Form*> Program::windows() const {
  std::vector<Form*> open;
  if (form1_) open.push_back(form1_.get());
  if (form2_) open.push_back(form2_.get());
  return open;
}

void Program::activate(Form& form) {
  active_ = &form;
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
  }
  pickActive();
  changed();
}

void Program::collect() { closed_.clear(); }

void Program::showHelp() {}

void Program::showAbout() {}

void Program::unloadAll() {
  retire(form2_);
  if (form1_) form1_->Timer1.setEnabled(false);
  retire(form1_);
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

void Program::retire(std::unique_ptr<Form1>& form) {
  if (form) closed_.push_back(std::move(form));
}

void Program::retire(std::unique_ptr<Form2>& form) {
  if (form) closed_.push_back(std::move(form));
}

void Program::pickActive() {
  const std::vector<Form*> open = windows();
  bool stillOpen = false;
  for (Form* f : open) stillOpen = stillOpen || f == active_;
  if (!stillOpen) active_ = open.empty() ? nullptr : open.back();
}

}  // namespace obrel
