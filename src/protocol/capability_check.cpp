#include "protocol/capability_check.h"

#include <iostream>

#include "protocol/packet_format.h"

namespace protocol {
namespace {

std::int32_t checkKt256(const BoxState& state, const CLogH& log) {
    std::int32_t result = 0;
    if (state.analogOutMask != 0) {
        log.warning("CPendax: Analog outputs not supported by KT256.", true);
        result = -1;
    }
    if (state.outputGroupMask != 0) {
        log.warning("CPendax: Digital outputs not supported by KT256.", true);
        result = -2;
    }
    if ((state.groupMask & groupBits[2]) != 0) {
        log.warning("CPendax: Digital inputs 19-24 not supported by KT256.", true);
        return -3;
    }
    return result;
}

// A group of eight digital channels is either inputs or outputs, never both.
std::int32_t checkGroups(const BoxState& state, const CLogH& log) {
    if (state.groupMask == 0 || state.outputGroupMask == 0) {
        return 0;
    }
    for (int group = 1; group <= 3; ++group) {
        const std::int32_t bit = groupBits[group - 1];
        if ((state.groupMask & bit) != 0 && (state.outputGroupMask & bit) != 0) {
            log.warning("CPendax: Invalid set-up requested.", true);
            log.warning("CPendax: Digital input group ", false);
            std::cout << group << " AND output group " << group << " selected" << std::endl;
            log.warning("CPendax: Digital channels can be set in groups of 8 as", true);
            log.warning("CPendax: either inputs or outputs.", true);
            log.warning("CPendax: Of course you can (for example) set the bottom 8", true);
            log.warning("CPendax: to inputs DIC1 and the top 16 to outputs DOC2 | DOC3.", true);
            return -5;
        }
    }
    return 0;
}

// The revision's own limits; 0 when they pass and the group rule is still to be applied.
std::int32_t checkKt512Revision(const BoxState& state, const CLogH& log) {
    switch (state.boardRevision) {
        case 'e': {
            log.info("CPendax: KT512-E.", true);
            std::int32_t result = 0;
            if (state.analogOutMask != 0) {
                log.warning("CPendax: Analog outputs not supported.", true);
                result = -1;
            }
            if (state.outputGroupMask != 0) {
                log.warning("CPendax: Digital outputs not supported.", true);
                return -2;
            }
            return result;
        }
        case 'f':
            log.info("CPendax: KT512-F.", true);
            if (state.analogOutMask != 0) {
                log.warning("CPendax: Analog outputs not supported.", true);
                return -2;
            }
            return 0;
        case 'g':
            log.info("CPendax: KT512-G.", true);
            if ((state.analogOutMask & 0x08) != 0) {
                log.warning("CPendax: Only 3 analog outputs on the KT512-G.", true);
                return -2;
            }
            return 0;
        case 'h':
            log.info("CPendax: KT512-H.", true);
            return 0;
        case 'j':
            log.info("CPendax: KT512-J.", true);
            return 0;
        case 'k':
            log.info("CPendax: KT512-K.", true);
            return 0;
        default:
            log.info("CPendax: Not an KT512 board.", true);
            return -3;
    }
}

}  // namespace

std::int32_t checkChannelSetup(const BoxState& state, const CLogH& log) {
    if (state.boardType == kt256Board) {
        return checkKt256(state, log);
    }
    if (state.boardType != kt512Board) {
        return 0;
    }
    const std::int32_t result = checkKt512Revision(state, log);
    if (result != 0) {
        return result;
    }
    return checkGroups(state, log);
}

void requestEveryInput(BoxState& state) {
    state.valuatorMask = 0xff;
    state.groupMask = 0x70;
    state.analogOutMask = 0;
    state.outputGroupMask = 0;
    state.wideChannelMask = 0;
    state.wideChannelConfig = 0;
}

}  // namespace protocol
