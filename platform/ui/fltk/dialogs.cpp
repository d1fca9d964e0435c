#include "platform/ui/fltk/dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/ui/fltk/classic_button.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/text_fit.h"
#include "platform/ui/fltk/x11_window.h"

namespace zov::ui::fltk {

namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 420;

Fl_Font dialogFace() { return face(smallFont()); }
int dialogSize() { return pixelSize(smallFont()); }

std::string buttonCaption(int answer) {
  switch (answer) {
    case vbOK: return "OK";
    case vbCancel: return "Cancel";
    case vbAbort: return "&Abort";
    case vbRetry: return "&Retry";
    case vbIgnore: return "&Ignore";
    case vbYes: return "&Yes";
    case vbNo: return "&No";
    default: return "?";
  }
}

// Text shown as it stands: no access keys, no symbols; fitted into its room.
class TextBlock : public Fl_Widget, public ShowsText {
 public:
  TextBlock(int x, int y, int w, int h, std::string text, bool wraps)
      : Fl_Widget(x, y, w, h), text_(std::move(text)), wraps_(wraps) {}
  ShownText shownText() const override { return {text_, dialogFace(), dialogSize(), w(), h(), wraps_, false}; }

 protected:
  void draw() override {
    fl_color(FL_FOREGROUND_COLOR);
    drawFitted(shownText(), x(), y(), FL_ALIGN_LEFT | FL_ALIGN_TOP);
  }

 private:
  std::string text_;
  bool wraps_;
};

// The four icons of the message box, drawn in 32 x 32 pixels.
class BoxIcon : public Fl_Widget {
 public:
  BoxIcon(int x, int y, int icon) : Fl_Widget(x, y, kIconSize, kIconSize), icon_(icon) {}

 protected:
  void draw() override {
    const int cx = x() + kIconSize / 2, cy = y() + kIconSize / 2;
    switch (icon_) {
      case 16:  // stop: a red disc with a white cross
        fl_color(fl_rgb_color(255, 0, 0));
        fl_pie(x() + 1, y() + 1, 30, 30, 0, 360);
        fl_color(fl_rgb_color(128, 0, 0));
        fl_arc(x() + 1, y() + 1, 30, 30, 0, 360);
        fl_color(FL_WHITE);
        fl_line_style(FL_SOLID | FL_CAP_ROUND, 3);
        fl_line(cx - 7, cy - 7, cx + 7, cy + 7);
        fl_line(cx - 7, cy + 7, cx + 7, cy - 7);
        fl_line_style(0);
        break;
      case 48:  // exclamation: a yellow triangle with a black mark
        fl_color(fl_rgb_color(255, 255, 0));
        fl_polygon(cx, y() + 1, x() + 31, y() + 30, x() + 1, y() + 30);
        fl_color(FL_BLACK);
        fl_loop(cx, y() + 1, x() + 31, y() + 30, x() + 1, y() + 30);
        glyph("!", cx, cy + 3, FL_BLACK);
        break;
      case 32:  // question: a white bubble with a blue question mark
      case 64:  // information: a white bubble with a blue letter i
        fl_color(FL_WHITE);
        fl_pie(x() + 1, y() + 1, 30, 30, 0, 360);
        fl_color(fl_rgb_color(128, 128, 128));
        fl_arc(x() + 1, y() + 1, 30, 30, 0, 360);
        glyph(icon_ == 32 ? "?" : "i", cx, cy, fl_rgb_color(0, 0, 255));
        break;
      default:
        break;
    }
  }

 private:
  static void glyph(const char* text, int cx, int cy, Fl_Color color) {
    fl_font(face(Font{"MS Sans Serif", 16.0f, true}), 22);
    fl_color(color);
    fl_draw(text, cx - 16, cy - 16, 32, 32, FL_ALIGN_CENTER, nullptr, 0);
  }
  int icon_;
};

// A modal window that runs until one of its buttons (or Enter, Escape or
// the close box, where they count) gives an answer.
class Dialog : public Fl_Double_Window {
 public:
  Dialog(int w, int h, const std::string& title) : Fl_Double_Window(w, h) {
    end();
    copy_label(screenText(title).c_str());
    size_range(w, h, w, h);
    set_modal();
    callback([](Fl_Widget* window, void*) {
      auto* self = static_cast<Dialog*>(window);
      if (self->escapeAnswer_) self->answer_ = self->escapeAnswer_;
    });
  }

  ClassicButton& addButton(int x, int y, int w, int answer) {
    auto* button = new ClassicButton(x, y, w, kButtonHeight);
    button->labelfont(dialogFace());
    button->labelsize(dialogSize());
    button->caption(buttonCaption(answer));
    button->callback([](Fl_Widget* b, void* a) {
      static_cast<Dialog*>(b->window())->answer_ = static_cast<int>(reinterpret_cast<std::intptr_t>(a));
    }, reinterpret_cast<void*>(static_cast<std::intptr_t>(answer)));
    add(button);
    return *button;
  }
  // What Escape and the close box answer; 0 when they do nothing.
  void escapeAnswer(int answer) { escapeAnswer_ = answer; }
  // What Enter answers when no button has the focus.
  void enterAnswer(int answer) { enterAnswer_ = answer; }

  int run(Fl_Widget& focus, bool keepOnTop) {
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
    show();
    fixedTitleBar(*this);
    if (keepOnTop) keepAbove(*this);
    focus.take_focus();
    while (!answer_ && shown()) Fl::wait();
    hide();
    return answer_ ? answer_ : escapeAnswer_;
  }

  int handle(int event) override {
    const bool enter = Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter;
    if (event == FL_KEYBOARD && enter && enterAnswer_) {
      answer_ = enterAnswer_;
      return 1;
    }
    return Fl_Double_Window::handle(event);
  }

 private:
  int answer_ = 0;
  int escapeAnswer_ = 0;
  int enterAnswer_ = 0;
};

}  // namespace

int runMessageBox(const MessageBoxRequest& request) {
  const std::vector<int> answers = request.buttons();
  const int icon = request.icon();
  const bool hasIcon = icon == 16 || icon == 32 || icon == 48 || icon == 64;
  const std::string prompt = screenText(request.prompt);

  fl_font(dialogFace(), dialogSize());
  int textWidth = kMaxTextWidth, textHeight = 0;
  fl_measure(prompt.c_str(), textWidth, textHeight, 0);
  textWidth += 2;
  const int textX = hasIcon ? kMargin + kIconSize + kMargin : kMargin;
  const int contentHeight = std::max(hasIcon ? kIconSize : 0, textHeight);
  const int textY = kMargin + (contentHeight - textHeight) / 2;
  const int count = static_cast<int>(answers.size());
  const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  const int width = std::max(textX + textWidth + kMargin, buttonsWidth + 2 * kMargin);
  const int buttonsY = kMargin + contentHeight + 16;
  const int height = buttonsY + kButtonHeight + kMargin;

  Dialog box(width, height, request.title);
  if (hasIcon) box.add(new BoxIcon(kMargin, kMargin, icon));
  box.add(new TextBlock(textX, textY, textWidth, textHeight, prompt, true));
  std::vector<ClassicButton*> buttons;
  int x = (width - buttonsWidth) / 2;
  for (int answer : answers) {
    buttons.push_back(&box.addButton(x, buttonsY, kButtonWidth, answer));
    x += kButtonWidth + kButtonGap;
  }
  // Escape and the close box count as Cancel where there is one, and as OK in a box that has only OK.
  if (std::find(answers.begin(), answers.end(), vbCancel) != answers.end()) box.escapeAnswer(vbCancel);
  if (answers.size() == 1 && answers.front() == vbOK) box.escapeAnswer(vbOK);
  const auto first = static_cast<std::size_t>(request.defaultButton());
  const int answer = box.run(*buttons[first < buttons.size() ? first : 0], request.systemModal());
  return answer ? answer : request.defaultAnswer();
}

std::optional<std::string> runInputBox(const std::string& prompt, const std::string& title, const std::string& initial) {
  constexpr int kWidth = 360, kHeight = 150, kButtonsX = 283, kButtonsWidth = 70;
  Dialog box(kWidth, kHeight, title);
  // The prompt's lines are its own: a line too long is drawn smaller, not wrapped.
  box.add(new TextBlock(10, 10, kButtonsX - 20, 90, screenText(prompt), false));
  box.addButton(kButtonsX, 10, kButtonsWidth, vbOK);
  box.addButton(kButtonsX, 10 + kButtonHeight + 6, kButtonsWidth, vbCancel);
  auto* input = new Fl_Input(10, kHeight - 10 - 21, kWidth - 20, 21);
  input->box(FL_DOWN_BOX);
  input->textfont(dialogFace());
  input->textsize(dialogSize());
  input->value(initial.c_str());
  input->position(input->size(), 0);
  box.add(input);
  box.escapeAnswer(vbCancel);
  box.enterAnswer(vbOK);
  if (box.run(*input, false) != vbOK) return std::nullopt;
  return std::string(input->value());
}

}  // namespace zov::ui::fltk
