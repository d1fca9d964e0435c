#include "platform/ui/fltk/form_window.h"

#include <FL/Fl.H>

#include <stdexcept>
#include <vector>

#include "platform/ui/fltk/icon_image.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/x11_window.h"

namespace zov::ui::fltk {

namespace {

// Drawn on their container rather than being windows of their own.
bool lightweight(const Control& c) {
  return c.kind() == ControlKind::Label || c.kind() == ControlKind::Image || c.kind() == ControlKind::Line;
}

}  // namespace

FormWindow::FormWindow(Form& form, InputSink& backend)
    : Fl_Double_Window(pixels(form.ClientWidth), pixels(form.ClientHeight)), form_(form), backend_(backend) {
  end();
  size_range(w(), h(), w(), h());
  callback([](Fl_Widget* w, void*) {
    // Escape does not close a form; the close box does.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    auto* self = static_cast<FormWindow*>(w);
    self->post({UserInput::Kind::Close, &self->form_, nullptr, -1, {}});
  });
  build(nullptr, *this);
  for (Control* c : form_.Controls()) {
    if (c->kind() != ControlKind::Menu && !views_.count(c)) {
      throw std::logic_error(c->fullName() + " of " + form_.name() + " lies in a control that cannot hold controls");
    }
  }
  for (Control* c : form_.Controls()) {
    if (View* v = view(*c)) applyState(*c, *v);
  }
  placeChildren(nullptr, 0, 0);
  syncForm();
}

View* FormWindow::view(const Control& control) const {
  const auto it = views_.find(&control);
  return it == views_.end() ? nullptr : it->second;
}

void FormWindow::build(Control* container, Fl_Group& group) {
  std::vector<Control*> light, windowed;
  for (Control* c : form_.Controls()) {
    if (c->container() == container) (lightweight(*c) ? light : windowed).push_back(c);
  }
  // FLTK draws later children over earlier ones: the first stored comes last.
  std::vector<Control*> order(light.rbegin(), light.rend());
  order.insert(order.end(), windowed.rbegin(), windowed.rend());
  for (Control* c : order) {
    View* v = makeView(*c, *this);
    if (!v) continue;
    group.add(v->widget());
    views_[c] = v;
    if (Fl_Group* inner = v->group()) build(c, *inner);
  }
}

void FormWindow::placeChildren(const Control* container, int originX, int originY) {
  for (Control* c : form_.Controls()) {
    if (c->container() != container) continue;
    View* v = view(*c);
    if (!v) continue;
    v->place(originX, originY);
    if (v->group()) {
      int x = 0, y = 0;
      v->childOrigin(x, y);
      placeChildren(c, x, y);
    }
  }
}

void FormWindow::placeTree(Control& control) {
  View* v = view(control);
  int x = 0, y = 0;
  if (Control* container = control.container()) {
    if (View* outer = view(*container)) outer->childOrigin(x, y);
  }
  v->place(x, y);
  if (v->group()) {
    v->childOrigin(x, y);
    placeChildren(&control, x, y);
  }
}

void FormWindow::applyState(Control& control, View& v) {
  Fl_Widget& w = v.widget();
  if (control.Visible.get() != (w.visible() != 0)) control.Visible ? w.show() : w.hide();
  if (control.Enabled.get() != (w.active() != 0)) control.Enabled ? w.activate() : w.deactivate();
  const std::string& tip = control.ToolTipText.get();
  if (tip != (w.tooltip() ? w.tooltip() : "")) w.copy_tooltip(tip.empty() ? nullptr : tip.c_str());
  v.update();
}

void FormWindow::sync(Control& control) {
  View* v = view(control);
  if (!v) return;
  applyState(control, *v);  // first: an image's size is its picture's
  placeTree(control);
  redraw();
}

void FormWindow::syncForm() {
  const std::string caption = screenText(form_.Caption);
  if (!label() || caption != label()) copy_label(caption.c_str());
  applyFocus();
}

void FormWindow::showOrHide() {
  if (!form_.Visible) {
    hide();
    return;
  }
  if (!shownOnce_) {
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
    shownOnce_ = true;
  }
  icon_ = iconImage(form_.icon);
  icon(icon_.get());
  show();
  fixedTitleBar(*this);  // the forms are fixed single or fixed dialog windows
  applyFocus();
}

void FormWindow::applyFocus() {
  Control* active = form_.activeControl();
  View* v = active ? view(*active) : nullptr;
  if (!v || !shown()) return;
  Fl_Widget& w = v->widget();
  if (Fl::focus() == &w || !w.visible_r() || !w.active_r()) return;
  applyingFocus_ = true;
  w.take_focus();
  applyingFocus_ = false;
}

void FormWindow::moveFocus(bool forward) {
  std::vector<Control*> stops;
  for (Control* c : form_.Controls()) {
    View* v = view(*c);
    if (v && c->takesFocus() && c->shown() && c->usable() && v->widget().visible_r()) stops.push_back(c);
  }
  if (stops.empty()) return;
  const auto n = static_cast<int>(stops.size());
  int at = -1;
  for (int k = 0; k < n; ++k) {
    if (stops[static_cast<std::size_t>(k)] == form_.activeControl()) at = k;
  }
  const int next = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
  view(*stops[static_cast<std::size_t>(next)])->widget().take_focus();
}

int FormWindow::handle(int event) {
  switch (event) {
    case FL_FOCUS:
      applyFocus();
      return 1;
    case FL_KEYBOARD:
      if (Fl::event_key() == FL_Tab && !(Fl::event_state() & (FL_CTRL | FL_ALT))) {
        moveFocus(!(Fl::event_state() & FL_SHIFT));
        return 1;
      }
      return 0;
    default:
      return Fl_Double_Window::handle(event);
  }
}

void FormWindow::post(UserInput input) {
  if (applyingFocus_ && input.kind == UserInput::Kind::Focus) return;
  backend_.post(std::move(input));
}

}  // namespace zov::ui::fltk
