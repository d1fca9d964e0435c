#include "window_manager.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/win32/ansi_buffer.h"

namespace zov::win32 {

namespace {

constexpr HWND kOtherWindowBase = 0x00020000;

// Never destroyed: windows unregister themselves until the very end of the program.
std::map<HWND, std::function<std::string()>>& ownWindows() {
  static auto* w = new std::map<HWND, std::function<std::string()>>;
  return *w;
}
// Z-order of the program's own windows, topmost first.
std::vector<HWND>& ownOrder() {
  static auto* order = new std::vector<HWND>;
  return *order;
}
HWND nextWindow = 0x000A01C4;

// The whole top-level list, topmost first.
std::vector<HWND> zOrder() {
  std::vector<HWND> list = ownOrder();
  const auto& others = machine::currentMachine().otherWindows();
  for (std::size_t i = 0; i < others.size(); ++i) list.push_back(kOtherWindowBase + static_cast<HWND>(i) * 2);
  return list;
}

bool titleOf(HWND window, std::string& title) {
  if (const auto it = ownWindows().find(window); it != ownWindows().end()) {
    title = it->second();
    return true;
  }
  const auto& others = machine::currentMachine().otherWindows();
  const auto index = static_cast<std::size_t>((window - kOtherWindowBase) / 2);
  if (window < kOtherWindowBase || (window - kOtherWindowBase) % 2 != 0 || index >= others.size()) return false;
  title = others[index];
  return true;
}

BOOL toTop(HWND window) {
  auto& order = ownOrder();
  const auto it = std::find(order.begin(), order.end(), window);
  if (it == order.end()) return FALSE;
  order.erase(it);
  order.insert(order.begin(), window);
  return TRUE;
}

}  // namespace

HWND RegisterWindow(std::function<std::string()> title) {
  const HWND h = nextWindow;
  nextWindow += 0x10;
  ownWindows()[h] = std::move(title);
  ownOrder().insert(ownOrder().begin(), h);
  return h;
}

void UnregisterWindow(HWND window) {
  ownWindows().erase(window);
  auto& order = ownOrder();
  order.erase(std::remove(order.begin(), order.end(), window), order.end());
}

HWND GetWindow(HWND window, unsigned command) {
  const auto list = zOrder();
  if (list.empty()) return 0;
  switch (command) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
      const auto it = std::find(list.begin(), list.end(), window);
      if (it == list.end()) return 0;
      if (command == GW_HWNDNEXT) return (it + 1 == list.end()) ? 0 : *(it + 1);
      return it == list.begin() ? 0 : *(it - 1);
    }
    default: return 0;
  }
}

int GetWindowTextLengthA(HWND window) {
  std::string title;
  return titleOf(window, title) ? static_cast<int>(ansiOf(title).size()) : 0;
}

int GetWindowTextA(HWND window, std::string& buffer, int maxCount) {
  std::string title;
  if (maxCount <= 0 || !titleOf(window, title)) return 0;
  const std::string ansi = ansiOf(title).substr(0, static_cast<std::size_t>(maxCount - 1));
  writeAnsi(buffer, ansi);
  return static_cast<int>(ansi.size());
}

BOOL SetForegroundWindow(HWND window) { return toTop(window); }
BOOL BringWindowToTop(HWND window) { return toTop(window); }
HWND GetForegroundWindow() { return ownOrder().empty() ? 0 : ownOrder().front(); }

}  // namespace zov::win32
