// The box's identification reply and its answer to the set-up, as configure reads them: any bytes,
// at any pace. The board fields must come from an accepted reply only, the packet length must be
// one that the fixed set-up allows, and configure must end within its bound.
//
// Input: a timing byte and a length byte for the identification reply, its bytes, a timing byte
// for the set-up answer, and the answer's bytes (the rest). A timing byte's high nibble is the
// delay before the first byte in steps of 100 ms, its low nibble the gap between bytes in steps
// of 20 ms.

#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "pendax_probe.h"
#include "scripted_rig.h"

namespace {

void sendPaced(const std::string& bytes, std::uint8_t timing) {
    scripted_sys::send(bytes, (timing >> 4) * 100u, (timing & 15u) * 20u);
}

// Identification sleeps 1 s and reads 44 bytes; the acknowledgement wait is at most 200 tries
// of a 100-byte read.
constexpr std::uint64_t configureBoundMs = 1000 + (2 * 44 + 100) + 201 * (2 * 100 + 100);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t identificationTiming = input.byte();
    const std::string identification = input.take(input.byte());
    const std::uint8_t answerTiming = input.byte();
    const std::string answer = input.rest();

    ScriptedRig rig;
    rig.onIdentify = [&] { sendPaced(identification, identificationTiming); };
    rig.onSetup = [&] { sendPaced(answer, answerTiming); };
    fuzzCheck(rig.init() == 1, "the device comes up");
    fuzzCheck(rig.device->configure() == 3, "configure answers controller data");
    fuzzCheck(scripted_sys::nowMs() <= configureBoundMs, "configure ends within its bound");

    CPendaxProbe probe(*rig.device);
    const BoxState& box = probe.box();
    const bool bannerMatches =
        identification.size() >= 44 &&
        std::memcmp(identification.data(), "Copyright (c), Morvantech", 25) == 0;
    const auto digit = [&identification](std::size_t i) { return identification[i] - '0'; };
    const bool fieldsSet = box.boardType != 0 || box.boardSubType != 0 || box.epromRevision != 0 ||
                           box.boardRevision != 0;
    // A reply sent at once is read whole; a slow one may be cut short and refused.
    if (fieldsSet || (bannerMatches && identificationTiming == 0)) {
        fuzzCheck(bannerMatches && box.boardType == digit(38) && box.boardSubType == digit(40) &&
                      box.epromRevision == digit(41) && box.boardRevision == identification[42],
                  "the board fields come from an accepted reply");
    }
    fuzzCheck(box.packetLength == 0 || box.packetLength == 24,
              "the packet length is the fixed set-up's, or none");
    return 0;
}
