#include "services/primary_lang_id.h"

namespace zov {

std::int32_t PrimaryLangId(std::int32_t langId) { return langId & 0x3FF; }

}  // namespace zov
