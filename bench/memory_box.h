#pragma once
// A box that lives in memory behind the benchmark's port. It answers identification, set-up and
// data requests the moment they are written, as a well-behaved KT512 does, and its answers wait
// until the device reads them. It runs on the device's own calls: no thread, no waiting, and no
// allocation while answering data requests.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "board_identity.h"
#include "box_inputs.h"
#include "box_setup.h"
#include "command_parser.h"

class CMemoryBox {
public:
    // Data requests are answered with these inputs in turn, one set a request (none: at rest).
    void setInputs(const std::vector<BoxInputs>& inputs);

    // What the device writes to the box, and what it reads back: at most what is waiting.
    void receive(const void* bytes, std::uint32_t count);
    std::uint32_t hand(void* buffer, std::uint32_t count);

private:
    void answer(CCommandParser::Request request);
    void queue(const char* bytes, std::size_t count);
    void buildPackets();

    BoardIdentity identity = BoardIdentity::kt512();
    BoxSetup active = BoxSetup::powerOn();
    std::vector<BoxInputs> inputSets{BoxInputs::atRest()};
    std::vector<std::string> packets;  // built ahead from the set-up and the input sets
    std::size_t nextPacket = 0;
    CCommandParser parser;

    // Answers not yet read. A device that never reads loses what does not fit, as behind a
    // full receive buffer.
    char waiting[512] = {};
    std::size_t readFrom = 0;
    std::size_t writeTo = 0;
};
