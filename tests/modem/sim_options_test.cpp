// The simulator's command line and its state file form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence.h"
#include "sim_options.h"

namespace quillon::modemsim {
namespace {

TEST(ModemSimOptions, DefaultsMatchTheHelp) {
  const ParsedOptions parsed = ParseSimOptions({});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.bindAddress, "0.0.0.0");
  EXPECT_EQ(parsed.options.port, 65002);
  EXPECT_EQ(parsed.options.firmware.model, "QR-5120G");
  EXPECT_EQ(parsed.options.firmware.password, "tulip");
  EXPECT_EQ(parsed.options.firmware.ipAddress, "198.51.100.1");
  EXPECT_TRUE(parsed.options.firmware.lineUp);
  EXPECT_FALSE(parsed.options.firmware.ispUser.has_value());
  const std::string help = HelpText();
  for (const char* option : {"--bind",
                             "--port",
                             "--mac",
                             "--model",
                             "--password",
                             "--ip",
                             "--line-down",
                             "--wan-up-polls",
                             "--wan-up-ms",
                             "--isp-user",
                             "--isp-password",
                             "--reboot-ms",
                             "--config",
                             "--state-file",
                             "--log",
                             "--seed",
                             "--drop",
                             "--drop-first",
                             "--duplicates",
                             "--delay-ms",
                             "--stale-seq",
                             "--foreign-mac",
                             "--malformed-tokens",
                             "--truncate-records",
                             "--no-return-after-reboot",
                             "--help"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
}

TEST(ModemSimOptions, EveryOptionReachesItsSetting) {
  const ParsedOptions parsed = ParseSimOptions({"--bind",
                                                "127.0.0.1",
                                                "--port=0",
                                                "--mac",
                                                "0a-0b-0c-0d-0e-0f",
                                                "--model",
                                                "M",
                                                "--password=",
                                                "--ip",
                                                "10.1.1.1",
                                                "--firmware-version",
                                                "9",
                                                "--line-down",
                                                "--line-rate-up",
                                                "1",
                                                "--line-rate-down",
                                                "2",
                                                "--wan-up-polls",
                                                "3",
                                                "--wan-up-ms",
                                                "4",
                                                "--isp-user",
                                                "u",
                                                "--isp-password",
                                                "",
                                                "--reboot-ms",
                                                "5",
                                                "--config",
                                                "c",
                                                "--state-file",
                                                "s",
                                                "--log",
                                                "l",
                                                "--seed",
                                                "6",
                                                "--drop",
                                                "0.25",
                                                "--drop-first",
                                                "7",
                                                "--duplicates",
                                                "8",
                                                "--delay-ms",
                                                "9",
                                                "--stale-seq",
                                                "1",
                                                "--foreign-mac",
                                                "0",
                                                "--foreign-mac-address",
                                                "00:00:00:00:00:01",
                                                "--malformed-tokens",
                                                "0.5",
                                                "--truncate-records",
                                                "1e-1",
                                                "--no-return-after-reboot"});
  ASSERT_EQ(parsed.error, "");
  const SimOptions& o = parsed.options;
  EXPECT_EQ(o.bindAddress, "127.0.0.1");
  EXPECT_EQ(o.port, 0);
  EXPECT_EQ(o.firmware.mac, (modem::MacAddress{10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(o.firmware.model, "M");
  EXPECT_EQ(o.firmware.password, "");
  EXPECT_EQ(o.firmware.ipAddress, "10.1.1.1");
  EXPECT_EQ(o.firmware.firmwareVersion, "9");
  EXPECT_FALSE(o.firmware.lineUp);
  EXPECT_EQ(o.firmware.lineRateUpKbps, 1u);
  EXPECT_EQ(o.firmware.lineRateDownKbps, 2u);
  EXPECT_EQ(o.firmware.wanUpAfterPolls, 3u);
  EXPECT_EQ(o.firmware.wanUpAfterMs, 4);
  EXPECT_EQ(o.firmware.ispUser, "u");
  EXPECT_EQ(o.firmware.ispPassword, "");
  EXPECT_EQ(o.firmware.rebootMs, 5);
  EXPECT_EQ(o.configFile, "c");
  EXPECT_EQ(o.stateFile, "s");
  EXPECT_EQ(o.logFile, "l");
  EXPECT_EQ(o.faults.seed, 6u);
  EXPECT_EQ(o.faults.drop, 0.25);
  EXPECT_EQ(o.faults.dropFirst, 7u);
  EXPECT_EQ(o.faults.duplicates, 8u);
  EXPECT_EQ(o.faults.delayMs, 9);
  EXPECT_EQ(o.faults.staleSequence, 1);
  EXPECT_EQ(o.faults.foreignMac, 0);
  EXPECT_EQ(o.faults.foreignMacAddress, (modem::MacAddress{0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(o.faults.malformedTokens, 0.5);
  EXPECT_DOUBLE_EQ(o.faults.truncateRecords, 0.1);
  EXPECT_TRUE(o.faults.noReturnAfterReboot);
}

TEST(ModemSimOptions, RejectsWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--nope"},           {"stray"},
      {"--port"},           {"--port", "70000"},
      {"--port", "-1"},     {"--drop", "1.5"},
      {"--drop", "nan"},    {"--drop", "0.5x"},
      {"--mac", "1:2:3"},   {"--mac", "zz:00:00:00:00:00"},
      {"--model", "a<b"},   {"--password", "x=y"},
      {"--ip", "1.2.3.4>"}, {"--line-down=1"},
      {"--seed", ""},       {"--delay-ms", "5ms"},
      {"--state-file", ""}};
  for (const auto& args : bad) EXPECT_NE(ParseSimOptions(args).error, "") << args[0];
  EXPECT_TRUE(ParseSimOptions({"--help"}).help);
}

// --- the state file
// --------------------------------------------------------------------------------

TEST(ModemSimStateFile, EscapesEveryByte) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string escaped = EscapeValue(all);
  EXPECT_EQ(escaped.find('\n'), std::string::npos);
  EXPECT_EQ(escaped.find('\0'), std::string::npos);
  EXPECT_EQ(UnescapeValue(escaped), all);
  EXPECT_EQ(EscapeValue("a=b\\c"), "a=b\\\\c");
  EXPECT_EQ(UnescapeValue("bad\\"), std::nullopt);
  EXPECT_EQ(UnescapeValue("\\q"), std::nullopt);
  EXPECT_EQ(UnescapeValue("\\x4"), std::nullopt);
}

TEST(ModemSimStateFile, StateFeedsBackAsConfiguration) {
  SimConfig saved = FactoryConfig();
  saved.pvc1.vpi = 0;
  saved.pvc1.vci = 100;
  saved.pvc1.pppUsername = "line\nbreak";
  saved.wireless.wlSsid = "caf\xe9 = net";
  SimConfig pending = saved;
  pending.pvc1.vci = 101;
  SimCounters counters;
  counters.saveReboots = 3;
  const std::string text = FormatState(saved, pending, counters);
  EXPECT_NE(text.find("saved.pvc1.vci=100\n"), std::string::npos);
  EXPECT_NE(text.find("pending.pvc1.vci=101\n"), std::string::npos);
  EXPECT_NE(text.find("saved.pvc1.pppUsername=line\\nbreak\n"), std::string::npos);
  EXPECT_NE(text.find("counters.saveReboots=3\n"), std::string::npos);

  SimConfig factory = FactoryConfig();
  SimConfig loaded;
  EXPECT_EQ(ApplyConfigText(text, factory, loaded), std::nullopt);
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(factory, FactoryConfig());
}

TEST(ModemSimStateFile, FactoryKeysAlsoSeedTheSavedConfiguration) {
  SimConfig factory = FactoryConfig();
  SimConfig saved;
  ASSERT_EQ(ApplyConfigText("# comment\r\n\nfactory.wireless.wlSsid=shop\nsaved.pvc1.vci=77\n",
                            factory, saved),
            std::nullopt);
  EXPECT_EQ(factory.wireless.wlSsid, "shop");
  EXPECT_EQ(saved.wireless.wlSsid, "shop");
  EXPECT_EQ(saved.pvc1.vci, 77u);
  EXPECT_EQ(factory.pvc1.vci, 35u);
}

TEST(ModemSimStateFile, BadLinesAreNamed) {
  SimConfig factory, saved;
  const auto error = [&](const std::string& text) {
    return ApplyConfigText(text, factory, saved).value_or("");
  };
  EXPECT_NE(error("saved.pvc1.vci=35\nno equals sign\n").find("line 2"), std::string::npos);
  EXPECT_NE(error("saved.pvc1.nothing=1\n"), "");
  EXPECT_NE(error("other.pvc1.vci=1\n"), "");
  EXPECT_NE(error("saved.pvc1.vci=-1\n"), "");
  EXPECT_NE(error("saved.pvc1.vci=\n"), "");
  EXPECT_NE(error("saved.wireless.wlSsid=\\z\n"), "");
}

}  // namespace
}  // namespace quillon::modemsim
