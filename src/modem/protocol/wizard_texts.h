#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::modem {

// The codes the connection settings page hands to the engine for its protocol and
// encapsulation list texts.
struct ConnectionCodes {
  int32_t connectionType = 0;
  int32_t encapsulation = 0;
};

// "PPPoE", "PPPoA", "Static IP", "Dynamic IP" or "Bridge" with "LLC" or any other
// encapsulation text; nothing for a protocol text outside that list.
std::optional<ConnectionCodes> ConnectionCodesFromTexts(std::string_view protocolText,
                                                        std::string_view encapsulationText);

// The protocol list text for a connectionType; "PPPoE" for an unknown code.
std::string_view ProtocolText(int32_t connectionType);

// The encapsulation list text ("LLC" or "VC-MUX"); PPPoA numbers them the other way round.
std::string_view EncapsulationText(int32_t connectionType, int32_t encapsulation);

// The wlSecurity value for a security text of the wireless page; nothing for an unknown text.
std::optional<std::string_view> SecurityFromPageText(std::string_view pageText);

}  // namespace quillon::modem
