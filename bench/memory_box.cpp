#include "memory_box.h"

#include <algorithm>
#include <cstring>

#include "replies.h"

namespace {
constexpr char setupAccepted = 'a';
}

void CMemoryBox::setInputs(const std::vector<BoxInputs>& inputs) {
    inputSets = inputs.empty() ? std::vector<BoxInputs>{BoxInputs::atRest()} : inputs;
    buildPackets();
}

void CMemoryBox::receive(const void* bytes, std::uint32_t count) {
    const auto* request = static_cast<const char*>(bytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        answer(parser.feed(request[i]));
    }
}

std::uint32_t CMemoryBox::hand(void* buffer, std::uint32_t count) {
    const std::size_t given = std::min<std::size_t>(count, writeTo - readFrom);
    std::memcpy(buffer, waiting + readFrom, given);
    readFrom += given;
    if (readFrom == writeTo) {
        readFrom = writeTo = 0;
    }
    return static_cast<std::uint32_t>(given);
}

void CMemoryBox::answer(CCommandParser::Request request) {
    switch (request) {
        case CCommandParser::Request::identification: {
            const std::string reply = identificationReply(identity);
            queue(reply.data(), reply.size());
            break;
        }
        case CCommandParser::Request::setup: {
            active = parser.setup();
            buildPackets();
            const std::string reply = setupAnswer(setupAccepted);
            queue(reply.data(), reply.size());
            break;
        }
        case CCommandParser::Request::packet: {
            const std::string& packet = packets[nextPacket];
            nextPacket = (nextPacket + 1) % packets.size();
            queue(packet.data(), packet.size());
            break;
        }
        case CCommandParser::Request::incomplete:
        case CCommandParser::Request::ignored:
            break;
    }
}

void CMemoryBox::queue(const char* bytes, std::size_t count) {
    const std::size_t fits = std::min(count, sizeof waiting - writeTo);
    std::memcpy(waiting + writeTo, bytes, fits);
    writeTo += fits;
}

void CMemoryBox::buildPackets() {
    packets.clear();
    for (const BoxInputs& inputs : inputSets) {
        packets.push_back(dataPacket(active, inputs));
    }
    nextPacket = 0;
}
