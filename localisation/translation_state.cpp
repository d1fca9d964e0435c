#include "localisation/translation_state.h"

namespace zov {

std::int32_t LanguageIndex = 0;
std::vector<std::string> SourceTexts;
std::vector<std::string> TranslatedTexts;
std::array<std::string, 2 * kTranslationCachePairs> TranslationCache;

}  // namespace zov
