// Text boxes: a single-line field, and a multi-line one that wraps its text
// and has a vertical scroll bar. A locked box shows its text, lets it be
// read, selected and copied, and refuses edits.
#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

#include <cstdlib>

#include "platform/text/utf8.h"
#include "platform/ui/fltk/control_view.h"
#include "platform/ui/fltk/look.h"

namespace zov::ui::fltk {

namespace {

// Characters of a text up to a byte position, and back.
int characters(const std::string& text, int bytes) {
  return static_cast<int>(text::length(std::string_view(text).substr(0, static_cast<std::size_t>(bytes))));
}
int bytes(const std::string& text, int characters) {
  return static_cast<int>(text::byteOffset(text, static_cast<std::size_t>(characters < 0 ? 0 : characters)));
}

bool isTab() { return Fl::event_key() == FL_Tab && !(Fl::event_state() & (FL_CTRL | FL_ALT)); }

class SingleLineView : public Fl_Input, public View {
 public:
  SingleLineView(TextBox& model, InputSink& sink) : Fl_Input(0, 0, 0, 0), View(model, sink), box_(model) {
    box(FL_DOWN_BOX);
    when(FL_WHEN_CHANGED);
    callback([](Fl_Widget* w, void*) { static_cast<SingleLineView*>(w)->postEdit(); });
  }
  Fl_Widget& widget() override { return *this; }
  void update() override {
    textfont(face(box_.font));
    textsize(pixelSize(box_.font));
    readonly(box_.Locked ? 1 : 0);
    if (editsInFlight_ > 0) return;
    const std::string& text = box_.Text.get();
    if (text != value()) value(text.c_str());
    if (box_.SelStart.get() != appliedSelStart_) {
      appliedSelStart_ = box_.SelStart;
      position(bytes(value(), appliedSelStart_));
    }
  }
  void editReached() override { --editsInFlight_; }
  int handle(int event) override {
    noteEvent(event);
    return Fl_Input::handle(event);
  }

 private:
  void postEdit() {
    ++editsInFlight_;
    const std::string text = value();
    post(UserInput::Kind::Edit, characters(text, position()), text);
  }

  TextBox& box_;
  int appliedSelStart_ = 0;
  int editsInFlight_ = 0;
};

class MultiLineView : public Fl_Text_Editor, public View {
 public:
  MultiLineView(TextBox& model, InputSink& sink)
      : Fl_Text_Editor(0, 0, 0, 0), View(model, sink), box_(model), buffer_(new Fl_Text_Buffer) {
    buffer(buffer_);
    buffer_->add_modify_callback(modified, this);
    box(FL_DOWN_BOX);
    color(FL_BACKGROUND2_COLOR);
    wrap_mode(WRAP_AT_BOUNDS, 0);
  }
  ~MultiLineView() override {
    buffer_->remove_modify_callback(modified, this);
    buffer(nullptr);
    delete buffer_;
  }
  Fl_Widget& widget() override { return *this; }
  void update() override {
    textfont(face(box_.font));
    textsize(pixelSize(box_.font));
    scrollbar_width(box_.ScrollBars == 2 || box_.ScrollBars == 3 ? 16 : 0);
    if (editsInFlight_ > 0) return;
    const std::string text = screenText(box_.Text);
    if (text != shownText()) {
      applying_ = true;
      buffer_->text(text.c_str());
      applying_ = false;
      insert_position(0);
      scroll(0, 0);
    }
    if (box_.SelStart.get() != appliedSelStart_) {
      appliedSelStart_ = box_.SelStart;
      insert_position(bytes(text, screenCharacters(appliedSelStart_)));
      show_insert_position();
    }
  }
  void editReached() override { --editsInFlight_; }
  int handle(int event) override {
    noteEvent(event);
    if (event == FL_KEYBOARD && isTab()) return 0;
    if (box_.Locked && refused(event)) return 1;
    return Fl_Text_Editor::handle(event);
  }

 private:
  std::string shownText() const {
    char* raw = buffer_->text();
    std::string text(raw);
    std::free(raw);
    return text;
  }
  // The model counts CR LF as two characters; the screen has one LF.
  int screenCharacters(int modelCharacters) const {
    const std::string model = box_.Text.get();
    const std::string before = model.substr(0, static_cast<std::size_t>(bytes(model, modelCharacters)));
    return static_cast<int>(text::length(screenText(before)));
  }
  // What a locked box does not take: typing, pasting, dropping.
  static bool refused(int event) {
    if (event == FL_PASTE || event == FL_DND_ENTER || event == FL_DND_DRAG || event == FL_DND_RELEASE) return true;
    if (event != FL_KEYBOARD) return false;
    switch (Fl::event_key()) {
      case FL_Left: case FL_Right: case FL_Up: case FL_Down:
      case FL_Home: case FL_End: case FL_Page_Up: case FL_Page_Down:
        return false;
      default:
        if (Fl::event_state() & FL_CTRL) return Fl::event_key() != 'c' && Fl::event_key() != 'a';
        return true;
    }
  }
  static void modified(int, int inserted, int deleted, int, const char*, void* self) {
    auto* view = static_cast<MultiLineView*>(self);
    if (!view->applying_ && (inserted || deleted)) view->postEdit();
  }
  void postEdit() {
    ++editsInFlight_;
    const std::string shown = shownText();
    // The display is told of the edit before this view (it registered first), so its caret has moved already.
    const int caret = static_cast<int>(text::length(modelText(shown.substr(0, static_cast<std::size_t>(insert_position())))));
    post(UserInput::Kind::Edit, caret, modelText(shown));
  }

  TextBox& box_;
  Fl_Text_Buffer* buffer_;
  bool applying_ = false;
  int appliedSelStart_ = 0;
  int editsInFlight_ = 0;
};

}  // namespace

View* makeTextView(TextBox& box, InputSink& sink) {
  if (box.MultiLine) return new MultiLineView(box, sink);
  return new SingleLineView(box, sink);
}

}  // namespace zov::ui::fltk
