// The simulator's side takes requests from the network too: the input is a run of datagrams,
// each preceded by its length byte, handed to one firmware one after another.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "firmware.h"

using namespace quillon::modemsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FirmwareSettings settings;
  settings.rebootMs = 3;
  ModemFirmware firmware(settings, FaultSettings{}, FactoryConfig(), FactoryConfig(), 0,
                         [](const std::string&) {});
  int64_t now = 0;
  for (size_t at = 0; at < size;) {
    // A length byte of n stands for n * 2 bytes, so records of 444 and 232 bytes fit in one.
    const size_t length = std::min<size_t>(size_t{data[at]} * 2, size - at - 1);
    const std::vector<uint8_t> datagram(data + at + 1, data + at + 1 + length);
    for (const OutgoingReply& reply : firmware.Handle(datagram.data(), datagram.size(), now++))
      if (reply.bytes.size() < 10) __builtin_trap();
    at += 1 + length;
  }
  return 0;
}
