// The rows of the translation table whose five texts are written out in full
// (every row except the per-file messages, the licence agreement and the
// rows built from the contact addresses).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "localisation/translation_table.h"

namespace zov {

struct PlainRow {
  int slot;
  std::array<std::string_view, kTableLanguages> texts;  // English key, then the four translations
};

std::span<const PlainRow> PlainRows();

}  // namespace zov
