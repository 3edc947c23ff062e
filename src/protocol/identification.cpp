#include "protocol/identification.h"

#include <cstring>

namespace protocol {

bool bannerMatches(const char* reply) {
    return std::memcmp(reply, banner, bannerLength) == 0;
}

// The digits are taken as they come; a box that sends something else gets a board type that no
// later step recognises.
void readBoardFields(const char* reply, BoxState& state) {
    state.boardType = reply[boardTypeAt] - '0';
    state.boardSubType = reply[boardSubTypeAt] - '0';
    state.epromRevision = reply[epromRevisionAt] - '0';
    state.boardRevision = reply[boardRevisionAt];
}

}  // namespace protocol
