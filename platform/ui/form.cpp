#include "form.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "platform/ui/backend.h"
#include "platform/win32/window_manager.h"

namespace zov::ui {

namespace {
// Never destroyed: default instances are destroyed at exit and still unregister themselves.
std::vector<Form*>& forms() {
  static auto* f = new std::vector<Form*>;
  return *f;
}
}  // namespace

Form::Form(std::string name) : name_(std::move(name)) {
  forms().push_back(this);
  Caption.onSet([this](const std::string&) {
    if (loaded_) backend().changed(*this);
  });
  Visible.onSet([this](const bool&) {
    if (!loaded_ && Visible.get()) {
      Visible.reset(false);
      Load(*this);
      if (!loaded_) return;
      Visible.reset(true);
    }
    if (loaded_) backend().formVisibility(*this);
  });
}

Form::~Form() {
  auto& f = forms();
  f.erase(std::remove(f.begin(), f.end(), this), f.end());
  if (hwnd_) win32::UnregisterWindow(hwnd_);
}

Control* Form::control(const std::string& fullName) const {
  for (Control* c : controls_) {
    if (c->fullName() == fullName) return c;
  }
  return nullptr;
}

float Form::TextWidth(const std::string& text) const {
  const float twips = backend().textWidth(font, text);
  // Twips per unit of the fixed scale modes: points, pixels, characters, inches, millimetres, centimetres.
  switch (ScaleMode) {
    case 2: return twips / 20.0f;
    case 3: return twips / backend().twipsPerPixelX();
    case 4: return twips / 120.0f;
    case 5: return twips / 1440.0f;
    case 6: return twips / (1440.0f / 25.4f);
    case 7: return twips / (1440.0f / 2.54f);
    default: return twips;  // twips, or a scale of the program's own
  }
}

void Form::Refresh() {
  if (loaded_) backend().refresh(*this);
}

void Form::Show() {
  Load(*this);
  if (loaded_ && !Visible.get()) Visible = true;
}

void Form::Hide() {
  if (loaded_ && Visible.get()) Visible = false;
}

void Form::focus(Control* control) {
  if (active_ == control) return;
  Control* previous = active_;
  active_ = control;
  if (previous && previous->LostFocus) previous->LostFocus();
  if (control && active_ == control && control->GotFocus) control->GotFocus();
  if (loaded_) backend().changed(*this);
}

void Load(Form& form) {
  if (form.loaded_) return;
  form.Visible.reset(false);
  form.active_ = nullptr;
  form.applyStoredLayout();
  form.loaded_ = true;
  form.hwnd_ = win32::RegisterWindow([&form] { return form.Caption.get(); });
  backend().formLoaded(form);
  form.Form_Load();
}

bool Unload(Form& form, int unloadMode) {
  if (!form.loaded_) return true;
  int cancel = 0;
  form.Form_QueryUnload(cancel, unloadMode);
  if (cancel) return false;
  form.Form_Unload(cancel);
  if (cancel) return false;
  if (!form.loaded_) return true;
  form.loaded_ = false;
  form.Visible.reset(false);
  form.active_ = nullptr;
  win32::UnregisterWindow(form.hwnd_);
  form.hwnd_ = 0;
  backend().formUnloaded(form);
  return true;
}

namespace {
struct DefaultInstances {
  std::map<std::string, std::function<std::unique_ptr<Form>()>> factories;
  std::map<std::string, std::unique_ptr<Form>> instances;
};
DefaultInstances& defaults() {
  static DefaultInstances d;
  return d;
}
}  // namespace

Form& DefaultInstance(const std::string& name) {
  auto& d = defaults();
  auto& instance = d.instances[name];
  if (!instance) {
    const auto factory = d.factories.find(name);
    if (factory == d.factories.end()) throw std::logic_error("no form class " + name + " is registered");
    instance = factory->second();
  }
  return *instance;
}

bool DefaultInstanceExists(const std::string& name) { return defaults().instances.count(name) && defaults().instances[name]; }

void UnloadIfLoaded(const std::string& name) {
  if (DefaultInstanceExists(name)) Unload(DefaultInstance(name));
}

void RegisterDefaultInstance(const std::string& name, std::function<std::unique_ptr<Form>()> factory) {
  defaults().factories[name] = std::move(factory);
}

const std::vector<Form*>& AllForms() { return forms(); }

bool AnyFormLoaded() {
  return std::any_of(forms().begin(), forms().end(), [](const Form* f) { return f->loaded(); });
}

bool RunMessageLoop() {
  while (AnyFormLoaded()) {
    if (!backend().waitForInput()) return !AnyFormLoaded();
  }
  return true;
}

}  // namespace zov::ui
