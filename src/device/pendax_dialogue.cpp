// The device's side of the box dialogue: the serial exchanges, their waits and retries. The byte
// rules live in the protocol codec.

#include <cstring>
#include <iostream>

#include "device/pendax.h"
#include "platform/sys/sys.h"
#include "protocol/capability_check.h"
#include "protocol/channel_counts.h"
#include "protocol/identification.h"
#include "protocol/packet_decoder.h"
#include "protocol/setup_command.h"

namespace {

// How long the box is given to put its identification on the line.
constexpr std::uint32_t identificationWaitMs = 1000;
constexpr std::uint32_t setupReplyCapacity = 100;
constexpr int setupReplyTries = 200;
// A box that has sent nothing for this long will not acknowledge any more.
constexpr std::uint64_t setupReplyQuietMs = 2000;

}  // namespace

std::int32_t CPendax::identify() {
    if (writeToBox(&protocol::identificationRequest, 1) != 1) {
        logger->error("CPendax: Sending a byte failed.", true);
        return -1;
    }
    sys::sleepMs(identificationWaitMs);
    char reply[protocol::identificationLength];
    if (readFromBox(reply, sizeof reply) != sizeof reply) {
        logger->error("CPendax: Reading data failed.", true);
        return -1;
    }
    if (!protocol::bannerMatches(reply)) {
        logger->error("CPendax: No match on copyright string: ", false);
        std::cout.write(reply, static_cast<std::streamsize>(strnlen(reply, sizeof reply)));
        std::cout << std::endl;
        return -1;
    }
    protocol::readBoardFields(reply, boxState);
    return boxState.boardType;
}

std::int32_t CPendax::setupBox() {
    const std::int32_t check = checkChannelSetup();
    if (check < 0) {
        return check;
    }
    countChannels();
    boxState.packetLength = protocol::packetLengthOf(boxState);

    protocol::SetupCommand command;
    if (!protocol::buildSetupCommand(boxState, command)) {
        return -1;
    }
    if (writeToBox(command.bytes, command.length) != command.length) {
        logger->error("CPendax: Sending data failed.", true);
        return -1;
    }
    if (boxState.boardType < protocol::kt512Board) {
        return 0;  // a KT256 does not answer
    }
    const std::int32_t reply = readSetupReply();
    if (boxState.epromRevision != 0 && reply < 0) {
        return reply;
    }
    return 0;
}

std::int32_t CPendax::readSetupReply() {
    // One byte more than is ever read, so the reply always ends as text inside the buffer.
    char reply[setupReplyCapacity + 1] = {};
    std::uint64_t lastByteAt = sys::monotonicMs();
    std::uint32_t got = readFromBox(reply, setupReplyCapacity);
    int tries = 0;
    bool quiet = false;
    while (got != protocol::setupReplyLength && tries < setupReplyTries) {
        if (got > 0) {
            lastByteAt = sys::monotonicMs();
            logger->info("CPendax: read: ", false);
            std::cout << reply << std::endl;
        } else if (sys::monotonicMs() - lastByteAt >= setupReplyQuietMs) {
            quiet = true;
            break;
        }
        sys::sleepMs(0);
        got = readFromBox(reply, setupReplyCapacity);
        ++tries;
    }
    if (tries > 2) {
        logger->warning("CPendax: Took ", false);
        std::cout << tries << " trys" << std::endl;
    }
    if (tries == setupReplyTries || quiet) {
        logger->warning("CPendax: Timeout ", false);
        std::cout << got << " chars in buffer" << std::endl;
    }
    switch (reply[0]) {
        case protocol::setupAccepted:
            logger->info("CPendax: Setup OK.", true);
            return 0;
        case protocol::setupRefused:
            logger->error("CPendax: Setup failed.", true);
            return -1;
        default:
            logger->warning("CPendax: Unexpected respons: ", false);
            std::cout << reply << std::endl;
            return -2;
    }
}

std::int32_t CPendax::checkChannelSetup() {
    return protocol::checkChannelSetup(boxState, *logger);
}

void CPendax::countChannels() {
    protocol::countChannels(boxState);
}

std::int32_t CPendax::decodePacket(const char* packet) {
    protocol::decodePacket(boxState, packet, decoded);
    return 0;
}

void CPendax::setBoxStateDefaults() {
    protocol::requestEveryInput(boxState);
}

std::uint32_t CPendax::writeToBox(const void* data, std::uint32_t count) {
    return serialPort != nullptr ? serialPort->write(data, count) : 0;
}

std::uint32_t CPendax::readFromBox(void* buffer, std::uint32_t count) {
    return serialPort != nullptr ? serialPort->read(buffer, count) : 0;
}
