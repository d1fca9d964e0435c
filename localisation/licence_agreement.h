// The licence agreement of the agreement page, row 9 of the translation table.
#pragma once

#include <string>

#include "localisation/translation_table.h"

namespace zov {

// The nine paragraphs of the agreement in `language`, in capitals, joined by
// CR LF CR LF; nothing follows the last paragraph.
std::string LicenceAgreement(TableLanguage language);

}  // namespace zov
