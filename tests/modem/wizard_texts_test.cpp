// The page texts to codes and back.
#include <gtest/gtest.h>

#include <string>

#include "modem/protocol/wizard_texts.h"

namespace quillon::modem {
namespace {

struct CodesCase {
  const char* protocol;
  const char* encapsulation;
  int32_t connectionType;
  int32_t encapsulationCode;
};

TEST(ModemWizardTexts, ProtocolAndEncapsulationToCodes) {
  const CodesCase cases[] = {
      {"PPPoE", "LLC", 0, 0},        {"PPPoE", "VC-MUX", 0, 1},   {"PPPoA", "LLC", 1, 1},
      {"PPPoA", "VC-MUX", 1, 0},     {"PPPoA", "llc", 1, 0},      {"Static IP", "LLC", 8, 0},
      {"Static IP", "VC-MUX", 8, 1}, {"Dynamic IP", "LLC", 9, 0}, {"Dynamic IP", "", 9, 1},
      {"Bridge", "LLC", 3, 0},       {"Bridge", "VC-MUX", 3, 1},
  };
  for (const CodesCase& c : cases) {
    const std::optional<ConnectionCodes> codes =
        ConnectionCodesFromTexts(c.protocol, c.encapsulation);
    ASSERT_TRUE(codes.has_value()) << c.protocol;
    EXPECT_EQ(codes->connectionType, c.connectionType) << c.protocol << "/" << c.encapsulation;
    EXPECT_EQ(codes->encapsulation, c.encapsulationCode) << c.protocol << "/" << c.encapsulation;
  }
  EXPECT_FALSE(ConnectionCodesFromTexts("pppoe", "LLC").has_value());
  EXPECT_FALSE(ConnectionCodesFromTexts("", "LLC").has_value());
}

TEST(ModemWizardTexts, CodesBackToTexts) {
  EXPECT_EQ(ProtocolText(0), "PPPoE");
  EXPECT_EQ(ProtocolText(1), "PPPoA");
  EXPECT_EQ(ProtocolText(3), "Bridge");
  EXPECT_EQ(ProtocolText(8), "Static IP");
  EXPECT_EQ(ProtocolText(9), "Dynamic IP");
  EXPECT_EQ(ProtocolText(2), "PPPoE");
  EXPECT_EQ(ProtocolText(-1), "PPPoE");
  EXPECT_EQ(EncapsulationText(1, 0), "VC-MUX");
  EXPECT_EQ(EncapsulationText(1, 1), "LLC");
  EXPECT_EQ(EncapsulationText(1, 5), "LLC");
  for (const int32_t type : {0, 3, 8, 9, 42}) {
    EXPECT_EQ(EncapsulationText(type, 0), "LLC") << type;
    EXPECT_EQ(EncapsulationText(type, 1), "VC-MUX") << type;
    EXPECT_EQ(EncapsulationText(type, -1), "LLC") << type;
  }
}

TEST(ModemWizardTexts, TextsAndCodesAgree) {
  for (const char* protocol : {"PPPoE", "PPPoA", "Static IP", "Dynamic IP", "Bridge"}) {
    for (const char* encapsulation : {"LLC", "VC-MUX"}) {
      const ConnectionCodes codes = *ConnectionCodesFromTexts(protocol, encapsulation);
      EXPECT_EQ(ProtocolText(codes.connectionType), protocol);
      EXPECT_EQ(EncapsulationText(codes.connectionType, codes.encapsulation), encapsulation);
    }
  }
}

TEST(ModemWizardTexts, SecurityPageTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"None", "NONE"},       {"WEP Key(64 bits)", "WEP64"},
      {"WEP 64bit", "WEP64"}, {"WEP Key(128 bits)", "WEP128"},
      {"WPA PSK", "PSK"},     {"WPA-PSK", "PSK"},
      {"WPA2 PSK", "PSK2"},
  };
  for (const auto& [text, security] : cases) EXPECT_EQ(SecurityFromPageText(text), security);
  EXPECT_EQ(SecurityFromPageText("none"), std::nullopt);
  EXPECT_EQ(SecurityFromPageText("WEP Key(128bits)"), std::nullopt);
  EXPECT_EQ(SecurityFromPageText(""), std::nullopt);
}

}  // namespace
}  // namespace quillon::modem
