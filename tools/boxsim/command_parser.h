#pragma once
// Splits the byte stream the box receives into requests: identification 'T', data packet 'o',
// and the set-up commands 'R' and 'r' (3 bytes), 's' (4) and 'c' (10). Inside a set-up command
// every byte belongs to it, whatever its value.

#include <string>

#include "box_setup.h"

class CCommandParser {
public:
    enum class Request { incomplete, ignored, identification, packet, setup };

    Request feed(char byte);

    // The set-up that the last Request::setup completed.
    const BoxSetup& setup() const { return completed; }

private:
    std::string collecting;
    std::size_t expected = 0;
    BoxSetup completed = BoxSetup::powerOn();
};

// The channels a complete set-up command asks for.
BoxSetup decodeSetup(const std::string& command);
