#pragma once
// The command line of pendax-boxsim.

#include <string>

#include "board_identity.h"
#include "faults.h"

struct BoxOptions {
    BoardIdentity board = BoardIdentity::kt512();
    bool motion = false;
    int lineRate = 0;
    Faults faults;
    bool help = false;
};

// False with a reason for anything it does not know.
bool parseOptions(int argc, const char* const* argv, BoxOptions* options, std::string* error);

extern const char usageText[];
