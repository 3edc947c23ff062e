#pragma once
// The command that tells the box which channels to report, and the answer a KT512 gives to it.

#include <cstdint>

#include "protocol/box_state.h"

namespace protocol {

struct SetupCommand {
    char bytes[11];  // zero-terminated
    // Commands travel as C strings: a zero byte ends one early.
    std::uint32_t length;
};

// False when the board wants a command this device cannot build (a KT256 of an unknown
// sub-type). Boards other than KT256 and KT512 get an empty command.
bool buildSetupCommand(const BoxState& state, SetupCommand& command);

constexpr std::uint32_t setupReplyLength = 2;
constexpr char setupAccepted = 'a';
constexpr char setupRefused = 'f';

}  // namespace protocol
