#include "config/dialog_texts.h"

#include <atomic>

namespace quillon::config {
namespace {

// Set on the user-interface thread, read whenever a dialog paints; atomic so that a dialog
// shown from any thread still reads a whole value.
std::atomic<uint8_t> gDialogCharset{kAnsiCharset};

}  // namespace

DialogTexts& dialogTexts() {
  static DialogTexts texts;
  return texts;
}

bool loadDialogTexts(DialogTexts& dialog, const std::string& languageFolder) {
  dialog.loaded = loadCatalogue(dialog.texts, languageFolder + "frm.str");
  return dialog.loaded;
}

bool loadDialogTexts(const std::string& languageFolder) {
  return loadDialogTexts(dialogTexts(), languageFolder);
}

uint8_t charsetForLanguage(std::string_view languageName) {
  if (languageName == "Greek") return kGreekCharset;
  if (languageName == "Russian") return kRussianCharset;
  // The default set would show these only on a PC whose own code page is 1250; naming the
  // set reads them right on every PC.
  if (languageName == "Czech" || languageName == "Hungarian" || languageName == "Polish")
    return kEastEuropeCharset;
  return kAnsiCharset;
}

void setDialogCharset(std::string_view languageName) {
  gDialogCharset.store(charsetForLanguage(languageName));
}

uint8_t dialogCharset() {
  return gDialogCharset.load();
}

}  // namespace quillon::config
