// The lists: a drop-down list (the combo box and the drive list) and the
// folder list with its tree of open and closed folders.
#include <FL/Fl.H>
#include <FL/Fl_Browser_.H>
#include <FL/Fl_Menu_.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/ui/fltk/control_view.h"
#include "platform/ui/fltk/folder_tree.h"
#include "platform/ui/fltk/look.h"

namespace zov::ui::fltk {

namespace {

bool sameDrive(const std::string& a, const std::string& b) {
  return a.size() >= 2 && b.size() >= 2 && a[1] == b[1] &&
         std::tolower(static_cast<unsigned char>(a[0])) == std::tolower(static_cast<unsigned char>(b[0]));
}

// A field showing the chosen item, with a button that drops the list down.
class DropDownView : public Fl_Menu_, public View {
 public:
  DropDownView(Control& control, InputSink& sink) : Fl_Menu_(0, 0, 0, 0), View(control, sink) {
    box(FL_DOWN_BOX);
    down_box(FL_FLAT_BOX);
  }
  Fl_Widget& widget() override { return *this; }

  void update() override {
    std::vector<std::string> items;
    int chosen = -1;
    const Control& c = control();
    if (c.kind() == ControlKind::ComboBox) {
      const auto& box = static_cast<const ComboBox&>(c);
      for (int i = 0; i < box.ListCount(); ++i) items.push_back(box.List(i));
      chosen = box.ListIndex;
    } else {
      const auto& drives = static_cast<const DriveListBox&>(c);
      items = drives.List();
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (sameDrive(items[i], drives.Drive)) chosen = static_cast<int>(i);
      }
    }
    fontFace_ = face(c.font);
    fontSize_ = pixelSize(c.font);
    textfont(fontFace_);
    textsize(fontSize_);
    chosen_ = chosen;
    if (items != items_) {
      items_ = std::move(items);
      menu(nullptr);
      entries_.assign(items_.size() + 1, Fl_Menu_Item{});
      for (std::size_t i = 0; i < items_.size(); ++i) entries_[i].text = items_[i].c_str();
      menu(entries_.data());
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
      entries_[i].labelfont_ = fontFace_;
      entries_[i].labelsize_ = static_cast<Fl_Fontsize>(fontSize_);
    }
  }

  int handle(int event) override {
    noteEvent(event);
    switch (event) {
      case FL_PUSH:
        if (Fl::event_button() != FL_LEFT_MOUSE) return 1;
        if (Fl::visible_focus()) Fl::focus(this);
        dropDown();
        return 1;
      case FL_FOCUS:
      case FL_UNFOCUS:
        redraw();
        return 1;
      case FL_KEYBOARD:
        return Fl::focus() == this ? key() : 0;
      case FL_ENTER:
      case FL_LEAVE:
        return 1;
      default:
        return 0;
    }
  }

 protected:
  void draw() override {
    const bool focused = Fl::focus() == this;
    draw_box(box(), x(), y(), w(), h(), active_r() ? FL_BACKGROUND2_COLOR : FL_BACKGROUND_COLOR);
    const int buttonWidth = std::min(16, w() - 4);
    const int bx = x() + w() - 2 - buttonWidth, by = y() + 2, bh = h() - 4;
    draw_box(dropped_ ? kPressedBox : FL_UP_BOX, bx, by, buttonWidth, bh, FL_BACKGROUND_COLOR);
    const int cx = bx + buttonWidth / 2 + (dropped_ ? 1 : 0), cy = by + bh / 2 + (dropped_ ? 1 : 0);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : systemColor(17));
    fl_polygon(cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 2);

    const int tx = x() + 3, ty = y() + 3, tw = bx - tx - 1, th = h() - 6;
    if (focused) fl_rectf(tx, ty, tw, th, FL_SELECTION_COLOR);
    if (chosen_ >= 0 && chosen_ < static_cast<int>(items_.size())) {
      fl_font(fontFace_, fontSize_);
      fl_color(!active_r() ? systemColor(17) : focused ? systemColor(14) : systemColor(8));
      fl_draw(items_[static_cast<std::size_t>(chosen_)].c_str(), tx + 1, ty, tw - 2, th,
              FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP, nullptr, 0);
    }
    if (focused) draw_focus(FL_NO_BOX, tx, ty, tw, th);
  }

 private:
  void dropDown() {
    if (items_.empty()) return;
    dropped_ = true;
    redraw();
    const Fl_Menu_Item* picked = menu()->pulldown(x(), y(), w(), h(), nullptr, this);
    dropped_ = false;
    redraw();
    if (picked) choose(static_cast<int>(picked - menu()));
  }
  // Up and Down choose the item before or after the chosen one; Alt+Down or F4 drop the list down.
  int key() {
    const int last = static_cast<int>(items_.size()) - 1;
    switch (Fl::event_key()) {
      case FL_Up:
      case FL_Left:
        if (chosen_ > 0) choose(chosen_ - 1);
        return 1;
      case FL_Down:
        if (Fl::event_state() & FL_ALT) {
          dropDown();
        } else if (chosen_ < last) {
          choose(chosen_ + 1);
        }
        return 1;
      case FL_Right:
        if (chosen_ < last) choose(chosen_ + 1);
        return 1;
      case FL_Home:
        if (last >= 0) choose(0);
        return 1;
      case FL_End:
        if (last >= 0) choose(last);
        return 1;
      case FL_F + 4:
        dropDown();
        return 1;
      default:
        return 0;
    }
  }
  void choose(int index) { post(UserInput::Kind::Choose, index, items_[static_cast<std::size_t>(index)]); }

  std::vector<std::string> items_;
  std::vector<Fl_Menu_Item> entries_;
  int chosen_ = -1;
  bool dropped_ = false;
  Fl_Font fontFace_ = FL_HELVETICA;
  int fontSize_ = 11;
};

// The folder list: a click selects a row, a double click or Enter opens its folder.
class FolderListView : public Fl_Browser_, public View {
 public:
  FolderListView(DirListBox& list, InputSink& sink) : Fl_Browser_(0, 0, 0, 0), View(list, sink), list_(list) {
    type(FL_HOLD_BROWSER);
    box(FL_DOWN_BOX);
    color(FL_BACKGROUND2_COLOR);
    has_scrollbar(VERTICAL);
  }
  Fl_Widget& widget() override { return *this; }

  void update() override {
    fontFace_ = face(list_.font);
    fontSize_ = pixelSize(list_.font);
    fl_font(fontFace_, fontSize_);
    rowHeight_ = std::max(fl_height() + 2, 17);
    auto rows = folderRows(list_.Path, list_.List());
    if (rows.size() != rows_.size() ||
        !std::equal(rows.begin(), rows.end(), rows_.begin(), [](const FolderRow& a, const FolderRow& b) {
          return a.path == b.path && a.open == b.open;
        })) {
      rows_ = std::move(rows);
      new_list();
      const int current = currentFolderRow(rows_);
      if (current >= 0) {
        select_only(&rows_[static_cast<std::size_t>(current)], 0);
        display(&rows_[static_cast<std::size_t>(current)]);
      }
    }
  }

  int handle(int event) override {
    noteEvent(event);
    if (event == FL_PUSH) {
      const bool doubled = Fl::event_clicks() > 0;
      const int taken = Fl_Browser_::handle(event);
      if (doubled && Fl::event_button() == FL_LEFT_MOUSE) openSelected();
      return taken;
    }
    if (event == FL_KEYBOARD && Fl::focus() == this &&
        (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
      openSelected();
      return 1;
    }
    return Fl_Browser_::handle(event);
  }

 protected:
  void* item_first() const override { return rows_.empty() ? nullptr : row(0); }
  void* item_next(void* item) const override {
    const std::size_t i = index(item) + 1;
    return i < rows_.size() ? row(i) : nullptr;
  }
  void* item_prev(void* item) const override {
    const std::size_t i = index(item);
    return i > 0 ? row(i - 1) : nullptr;
  }
  void* item_last() const override { return rows_.empty() ? nullptr : row(rows_.size() - 1); }
  int item_height(void*) const override { return rowHeight_; }
  int item_width(void* item) const override {
    const FolderRow& r = rows_[index(item)];
    fl_font(fontFace_, fontSize_);
    return r.depth * kIndent + kIconWidth + 6 + static_cast<int>(fl_width(r.text.c_str()));
  }
  void item_draw(void* item, int x, int y, int w, int h) const override {
    const FolderRow& r = rows_[index(item)];
    const int ix = x + 2 + r.depth * kIndent;
    drawFolder(ix, y + (h - 12) / 2, r.open);
    fl_font(fontFace_, fontSize_);
    const bool selected = item_selected(item) != 0;
    fl_color(!active_r() ? systemColor(17) : selected ? systemColor(14) : systemColor(8));
    fl_draw(r.text.c_str(), ix + kIconWidth + 4, y, w - (ix + kIconWidth + 4 - x), h,
            FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP, nullptr, 0);
  }

 private:
  static constexpr int kIndent = 9;
  static constexpr int kIconWidth = 15;

  void* row(std::size_t i) const { return const_cast<FolderRow*>(&rows_[i]); }
  std::size_t index(void* item) const { return static_cast<std::size_t>(static_cast<const FolderRow*>(item) - rows_.data()); }

  // A yellow folder, its front flap lifted when it is open.
  static void drawFolder(int x, int y, bool open) {
    const Fl_Color edge = fl_rgb_color(128, 128, 0);
    fl_color(fl_rgb_color(255, 255, 153));
    fl_rectf(x + 1, y, 5, 2);
    fl_rectf(x, y + 2, 14, 10);
    fl_color(edge);
    fl_rect(x, y + 2, 14, 10);
    fl_xyline(x + 1, y, x + 5);
    if (open) {
      fl_color(fl_rgb_color(255, 255, 204));
      fl_polygon(x + 3, y + 5, x + 15, y + 5, x + 12, y + 11, x, y + 11);
      fl_color(edge);
      fl_loop(x + 3, y + 5, x + 15, y + 5, x + 12, y + 11, x, y + 11);
    }
  }

  void openSelected() {
    if (const void* item = selection()) post(UserInput::Kind::Choose, -1, rows_[index(const_cast<void*>(item))].path);
  }

  DirListBox& list_;
  std::vector<FolderRow> rows_;
  int rowHeight_ = 17;
  Fl_Font fontFace_ = FL_HELVETICA;
  int fontSize_ = 13;
};

}  // namespace

View* makeListView(Control& control, InputSink& sink) {
  switch (control.kind()) {
    case ControlKind::ComboBox:
    case ControlKind::DriveListBox:
      return new DropDownView(control, sink);
    case ControlKind::DirListBox:
      return new FolderListView(static_cast<DirListBox&>(control), sink);
    default:
      return nullptr;
  }
}

}  // namespace zov::ui::fltk
