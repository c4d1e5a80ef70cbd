#include "ui/mask_edit.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {

bool IsMaskInputChar(char m) {
  switch (m) {
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c':
    case '0':
    case '9':
    case '#':
      return true;
    default:
      return false;
  }
}

// Case modifiers take no position of their own.
bool IsMaskModifier(char m) {
  return m == '!' || m == '>' || m == '<';
}

}  // namespace

MaskEdit::MaskEdit(Form& owner, std::string name)
    : Edit(owner, std::move(name), ControlKind::MaskEdit) {}

void MaskEdit::SetEditMask(const std::string& mask) {
  editMask_ = mask;
  const auto firstSemicolon = mask.find(';');
  mask_ = mask.substr(0, firstSemicolon);
  blank_ = ' ';
  if (firstSemicolon != std::string::npos) {
    const auto lastSemicolon = mask.rfind(';');
    if (lastSemicolon != firstSemicolon && lastSemicolon + 1 < mask.size())
      blank_ = mask[lastSemicolon + 1];
  }
  kinds_.clear();
  literals_.clear();
  for (std::size_t i = 0; i < mask_.size(); ++i) {
    const char m = mask_[i];
    if (IsMaskModifier(m)) continue;
    if (m == '\\' && i + 1 < mask_.size()) {
      kinds_.push_back('\0');
      literals_.push_back(mask_[++i]);
    } else if (IsMaskInputChar(m)) {
      kinds_.push_back(m);
      literals_.push_back(blank_);
    } else {
      kinds_.push_back('\0');
      literals_.push_back(m);
    }
  }
  text_ = BlankText();
  PlaceCaret(0);
  Changed();
}

std::string MaskEdit::BlankText() const {
  return literals_;
}

bool MaskEdit::Fits(std::size_t pos, char c) const {
  if (!IsInput(pos)) return false;
  const auto u = static_cast<unsigned char>(c);
  switch (kinds_[pos]) {
    case '0':
    case '9':
      return std::isdigit(u) != 0;
    case '#':
      return std::isdigit(u) != 0 || c == '+' || c == '-';
    case 'L':
    case 'l':
      return std::isalpha(u) != 0;
    case 'A':
    case 'a':
      return std::isalnum(u) != 0;
    default:
      return u >= 0x20;
  }
}

void MaskEdit::SetMaskedText(const std::string& text) {
  if (kinds_.empty()) {
    Edit::SetText(text);
    return;
  }
  // Groups are aligned on the literals, so "192.168.1.1" becomes "192.168.1  .1  ".
  std::string result = BlankText();
  std::size_t in = 0;
  for (std::size_t pos = 0; pos < kinds_.size(); ++pos) {
    if (!IsInput(pos)) {
      if (in < text.size() && text[in] == literals_[pos]) ++in;
      continue;
    }
    if (in >= text.size()) continue;
    const char c = text[in];
    if (Fits(pos, c) && c != blank_) {
      result[pos] = c;
      ++in;
    } else if (c == blank_) {
      ++in;
    } else if (literals_.find(c) == std::string::npos) {
      ++in;  // a character that fits nowhere becomes this blank
    }
    // A literal of the mask waits here for its own position.
  }
  PlaceCaret(0);
  if (result == text_) return;
  text_ = std::move(result);
  Changed();
}

std::string MaskEdit::TextWithoutBlanks() const {
  std::string out;
  for (char c : text_)
    if (c != blank_) out.push_back(c);
  return out;
}

void MaskEdit::InsertTyped(char key) {
  if (kinds_.empty()) {
    Edit::InsertTyped(key);
    return;
  }
  if (text_.size() != kinds_.size()) text_ = BlankText();
  if (selStart() != selEnd()) EraseSelection();
  const std::size_t cursor = caret();
  std::size_t pos = cursor;
  while (pos < kinds_.size() && !IsInput(pos)) {
    if (literals_[pos] == key) {  // typed the literal that comes next: step over it
      PlaceCaret(pos + 1);
      return;
    }
    ++pos;
  }
  if (pos < kinds_.size() && Fits(pos, key) && key != blank_) {
    text_[pos] = key;
    PlaceCaret(pos + 1);
    return;
  }
  // A literal typed inside a group ends the group: its rest stays blank.
  for (std::size_t lit = cursor; lit < kinds_.size(); ++lit) {
    if (IsInput(lit)) continue;
    if (literals_[lit] != key) return;
    for (std::size_t p = cursor; p < lit; ++p) text_[p] = blank_;
    PlaceCaret(lit + 1);
    return;
  }
}

void MaskEdit::EraseTyped() {
  if (kinds_.empty()) {
    Edit::EraseTyped();
    return;
  }
  if (text_.size() != kinds_.size()) text_ = BlankText();
  std::size_t pos = std::min(caret(), kinds_.size());
  while (pos > 0) {
    --pos;
    if (IsInput(pos)) {
      text_[pos] = blank_;
      PlaceCaret(pos);
      return;
    }
  }
  PlaceCaret(0);
}

void MaskEdit::EraseForward() {
  if (kinds_.empty()) {
    Edit::EraseForward();
    return;
  }
  if (text_.size() != kinds_.size()) text_ = BlankText();
  if (IsInput(caret())) text_[caret()] = blank_;
}

void MaskEdit::EraseSelection() {
  if (kinds_.empty()) {
    Edit::EraseSelection();
    return;
  }
  if (text_.size() != kinds_.size()) text_ = BlankText();
  const std::size_t start = selStart(), end = std::min(selEnd(), kinds_.size());
  for (std::size_t pos = start; pos < end; ++pos)
    if (IsInput(pos)) text_[pos] = blank_;
  PlaceCaret(start);
}

}  // namespace ui
