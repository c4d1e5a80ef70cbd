// The modem's texts in records and the page texts the engine is handed: decimal numbers read
// like the C library reads them (saturated to 32 bits), text fields never read past their size,
// and the protocol list texts map to codes that map back.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "modem/protocol/record_text.h"
#include "modem/protocol/wizard_texts.h"

using namespace quillon::modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // strtoll on the text up to its first zero byte is the reference for ReadDecimal.
  const std::string terminated = text.substr(0, text.find('\0'));
  errno = 0;
  const long long reference = std::strtoll(terminated.c_str(), nullptr, 10);
  const long long clamped = std::clamp<long long>(reference, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max());
  if (ReadDecimal(terminated) != clamped) std::abort();

  // A copy of exactly size bytes, so a read past the end is caught by the sanitizer.
  const std::vector<uint8_t> field(data, data + size);
  const std::string fieldText = ReadTextField(field.data(), field.size());
  if (size > 0 && fieldText.size() > size - 1) std::abort();
  if (fieldText.find('\0') != std::string::npos) std::abort();
  const auto payload = PayloadText(field.data(), field.size());
  if (payload.size() > size || payload.find('\0') != std::string::npos) std::abort();
  std::vector<uint8_t> written(std::min<size_t>(size, 64));
  WriteTextField(written.data(), written.size(), text);
  if (!written.empty() && written.back() != 0) std::abort();

  const size_t cut = text.find('\n');
  const std::string protocol = text.substr(0, cut);
  const std::string encapsulation = cut == std::string::npos ? "" : text.substr(cut + 1);
  if (const auto codes = ConnectionCodesFromTexts(protocol, encapsulation)) {
    if (ProtocolText(codes->connectionType) != protocol) std::abort();
    const auto again = ConnectionCodesFromTexts(
        protocol, EncapsulationText(codes->connectionType, codes->encapsulation));
    if (!again || again->encapsulation != codes->encapsulation) std::abort();
  }
  (void)SecurityFromPageText(protocol);
  return 0;
}
