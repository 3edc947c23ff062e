// Bytes from the port, cycle after cycle, through framing and decoding into the published
// controller record. Each data request is answered with the next run of the input, at a pace the
// input sets; the record must be what the reference decoder makes of the packet that the cycle
// read, published exactly when it changed, and nothing may be published from a broken packet.
// No cycle may wait longer than its bound.
//
// Input: for each request, a length byte, a timing byte (high nibble: delay before the first
// byte in steps of 20 ms; low nibble: gap between bytes in steps of 10 ms), then that many bytes.

#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "pendax_probe.h"
#include "reference_decoder.h"
#include "scripted_rig.h"
#include "stored_sample.h"

namespace {

// At 19200 baud: the packet read gives up 2 × 24 + 100 ms after it began; a drain ends after the
// packet's line time and the read time-out, plus the one-byte read it was in.
constexpr std::uint64_t cycleBoundMs = (2 * 24 + 100) + (13 + 100) + (2 + 100);
constexpr int maxCycles = 32;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    ScriptedRig rig;
    fuzzCheck(rig.init() == 1 && rig.device->configure() == 3, "the device comes up");
    fuzzCheck(CPendaxProbe(*rig.device).box().packetLength == 24, "the set-up fixes 24 bytes");
    rig.onRequest = [&input] {
        const std::size_t length = input.byte();
        const std::uint8_t timing = input.byte();
        scripted_sys::send(input.take(length), (timing >> 4) * 20u, (timing & 15u) * 10u);
    };

    bool published = false;
    ConData lastPublished{};
    for (int cycle = 0; cycle < maxCycles && !input.empty(); ++cycle) {
        ConData before;
        std::memcpy(&before, &rig.slot(), sizeof before);
        const std::uint64_t start = scripted_sys::nowMs();
        const std::int32_t result = rig.poll();
        fuzzCheck(scripted_sys::nowMs() - start <= cycleBoundMs, "a cycle ends within its bound");

        const std::string packet = scripted_sys::readsSinceWrite().front();
        const std::int32_t expected = packet.size() != 24 ? 0 : framedPacket(packet) ? 1 : -1;
        fuzzCheck(result == expected, "the result follows the packet's length and frame");
        if (result == 1) {
            const ReferenceSample reference = referenceDecode(packet);
            const ConData sample = storedSample(reference.valuators, reference.buttons);
            const bool changed = !published || !sameChannels(sample, lastPublished);
            fuzzCheck((rig.masks.controllerMask != 0) == changed,
                      "a sample is published exactly when it changed");
            fuzzCheck(sameChannels(rig.slot(), changed ? sample : before),
                      "the published record is the packet's sample");
            if (changed) {
                published = true;
                lastPublished = sample;
            }
        } else {
            fuzzCheck(rig.masks.controllerMask == 0, "nothing is published from a broken packet");
            fuzzCheck(std::memcmp(&before, &rig.slot(), sizeof before) == 0,
                      "a broken packet leaves the storage alone");
        }
    }
    return 0;
}
