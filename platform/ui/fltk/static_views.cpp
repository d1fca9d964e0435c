// The controls that show something and hold no input of their own: label,
// frame, picture box, image and line.
#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/ui/fltk/control_view.h"
#include "platform/ui/fltk/icon_image.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/text_fit.h"

namespace zov::ui::fltk {

namespace {

// Draws a frame's caption: '&' marks an access key, '@' is an ordinary character.
void drawCaption(const std::string& text, int x, int y, int w, int h, Fl_Align align) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = 1;
  fl_draw(text.c_str(), x, y, w, h, align, nullptr, 0);
  fl_draw_shortcut = saved;
}

// A picture that follows the model's, rebuilt only when it changes.
class Picture {
 public:
  void set(const Icon& icon) {
    if (icon.pixels == shown_.pixels && icon.width == shown_.width) return;
    shown_ = icon;
    image_ = iconImage(icon);
  }
  Fl_RGB_Image* image() const { return image_.get(); }

 private:
  Icon shown_;
  std::unique_ptr<Fl_RGB_Image> image_;
};

class LabelView : public Fl_Widget, public View, public ShowsText {
 public:
  LabelView(Label& label, InputSink& sink) : Fl_Widget(0, 0, 0, 0), View(label, sink), label_(label) {}
  Fl_Widget& widget() override { return *this; }
  void update() override { text_ = screenText(label_.Caption); }
  int handle(int event) override { return pointerEvent(event); }
  ShownText shownText() const override { return {text_, face(label_.font), pixelSize(label_.font), w(), h(), true, true}; }

 protected:
  void draw() override {
    if (label_.BackStyle == 1) fl_rectf(x(), y(), w(), h(), screenColor(label_.BackColor));
    if (text_.empty()) return;
    fl_color(active_r() ? screenColor(label_.ForeColor) : systemColor(17));
    Fl_Align align = FL_ALIGN_TOP;
    if (label_.Alignment == 0) align |= FL_ALIGN_LEFT;
    if (label_.Alignment == 1) align |= FL_ALIGN_RIGHT;
    drawFitted(shownText(), x(), y(), align);
  }

 private:
  Label& label_;
  std::string text_;
};

// Groups keep the keyboard to the form: Tab moves through the whole form in
// its own order, not through one container's widgets. A container draws its
// own look only when it is damaged itself: when only one of its controls
// needs drawing (a text box's caret, a button pressed), FLTK clips to that
// control and draws it alone, and a background painted over it would stay,
// because the control draws only what changed.
class ContainerGroup : public Fl_Group {
 public:
  ContainerGroup() : Fl_Group(0, 0, 0, 0) {
    end();
    clip_children(1);
  }
  int handle(int event) override {
    if (event == FL_KEYBOARD || event == FL_FOCUS) return 0;
    return Fl_Group::handle(event);
  }
};

class FrameView : public ContainerGroup, public View {
 public:
  FrameView(Frame& frame, InputSink& sink) : View(frame, sink), frame_(frame) {}
  Fl_Widget& widget() override { return *this; }
  Fl_Group* group() override { return this; }
  void update() override { caption_ = screenText(frame_.Caption); }
  int handle(int event) override {
    const int taken = ContainerGroup::handle(event);
    return taken ? taken : pointerEvent(event);
  }

 protected:
  void draw() override {
    if (damage() & ~FL_DAMAGE_CHILD) drawFrame();
    draw_children();
  }

 private:
  void drawFrame() {
    fl_rectf(x(), y(), w(), h(), FL_BACKGROUND_COLOR);
    fl_font(face(frame_.font), pixelSize(frame_.font));
    const int lineHeight = fl_height();
    const int top = y() + lineHeight / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), FL_BACKGROUND_COLOR);
    if (!caption_.empty()) {
      const int width = static_cast<int>(fl_width(caption_.c_str())) + 4;
      fl_rectf(x() + 6, y(), width, lineHeight, FL_BACKGROUND_COLOR);
      fl_color(active_r() ? FL_FOREGROUND_COLOR : systemColor(17));
      drawCaption(caption_, x() + 8, y(), width, lineHeight, FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    }
  }

  Frame& frame_;
  std::string caption_;
};

class PictureBoxView : public ContainerGroup, public View {
 public:
  PictureBoxView(PictureBox& box, InputSink& sink) : View(box, sink), box_(box) {}
  Fl_Widget& widget() override { return *this; }
  Fl_Group* group() override { return this; }
  void update() override { picture_.set(box_.Picture); }
  // Its controls count from the inside of its border.
  void childOrigin(int& cx, int& cy) override {
    cx = x() + border();
    cy = y() + border();
  }
  int handle(int event) override {
    const int taken = ContainerGroup::handle(event);
    return taken ? taken : pointerEvent(event);
  }

 protected:
  void draw() override {
    if (damage() & ~FL_DAMAGE_CHILD) {
      fl_draw_box(border() ? FL_DOWN_BOX : FL_FLAT_BOX, x(), y(), w(), h(), FL_BACKGROUND_COLOR);
      if (Fl_RGB_Image* image = picture_.image()) {
        fl_push_clip(x() + border(), y() + border(), w() - 2 * border(), h() - 2 * border());
        image->draw(x() + border(), y() + border());
        fl_pop_clip();
      }
    }
    draw_children();
  }

 private:
  int border() const { return box_.BorderStyle == 1 ? 2 : 0; }
  PictureBox& box_;
  Picture picture_;
};

// An image shows its picture at the picture's own size, as the toolkit's
// image control does when it does not stretch.
class ImageView : public Fl_Widget, public View {
 public:
  ImageView(Image& image, InputSink& sink) : Fl_Widget(0, 0, 0, 0), View(image, sink), image_(image) {}
  Fl_Widget& widget() override { return *this; }
  void update() override { picture_.set(image_.picture()); }
  void place(int originX, int originY) override {
    View::place(originX, originY);
    if (const Fl_RGB_Image* picture = picture_.image()) size(picture->w(), picture->h());
  }
  int handle(int event) override { return pointerEvent(event); }

 protected:
  void draw() override {
    if (Fl_RGB_Image* picture = picture_.image()) picture->draw(x(), y());
  }

 private:
  Image& image_;
  Picture picture_;
};

class LineView : public Fl_Widget, public View {
 public:
  LineView(Line& line, InputSink& sink) : Fl_Widget(0, 0, 0, 0), View(line, sink), line_(line) {}
  Fl_Widget& widget() override { return *this; }
  void update() override {}
  void place(int originX, int originY) override {
    x1_ = originX + pixels(line_.X1);
    y1_ = originY + pixels(line_.Y1);
    x2_ = originX + pixels(line_.X2);
    y2_ = originY + pixels(line_.Y2);
    resize(std::min(x1_, x2_), std::min(y1_, y2_), std::abs(x2_ - x1_) + 1, std::abs(y2_ - y1_) + 1);
  }
  int handle(int) override { return 0; }

 protected:
  void draw() override {
    fl_color(screenColor(line_.BorderColor));
    fl_line(x1_, y1_, x2_, y2_);
  }

 private:
  Line& line_;
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

}  // namespace

View* makeStaticView(Control& control, InputSink& sink) {
  switch (control.kind()) {
    case ControlKind::Label: return new LabelView(static_cast<Label&>(control), sink);
    case ControlKind::Frame: return new FrameView(static_cast<Frame&>(control), sink);
    case ControlKind::PictureBox: return new PictureBoxView(static_cast<PictureBox&>(control), sink);
    case ControlKind::Image: return new ImageView(static_cast<Image&>(control), sink);
    case ControlKind::Line: return new LineView(static_cast<Line&>(control), sink);
    default: return nullptr;
  }
}

}  // namespace zov::ui::fltk
