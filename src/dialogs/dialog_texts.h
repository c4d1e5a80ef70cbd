#pragma once

#include <string>

namespace dialogs {

// The dialogs' view of the process-wide frm.str catalogue and the dialog character set.
bool DialogTextsLoaded();
std::string DialogText(int line);
int DialogCharset();

}  // namespace dialogs
