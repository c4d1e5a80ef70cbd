#include "dialogs/dialog_texts.h"

#include "config/dialog_texts.h"

namespace dialogs {

bool DialogTextsLoaded() {
  return quillon::config::dialogTexts().loaded;
}

std::string DialogText(int line) {
  return quillon::config::message(quillon::config::dialogTexts().texts, line);
}

int DialogCharset() {
  return quillon::config::dialogCharset();
}

}  // namespace dialogs
