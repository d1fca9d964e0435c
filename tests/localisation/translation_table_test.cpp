#include "localisation/translation_table.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "localisation/contact_addresses.h"
#include "localisation/licence_agreement.h"
#include "platform/text/case_map.h"
#include "platform/text/utf8.h"

namespace zov {
namespace {

const TranslationRowTable& rows = TranslationRows();

bool isBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

std::size_t count(const std::string& text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

// The slots that no row names.
const std::set<int> kUnnamedSlots = {0,   15,  16,  19,  20,  21,  22,  23,  167, 168, 170, 180, 181, 182,
                                     183, 184, 185, 195, 196, 197, 198, 199, 200, 201, 212, 213, 214};

TEST(TranslationTable, EveryNamedSlotHasAKeyAndFourTranslationsAndNoOtherSlotHoldsText) {
  int named = 0;
  for (int slot = 0; slot <= kTranslationSlots; ++slot) {
    if (kUnnamedSlots.contains(slot)) {
      for (const std::string& text : rows[slot]) EXPECT_EQ(text, "") << "slot " << slot;
      continue;
    }
    ++named;
    EXPECT_FALSE(isBlank(rows[slot][kEnglish])) << "slot " << slot;
    for (int language = kTurkish; language <= kSpanish; ++language) {
      EXPECT_FALSE(isBlank(rows[slot][language])) << "slot " << slot << ", language " << language;
    }
  }
  EXPECT_EQ(named, 196);
}

// The texts added later stand after the first table, which keeps every text
// of its 214 slots byte for byte (their FNV-1a fingerprint).
TEST(TranslationTable, TheFirst214SlotsAreUnchanged) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&](unsigned char c) {
    hash ^= c;
    hash *= 1099511628211ull;
  };
  for (int slot = 1; slot <= 214; ++slot) {
    for (const std::string& text : rows[slot]) {
      for (const char c : text) mix(static_cast<unsigned char>(c));
      mix(0xFF);
    }
  }
  EXPECT_EQ(hash, 0x8ac6ed1f80177e67ull);
}

TEST(TranslationTable, EveryTextIsValidUtf8WithoutControlCharactersOutsideTheAgreement) {
  for (int slot = 1; slot <= kTranslationSlots; ++slot) {
    for (const std::string& text : rows[slot]) {
      EXPECT_TRUE(text::isValid(text)) << "slot " << slot;
      if (slot == 9) continue;
      for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "slot " << slot;
    }
  }
}

TEST(TranslationTable, KeysAreUniqueExceptTheTwoRepeatedRows) {
  std::map<std::string, int> firstSlot;
  std::map<int, int> repeats;
  for (int slot = 1; slot <= kTranslationSlots; ++slot) {
    if (rows[slot][kEnglish].empty()) continue;
    const auto [it, added] = firstSlot.emplace(text::lower(rows[slot][kEnglish]), slot);
    if (!added) repeats[slot] = it->second;
  }
  EXPECT_EQ(repeats, (std::map<int, int>{{193, 151}, {194, 5}}));
}

TEST(TranslationTable, KeysBeginOrEndWithASpaceExactlyWhereTheCallerJoinsThem) {
  const std::set<int> endWithSpace = {128, 137, 139, 149, 161, 162, 169, 171};
  const std::set<int> beginWithSpace = {140, 147, 156};
  for (int slot = 1; slot <= kTranslationSlots; ++slot) {
    const std::string& key = rows[slot][kEnglish];
    if (key.empty()) continue;
    EXPECT_EQ(key.back() == ' ', endWithSpace.contains(slot)) << "slot " << slot;
    EXPECT_EQ(key.front() == ' ', beginWithSpace.contains(slot)) << "slot " << slot;
    // The translation keeps the caller's joint.
    for (int language = kTurkish; language <= kSpanish; ++language) {
      const std::string& text = rows[slot][language];
      if (endWithSpace.contains(slot)) {
        EXPECT_EQ(text.back(), ' ') << "slot " << slot;
      }
      if (beginWithSpace.contains(slot)) {
        EXPECT_EQ(text.front(), ' ') << "slot " << slot;
      }
    }
  }
}

TEST(TranslationTable, KeysAndGivenTextsStandExactlyAsWritten) {
  EXPECT_EQ(rows[1][kEnglish],
            "ZOV Rededi Dirirozo is going to be installed on your computer. Please click on the 'Next' button to "
            "determinine a directory.");
  EXPECT_EQ(rows[133][kEnglish], "ZOV has been sucessfully installed into '");
  EXPECT_EQ(rows[132][kEnglish], "couldn't fix AVI registry!");
  EXPECT_EQ(rows[146][kEnglish],
            "Folder name cannot contain any of the *,?,<, :, /, | characters. The directory name you've entered :");
  EXPECT_EQ(rows[175][kEnglish], "Characters, like '\\*?,:' are invalid.");
  EXPECT_EQ(rows[17][kEnglish],
            "Error: Couldn't find the user folder and couldn't create one! Quiting installation.");

  EXPECT_EQ(rows[7][kSpanish], "Siguiente>>");
  EXPECT_EQ(rows[8][kSpanish], "Por favor lea  antes de continuar :");
  EXPECT_EQ(rows[28][kTurkish], "Kurulumu iptal etmek istiyot musunuz?");
  EXPECT_EQ(rows[5][kTurkish], "İptal");
  EXPECT_EQ(rows[12][kTurkish], "ZOV'yi Şimdi Çalıştır");
  EXPECT_EQ(rows[2][kTurkish], "Dil :");
  EXPECT_EQ(rows[189][kFrench], "Selectionnez un endroit poour l'Enregistreur d'Ecran");
  EXPECT_EQ(rows[191][kTurkish], "&Tamam");

  const TranslationRow statusOfCleanUp = {"Temporary files are being deleted...", "Geçici dosyalar siliniyor...",
                                          "Die temporären Dateien werden gelöscht...",
                                          "Effacement des dossiers temporaires...",
                                          "Archivos temporales se están eliminando..."};
  EXPECT_EQ(rows[188], statusOfCleanUp);
}

TEST(TranslationTable, RepeatedRowsCarryTheTextsOfTheRowsTheyRepeat) {
  EXPECT_EQ(rows[193], rows[151]);
  EXPECT_EQ(rows[194], rows[5]);
}

// --- Per-file messages -----------------------------------------------------

struct FilePattern {
  std::string before, afterExtract, afterExpand;
};
const std::array<FilePattern, kTableLanguages> kPatterns = {{
    {"File '", "' could not be extracted!", "' could not be expanded!"},
    {"'", "' dosyası çıkarılamadı!", "' dosyası açılamadı!"},
    {"Die Datei '", "' konnte nicht extrahiert werden!", "' konnte nicht geöffnet werden!"},
    {"Le dossier '", "' n'a pu etre extrait!", "' n'a pu etre ouvert!"},
    {"¡El archivo de '", "' no se ha extractado!", "' no se ha expandido!"},
}};

TEST(TranslationTable, PerFileRowsComeInPairsThatFollowThePatternOfEachLanguage) {
  const std::regex extractKey("File '(.+)' could not be extracted!");
  std::set<std::string> names;
  for (auto [first, last] : {std::pair{31, 56}, {61, 86}, {89, 126}, {206, 211}}) {
    for (int slot = first; slot < last; slot += 2) {
      std::smatch match;
      ASSERT_TRUE(std::regex_match(rows[slot][kEnglish], match, extractKey)) << "slot " << slot;
      const std::string name = match[1];
      EXPECT_TRUE(names.insert(name).second) << name << " appears twice";
      for (int language = 0; language < kTableLanguages; ++language) {
        const FilePattern& p = kPatterns[language];
        EXPECT_EQ(rows[slot][language], p.before + name + p.afterExtract) << "slot " << slot;
        EXPECT_EQ(rows[slot + 1][language], p.before + name + p.afterExpand) << "slot " << slot + 1;
      }
    }
  }
  EXPECT_EQ(names.size(), 48u);
  EXPECT_EQ(rows[31][kEnglish], "File 'MCD28m.wav' could not be extracted!");
  EXPECT_EQ(rows[120][kEnglish], "File 'Zuzuzu Rudavero 5.exe.manifest' could not be expanded!");
  EXPECT_EQ(rows[211][kGerman], "Die Datei 'ZOVSPLang.dat' konnte nicht geöffnet werden!");
}

TEST(TranslationTable, RuntimePackageRowsHaveTheirOwnKeysAndThePatternTranslations) {
  EXPECT_EQ(rows[87][kEnglish], "vcredist_x86.exe could not be extracted!");
  EXPECT_EQ(rows[88][kEnglish], "vcredist_x86.exe file could not be expanded!");
  for (int language = kTurkish; language <= kSpanish; ++language) {
    const FilePattern& p = kPatterns[language];
    EXPECT_EQ(rows[87][language], p.before + "vcredist_x86.exe" + p.afterExtract);
    EXPECT_EQ(rows[88][language], p.before + "vcredist_x86.exe" + p.afterExpand);
  }
}

// --- The licence agreement -------------------------------------------------

TEST(TranslationTable, AgreementIsNineParagraphsInCapitalsInEveryLanguage) {
  for (int language = 0; language < kTableLanguages; ++language) {
    const std::string& agreement = rows[9][language];
    EXPECT_EQ(agreement, LicenceAgreement(static_cast<TableLanguage>(language)));
    EXPECT_EQ(count(agreement, "\r\n\r\n"), 8u) << "language " << language;
    EXPECT_EQ(count(agreement, "\r\n"), 16u) << "language " << language;  // no other line break
    EXPECT_EQ(count(agreement, "\r"), 16u) << "language " << language;
    EXPECT_EQ(count(agreement, "\n"), 16u) << "language " << language;
    EXPECT_FALSE(agreement.ends_with("\r\n")) << "language " << language;
    EXPECT_FALSE(agreement.starts_with("\r\n")) << "language " << language;
    EXPECT_EQ(count(agreement, "\r\n\r\n\r\n"), 0u) << "language " << language;
    EXPECT_EQ(text::upper(agreement), agreement) << "language " << language;
    // The invented names of the product, its editor and its maker.
    const std::string lowered = text::lower(agreement);
    for (const char* name : {"zuzuzu rudavero 5", "kineloft", "zideruv"}) {
      EXPECT_NE(lowered.find(name), std::string::npos) << name << ", language " << language;
    }
    if (language != kEnglish) {
      EXPECT_NE(agreement, rows[9][kEnglish]);
    }
  }
}

// --- The contact addresses -------------------------------------------------

TEST(TranslationTable, ContactRowsAreKeyedByTheCallersTextsAndCarryTheAddresses) {
  EXPECT_EQ(rows[30][kEnglish], IncompleteInstallerText());
  EXPECT_EQ(rows[172][kEnglish], SupportLine());
  EXPECT_TRUE(IncompleteInstallerText().starts_with(
      "Installation file is not complete. Please redownload the file from "));
  EXPECT_TRUE(SupportLine().starts_with("Please email this error message to "));
  for (int language = 0; language < kTableLanguages; ++language) {
    EXPECT_NE(rows[30][language].find(kDownloadAddress), std::string::npos) << "language " << language;
    EXPECT_NE(rows[172][language].find(kSupportEmailAddress), std::string::npos) << "language " << language;
  }
  EXPECT_TRUE(kSupportEmailAddress.ends_with(".example"));
  EXPECT_NE(kDownloadAddress.find(".example/"), std::string_view::npos);
}

}  // namespace
}  // namespace zov
