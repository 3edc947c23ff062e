#include "command_parser.h"

namespace {

std::size_t lengthOfSetup(char letter) {
    switch (letter) {
        case 'R':
        case 'r':
            return 3;
        case 's':
            return 4;
        case 'c':
            return 10;
        default:
            return 0;
    }
}

}  // namespace

CCommandParser::Request CCommandParser::feed(char byte) {
    if (expected == 0) {
        if (byte == 'T') {
            return Request::identification;
        }
        if (byte == 'o') {
            return Request::packet;
        }
        expected = lengthOfSetup(byte);
        if (expected == 0) {
            return Request::ignored;
        }
        collecting.clear();
    }
    collecting += byte;
    if (collecting.size() < expected) {
        return Request::incomplete;
    }
    expected = 0;
    completed = decodeSetup(collecting);
    return Request::setup;
}

BoxSetup decodeSetup(const std::string& command) {
    // All but 'R' carry each value plus 33 so that every byte is printable.
    const int offset = command[0] == 'R' ? 0 : 33;
    int value[10] = {};
    for (std::size_t i = 1; i < command.size(); ++i) {
        value[i] = (static_cast<unsigned char>(command[i]) - offset) & 0xFF;
    }
    BoxSetup setup{command[0], true, 0, 0, 0, 0, 0, 0, command};
    setup.valuatorMask = (value[1] & 0x0F) | ((value[2] & 0x0F) << 4);
    setup.groupMask = value[2] & 0xF0;
    if (command.size() >= 4) {
        setup.analogOutMask = value[3] & 0x0F;
        setup.outputGroupMask = value[3] & 0xF0;
    }
    if (command.size() == 10) {
        setup.analogOutMask |= (value[4] & 0x0F) << 4;
        setup.wideChannelMask = (value[5] & 0x0F) | ((value[7] & 0x0F) << 4);
        setup.wideChannelConfig = (value[6] & 0x0F) | ((value[8] & 0x0F) << 4);
        setup.wellFormed = command[9] == '\n';
    }
    return setup;
}
