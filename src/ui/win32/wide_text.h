#pragma once

#include <string>

namespace ui::win32 {

// Captions are 8-bit texts in the code page of their font charset. The controls are driven
// through the wide API with the model's own code page tables, so a Greek caption shows Greek on
// a Western system too.
std::wstring AnsiToWide(const std::string& text, int charset);
// What a user typed or pasted, back into the control's code page; characters it lacks are dropped.
std::string WideToAnsi(const std::wstring& text, int charset);
std::string WideToUtf8(const std::wstring& wide);

}  // namespace ui::win32
