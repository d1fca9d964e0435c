// A property of a form or control: reads like a plain value, and every
// assignment tells its owner, so that the screen (or the transcript) follows
// the model and setters that raise events (ListIndex, Value, Text) can.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace zov::ui {

template <typename T>
class Property {
 public:
  explicit Property(T initial = T{}) : value_(std::move(initial)) {}
  Property(const Property&) = delete;

  Property& operator=(const T& v) {
    T old = value_;
    value_ = v;
    if (onSet_) onSet_(old);
    return *this;
  }
  Property& operator=(const Property& other) { return *this = other.value_; }

  operator const T&() const { return value_; }
  operator std::string_view() const
    requires std::is_same_v<T, std::string>
  {
    return value_;
  }
  const T& get() const { return value_; }

  // Sets without telling anyone (the stored layout of a form being applied).
  void reset(T v) { value_ = std::move(v); }
  void onSet(std::function<void(const T& old)> handler) { onSet_ = std::move(handler); }

 private:
  T value_;
  std::function<void(const T&)> onSet_;
};

template <typename T>
bool operator==(const Property<T>& a, const std::type_identity_t<T>& b) {
  return a.get() == b;
}
template <typename T>
bool operator==(const Property<T>& a, const Property<T>& b) {
  return a.get() == b.get();
}

}  // namespace zov::ui
