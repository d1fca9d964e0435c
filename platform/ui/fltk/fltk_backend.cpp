#include "platform/ui/fltk/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cmath>
#include <deque>
#include <map>
#include <stdexcept>

#include "platform/ui/fltk/dialogs.h"
#include "platform/ui/fltk/form_window.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/x11_window.h"
#include "platform/ui/form.h"

namespace zov::ui {

namespace {

using fltk::FormWindow;
using fltk::UserInput;

class FltkBackend final : public Backend, private fltk::InputSink {
 public:
  FltkBackend() {
    fltk::openDisplay();
    fltk::installLook();
  }
  ~FltkBackend() override = default;

  void formLoaded(Form& form) override { windows_[&form] = std::make_unique<FormWindow>(form, static_cast<fltk::InputSink&>(*this)); }
  void formVisibility(Form& form) override {
    if (FormWindow* w = window(form)) w->showOrHide();
  }
  void formUnloaded(Form& form) override { windows_.erase(&form); }
  void changed(Control& control) override {
    if (FormWindow* w = window(control.form())) w->sync(control);
  }
  void changed(Form& form) override {
    if (FormWindow* w = window(form)) w->syncForm();
  }
  void refresh(Control& control) override {
    changed(control);
    Fl::flush();
  }
  void refresh(Form& form) override {
    if (FormWindow* w = window(form)) {
      for (Control* c : form.Controls()) w->sync(*c);
      w->syncForm();
    }
    Fl::flush();
  }
  int messageBox(const MessageBoxRequest& request) override { return fltk::runMessageBox(request); }
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& initial) override {
    return fltk::runInputBox(prompt, title, initial);
  }
  void doEvents() override {
    Fl::check();
    runPending();
  }
  bool waitForInput() override {
    while (pending_.empty()) {
      if (!anyWindowShown()) return false;
      Fl::wait();
    }
    runPending();
    return true;
  }
  float textWidth(const Font& font, const std::string& text) const override {
    fl_font(fltk::face(font), fltk::pixelSize(font));
    return static_cast<float>(std::lround(fl_width(text.c_str(), static_cast<int>(text.size())))) * twipsPerPixelX();
  }

 private:
  FormWindow* window(const Form& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
  }
  bool anyWindowShown() const {
    for (const auto& [form, w] : windows_) {
      if (w->shown()) return true;
    }
    return false;
  }
  void post(UserInput input) override { pending_.push_back(std::move(input)); }
  // Runs the input in the order it came; an event handler may run further input itself (DoEvents).
  void runPending() {
    while (!pending_.empty()) {
      const UserInput input = pending_.front();
      pending_.pop_front();
      run(input);
    }
  }
  void run(const UserInput& input);

  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  std::deque<UserInput> pending_;
};

void FltkBackend::run(const UserInput& input) {
  Form& form = *input.form;
  if (input.kind == UserInput::Kind::Edit) {
    if (FormWindow* w = window(form)) {
      if (fltk::View* v = w->view(*input.control)) v->editReached();
    }
  }
  if (!form.loaded() || !form.Visible) return;
  if (input.kind == UserInput::Kind::Close) {
    if (form.closeBox) Unload(form, vbFormControlMenu);
    return;
  }
  Control& c = *input.control;
  if (c.shown() && c.usable()) {
    switch (input.kind) {
      case UserInput::Kind::Focus:
        form.focus(&c);
        break;
      case UserInput::Kind::Click:
        if (c.kind() == ControlKind::CheckBox) {
          auto& box = static_cast<CheckBox&>(c);
          box.Value = box.Value.get() ? 0 : 1;
        } else if (c.kind() == ControlKind::OptionButton) {
          static_cast<OptionButton&>(c).Value = true;
        } else if (c.Click) {
          c.Click();
        }
        break;
      case UserInput::Kind::Edit: {
        auto& box = static_cast<TextBox&>(c);
        if (!box.Locked) {
          box.Text = input.item;
          box.SelStart = input.index;
        }
        break;
      }
      case UserInput::Kind::Choose:
        if (c.kind() == ControlKind::ComboBox) {
          static_cast<ComboBox&>(c).ListIndex = input.index;
        } else if (c.kind() == ControlKind::DriveListBox) {
          static_cast<DriveListBox&>(c).Drive = input.item;
        } else if (c.kind() == ControlKind::DirListBox) {
          static_cast<DirListBox&>(c).Path = input.item;
        }
        break;
      case UserInput::Kind::Close:
        break;
    }
  }
  // The widget may show what the model refused (a box ticked on a disabled control, a locked text edited).
  if (input.kind != UserInput::Kind::Focus) {
    if (FormWindow* w = window(form)) w->sync(c);
  }
}

}  // namespace

bool displayAvailable() { return fltk::displayReachable(); }

std::unique_ptr<Backend> makeFltkBackend() {
  if (!displayAvailable()) throw std::runtime_error("no display can be opened (DISPLAY is not set or not reachable)");
  return std::make_unique<FltkBackend>();
}

}  // namespace zov::ui
