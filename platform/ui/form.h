// A form: a top-level window holding a tree of controls, with its stored
// layout and its events. The model is the one truth; a backend draws it and
// feeds it input.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/win32/types.h"

namespace zov::ui {

// How a form is being unloaded (the UnloadMode of Form_QueryUnload).
inline constexpr int vbFormControlMenu = 0;  // the close box
inline constexpr int vbFormCode = 1;         // the program's own code

class Form {
 public:
  explicit Form(std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  // Controls in stored order (the order TranslateForm walks).
  const std::vector<Control*>& Controls() const { return controls_; }
  Control* control(const std::string& fullName) const;

  Property<std::string> Caption;
  Property<bool> Visible{false};
  Property<float> Left;
  Property<float> Top;
  float ClientWidth = 0;   // twips
  float ClientHeight = 0;  // twips
  Font font;
  int ScaleMode = 1;            // 1 twips
  int BorderStyle = 1;          // 1 fixed single, 3 fixed dialog
  bool closeBox = true;
  Icon icon;

  win32::HWND hWnd() const { return hwnd_; }
  bool loaded() const { return loaded_; }

  // Width of a text in the form's font, in the units of its ScaleMode.
  float TextWidth(const std::string& text) const;
  void Refresh();
  // Loads the form when needed, then makes it visible (modeless).
  void Show();
  void Hide();

  // Events.
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int& cancel, int unloadMode) {}
  virtual void Form_Unload(int& cancel) {}

  Control* activeControl() const { return active_; }
  void focus(Control* control);

 protected:
  // Puts every control and the form itself into its stored state; runs at
  // each load, so a form loaded again starts as stored.
  virtual void applyStoredLayout() = 0;
  // Declares a control; the declaration order is the stored order.
  template <typename C>
  C& add(C& control, Control* container = nullptr) {
    control.setContainer(container);
    controls_.push_back(&control);
    return control;
  }

 private:
  friend void Load(Form&);
  friend bool Unload(Form&, int);
  std::string name_;
  std::vector<Control*> controls_;
  win32::HWND hwnd_ = 0;
  bool loaded_ = false;
  Control* active_ = nullptr;
};

// Loads a form (its stored layout, then Form_Load). Loading a loaded form does nothing.
void Load(Form& form);
// Unloads a form: Form_QueryUnload, then Form_Unload; either can cancel.
// Returns true when the form is unloaded.
bool Unload(Form& form, int unloadMode = vbFormCode);

// The default instance of a form class: created on first use by the factory
// that its module registered, and alive until the program ends.
Form& DefaultInstance(const std::string& name);
bool DefaultInstanceExists(const std::string& name);
// Unloads a default instance when it exists and is loaded.
void UnloadIfLoaded(const std::string& name);
void RegisterDefaultInstance(const std::string& name, std::function<std::unique_ptr<Form>()> factory);

// Every form that exists, loaded or not, in creation order.
const std::vector<Form*>& AllForms();
bool AnyFormLoaded();

// Runs the message loop until no form is loaded or no more input will come.
// Returns true when the loop ended because every form was unloaded.
bool RunMessageLoop();

}  // namespace zov::ui
