#include "tests/localisation/translation_rows.h"

#include <gtest/gtest.h>

#include "localisation/translation_table.h"
#include "platform/text/case_map.h"

namespace zov {

void ExpectHasTranslationRow(const std::string& english, const char* file, int line) {
  const std::string wanted = text::lower(english);
  const TranslationRowTable& rows = TranslationRows();
  for (int slot = 1; slot <= kTranslationSlots; ++slot) {
    const std::string& key = rows[slot][kEnglish];
    if (!key.empty() && text::lower(key) == wanted) return;
  }
  ADD_FAILURE_AT(file, line)
      << "no row of the translation table has the key \"" << english << "\"";
}

}  // namespace zov
