#include "protocol/setup_command.h"

#include <cstring>

#include "protocol/capability_check.h"

namespace protocol {
namespace {

// Printable form of a command byte: 0 travels as '!'.
constexpr std::int32_t offset = 33;

std::int32_t lo(std::int32_t mask) {
    return mask & 0x0F;
}

std::int32_t hi(std::int32_t mask) {
    return (mask >> 4) & 0x0F;
}

class CommandWriter {
public:
    explicit CommandWriter(SetupCommand& command) : command(command) {}
    // Byte values wrap modulo 256.
    CommandWriter& operator<<(std::int32_t value) {
        command.bytes[size++] = static_cast<char>(static_cast<unsigned char>(value));
        return *this;
    }
    void finish() {
        command.bytes[size] = '\0';
        command.length = static_cast<std::uint32_t>(std::strlen(command.bytes));
    }

private:
    SetupCommand& command;
    std::uint32_t size = 0;
};

}  // namespace

bool buildSetupCommand(const BoxState& state, SetupCommand& command) {
    const std::int32_t analogLow = lo(state.valuatorMask);
    const std::int32_t analogHighAndGroups = hi(state.valuatorMask) | state.groupMask;
    const std::int32_t outputs = lo(state.analogOutMask) | (state.outputGroupMask & 0xF0);
    CommandWriter out(command);
    if (state.boardType == kt256Board) {
        if (state.boardSubType == 2) {
            out << 'R' << analogLow << analogHighAndGroups;
        } else if (state.boardSubType == 3) {
            out << 'r' << analogLow + offset << analogHighAndGroups + offset;
        } else {
            return false;
        }
    } else if (state.boardType == kt512Board) {
        out << (state.epromRevision <= 6 ? 's' : 'c') << analogLow + offset
            << analogHighAndGroups + offset << outputs + offset;
        if (state.epromRevision >= 7) {
            out << hi(state.analogOutMask) + offset << lo(state.wideChannelMask) + offset
                << lo(state.wideChannelConfig) + offset << hi(state.wideChannelMask) + offset
                << hi(state.wideChannelConfig) + offset << '\n';
        }
    }
    out.finish();
    return true;
}

}  // namespace protocol
