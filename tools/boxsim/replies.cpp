#include "replies.h"

namespace {

char digit(int value) {
    return static_cast<char>('0' + value);
}

// Digital characters are 'A' ... 'P' for the nibbles 0 ... 15.
void appendGroup(std::string& packet, int group) {
    packet += static_cast<char>('A' + ((group >> 4) & 0x0F));
    packet += static_cast<char>('A' + (group & 0x0F));
}

char sixBits(int value) {
    return static_cast<char>((value & 0x3F) + 33);
}

}  // namespace

std::string identificationReply(const BoardIdentity& board) {
    std::string reply = "Copyright (c), Morvantech, board type ";
    reply += digit(board.type);
    reply += '.';
    reply += digit(board.subType);
    reply += digit(board.epromRevision);
    reply += board.revision;
    reply += '.';
    return reply;
}

std::string dataPacket(const BoxSetup& setup, const BoxInputs& inputs) {
    std::string packet = "B";
    for (int slot = 2; slot >= 0; --slot) {
        if ((setup.groupMask & (0x10 << slot)) != 0) {
            appendGroup(packet, static_cast<int>((inputs.buttons >> (8 * slot)) & 0xFF));
        }
    }
    for (int input = 0; input < analogInputs; ++input) {
        if ((setup.valuatorMask & (1 << input)) != 0) {
            packet += sixBits(inputs.analog[input] >> 6);
            packet += sixBits(inputs.analog[input]);
        }
    }
    for (int channel = 0; channel < wideChannels; ++channel) {
        if ((setup.wideChannelMask & (1 << channel)) != 0) {
            for (int k = 0; k < 4; ++k) {
                packet += sixBits(inputs.wide[channel] >> (6 * k));
            }
        }
    }
    packet += '\n';
    return packet;
}

std::string setupAnswer(char letter) {
    return {letter, '\n'};
}
