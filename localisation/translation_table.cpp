#include "localisation/translation_table.h"

#include <string_view>

#include "localisation/contact_addresses.h"
#include "localisation/licence_agreement.h"
#include "localisation/plain_rows.h"

namespace zov {

namespace {

// The per-file messages of the install routine: the text before the file
// name, then the name, then the text after it, by language.
struct FileMessagePattern {
  std::string_view beforeName;
  std::string_view afterNameExtract;
  std::string_view afterNameExpand;
};

constexpr std::array<FileMessagePattern, kTableLanguages> kFileMessagePatterns = {{
    {"File '", "' could not be extracted!", "' could not be expanded!"},
    {"'", "' dosyası çıkarılamadı!", "' dosyası açılamadı!"},
    {"Die Datei '", "' konnte nicht extrahiert werden!", "' konnte nicht geöffnet werden!"},
    {"Le dossier '", "' n'a pu etre extrait!", "' n'a pu etre ouvert!"},
    {"¡El archivo de '", "' no se ha extractado!", "' no se ha expandido!"},
}};

// Each file has two rows: the extract failure at `extractSlot`, the expand
// failure right after it.
struct FileMessagePair {
  int extractSlot;
  std::string_view fileName;
};

constexpr FileMessagePair kFileMessagePairs[] = {
    {31, "MCD28m.wav"},
    {33, "MCU28m.wav"},
    {35, "Stop.wav"},
    {37, "StartShort.wav"},
    {39, "Start.wav"},
    {41, "Shot.wav"},
    {43, "Key118m.wav"},
    {45, "Key1116m.wav"},
    {47, "Key128m.wav"},
    {49, "MCD18m.wav"},
    {51, "MCU18m.wav"},
    {53, "Beep.wav"},
    {55, "Click.wav"},
    {61, "Graphics.zov"},
    {63, "ZOVDefault.pal"},
    {65, "Qmark.jpg"},
    {67, "BlueCursor.cur"},
    {69, "GreenCursor.cur"},
    {71, "RedCursor.cur"},
    {73, "YellowCursor.cur"},
    {75, "SampleAVI.avi"},
    {77, "ZOVUser.exe"},
    {79, "SWFGraphs.zov"},
    {81, "zovatswf.dll"},
    {83, "zovatwmv.dll"},
    {85, "SampleProject.qev"},
    {89, "zovmgps.dll"},
    {91, "zovmgcv.dll"},
    {93, "zovgvas.dll"},
    {95, "MCD116m.wav"},
    {97, "MCD216m.wav"},
    {99, "MCU216m.wav"},
    {101, "Key1216m.wav"},
    {103, "Key218m.wav"},
    {105, "Key2116m.wav"},
    {107, "Key228m.wav"},
    {109, "Key2216m.wav"},
    {111, "Key318m.wav"},
    {113, "Key3116m.wav"},
    {115, "Key328m.wav"},
    {117, "Key3216m.wav"},
    {119, "Zuzuzu Rudavero 5.exe.manifest"},
    {121, "VideoPlayer.zov"},
    {123, "VideoPlayer1.zov"},
    {125, "VideoPlayer2.zov"},
    {206, "ZOVDELang.dat"},
    {208, "ZOVFRLang.dat"},
    {210, "ZOVSPLang.dat"},
};

enum class FileFailure { kExtract, kExpand };

TranslationRow fileMessageRow(std::string_view fileName, FileFailure failure) {
  TranslationRow row;
  for (int language = 0; language < kTableLanguages; ++language) {
    const FileMessagePattern& pattern = kFileMessagePatterns[language];
    std::string& text = row[language];
    text = pattern.beforeName;
    text += fileName;
    text += failure == FileFailure::kExtract ? pattern.afterNameExtract : pattern.afterNameExpand;
  }
  return row;
}

TranslationRow incompleteInstallerRow() {
  const std::string address(kDownloadAddress);
  return {IncompleteInstallerText(),
          "Kurulum dosyası eksik. Lütfen dosyayı " + address + " adresinden yeniden indirin.",
          "Die Installationsdatei ist unvollständig. Bitte laden Sie die Datei erneut von " + address +
              " herunter.",
          "Le fichier d'installation est incomplet. Veuillez télécharger à nouveau le fichier depuis " + address,
          "El archivo de instalación está incompleto. Por favor, descargue de nuevo el archivo desde " + address};
}

TranslationRow supportLineRow() {
  const std::string address(kSupportEmailAddress);
  return {SupportLine(),
          "Lütfen bu hata mesajını " + address + " adresine e-posta ile gönderin.",
          "Bitte senden Sie diese Fehlermeldung per E-Mail an " + address,
          "Veuillez envoyer ce message d'erreur par e-mail à " + address,
          "Por favor, envíe este mensaje de error por correo electrónico a " + address};
}

TranslationRowTable buildTable() {
  TranslationRowTable rows;
  for (const PlainRow& plain : PlainRows()) {
    for (int language = 0; language < kTableLanguages; ++language) {
      rows[plain.slot][language] = plain.texts[language];
    }
  }
  for (const FileMessagePair& pair : kFileMessagePairs) {
    rows[pair.extractSlot] = fileMessageRow(pair.fileName, FileFailure::kExtract);
    rows[pair.extractSlot + 1] = fileMessageRow(pair.fileName, FileFailure::kExpand);
  }
  // The runtime package's rows have English keys of their own and the
  // translations of the per-file pattern.
  rows[87] = fileMessageRow("vcredist_x86.exe", FileFailure::kExtract);
  rows[87][kEnglish] = "vcredist_x86.exe could not be extracted!";
  rows[88] = fileMessageRow("vcredist_x86.exe", FileFailure::kExpand);
  rows[88][kEnglish] = "vcredist_x86.exe file could not be expanded!";

  for (int language = 0; language < kTableLanguages; ++language) {
    rows[9][language] = LicenceAgreement(static_cast<TableLanguage>(language));
  }
  rows[30] = incompleteInstallerRow();
  rows[172] = supportLineRow();
  // The folder chooser's copies of rows 151 and 5: the same keys, so a lookup
  // is always answered by the lower row.
  rows[193] = rows[151];
  rows[194] = rows[5];
  return rows;
}

}  // namespace

const TranslationRowTable& TranslationRows() {
  static const TranslationRowTable rows = buildTable();
  return rows;
}

}  // namespace zov
