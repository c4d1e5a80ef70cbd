// How this system's DHCP client is run: command lines, files, script and the adapters chosen.
// Nothing is run here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/dhclient_setup.h"

namespace {

using Calls = std::vector<std::string>;

TEST(Dhclient, EveryRunUsesOurOwnFilesAndScript) {
  auto files = platform::posix::DhclientFilesFor("/run/quillon-dhcp", "veth_pc");
  EXPECT_EQ(files.config, "/run/quillon-dhcp/dhclient.conf");
  EXPECT_EQ(files.script, "/run/quillon-dhcp/dhclient-script");
  EXPECT_EQ(files.pidFile, "/run/quillon-dhcp/veth_pc.pid");
  EXPECT_EQ(files.leaseFile, "/run/quillon-dhcp/veth_pc.leases");
  EXPECT_EQ(platform::posix::DhclientFilesFor("/s/", "eth0").pidFile, "/s/eth0.pid");

  const Calls common = {"-cf",           files.config, "-pf",        files.pidFile, "-lf",
                        files.leaseFile, "-sf",        files.script, "veth_pc"};
  Calls release = {"/usr/sbin/dhclient", "-4", "-r"};
  release.insert(release.end(), common.begin(), common.end());
  Calls renew = {"/usr/sbin/dhclient", "-4", "-1"};
  renew.insert(renew.end(), common.begin(), common.end());
  EXPECT_EQ(platform::posix::DhclientReleaseCommand("/usr/sbin/dhclient", files, "veth_pc"),
            release);
  EXPECT_EQ(platform::posix::DhclientRenewCommand("/usr/sbin/dhclient", files, "veth_pc"), renew);
}

TEST(Dhclient, TheScriptNeverTouchesNameResolutionOrTheHostName) {
  const std::string script = platform::posix::kDhclientScript;
  EXPECT_EQ(script.rfind("#!/bin/sh\n", 0), 0u);
  for (const char* forbidden : {"resolv", "hostname", "/etc/", "route replace", "route del"})
    EXPECT_EQ(script.find(forbidden), std::string::npos) << forbidden;
  for (const char* reason : {"BOUND", "RENEW", "REBIND", "REBOOT", "RELEASE", "EXPIRE", "STOP"})
    EXPECT_NE(script.find(reason), std::string::npos) << reason;
}

TEST(Dhclient, StaticAddressesAreFoundByInterface) {
  const char* listing =
      "1: lo    inet 127.0.0.1/8 scope host lo\\       valid_lft forever preferred_lft forever\n"
      "4: eth0    inet 192.0.2.2/24 brd 192.0.2.255 scope global eth0\\       valid_lft forever\n"
      "4: eth0    inet 192.0.2.3/24 scope global secondary eth0\\       valid_lft forever\n"
      "7: veth_pc@if6    inet 198.51.100.10/24 scope global veth_pc\\       valid_lft forever\n"
      "garbage\n";
  EXPECT_EQ(platform::posix::InterfacesInAddressListing(listing), (Calls{"lo", "eth0", "veth_pc"}));
  EXPECT_TRUE(platform::posix::InterfacesInAddressListing("").empty());
  EXPECT_EQ(platform::posix::FlushStaticAddressesCommand("/usr/sbin/ip", "eth0"),
            (Calls{"/usr/sbin/ip", "-4", "addr", "flush", "dev", "eth0", "permanent"}));
}

TEST(Dhclient, OnlyALinkThatCanBeTheModemsCableIsRenewed) {
  using platform::posix::InterfaceFacts;
  InterfaceFacts ethernet{"eth0", 2, true, false, false, true, true, false, true, ""};
  EXPECT_TRUE(platform::posix::IsDhcpCandidate(ethernet));
  ethernet.kind = "vlan";
  EXPECT_TRUE(platform::posix::IsDhcpCandidate(ethernet));
  auto with = [&](auto change) {
    InterfaceFacts facts = ethernet;
    change(facts);
    return platform::posix::IsDhcpCandidate(facts);
  };
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.up = false; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.carrier = false; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.loopback = true; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.pointToPoint = true; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.broadcast = false; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.ethernet = false; }));
  EXPECT_FALSE(with([](InterfaceFacts& f) { f.enslaved = true; }));
  for (const char* kind :
       {"bridge", "bond", "team", "tun", "vxlan", "geneve", "gretap", "erspan", "wireguard"}) {
    EXPECT_FALSE(with([kind](InterfaceFacts& f) { f.kind = kind; })) << kind;
    InterfaceFacts virtualLink = ethernet;
    virtualLink.kind = kind;
    EXPECT_EQ(platform::posix::MediumOf(virtualLink), platform::AdapterMedium::kVirtual) << kind;
  }
  InterfaceFacts wlan = ethernet;
  wlan.kind = "wlan";
  EXPECT_FALSE(platform::posix::IsDhcpCandidate(wlan));
  EXPECT_EQ(platform::posix::MediumOf(wlan), platform::AdapterMedium::kWireless);
  EXPECT_EQ(platform::posix::MediumOf(ethernet), platform::AdapterMedium::kWired);
  // A bridge that shares a card of the PC's own is the cable, and its addressing stays as it is.
  InterfaceFacts bridge = ethernet;
  bridge.kind = "bridge";
  bridge.cardPort = true;
  EXPECT_EQ(platform::posix::MediumOf(bridge), platform::AdapterMedium::kWired);
  EXPECT_FALSE(platform::posix::IsDhcpCandidate(bridge));
  EXPECT_EQ(platform::posix::DeviceKindInUevent("INTERFACE=br0\nIFINDEX=4\nDEVTYPE=bridge\n"),
            "bridge");
  EXPECT_EQ(platform::posix::DeviceKindInUevent("INTERFACE=eth0\nIFINDEX=2"), "");
}

}  // namespace
