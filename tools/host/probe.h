#pragma once
// pendax-host --probe: which port a box is on, at which speed, and whether this module can use
// it. Each port gets the identification request at one line speed after another, starting at
// 19200, and nothing else; a port another program has open is left alone.

#include <ostream>
#include <string>
#include <vector>

struct ProbeResult {
    bool found = false;  // a box answered with its banner
    bool listed = true;  // worth a line: a port that is not there is left out unless named
    std::string line;    // the port, its stable name where it has one, and what was found
};

// named: the user asked for this port, so that even its absence is reported.
ProbeResult probePort(const std::string& port, bool named);

// The ports named, or else every serial port the system knows of, a line each; whether any of
// them has a box.
bool runProbe(const std::vector<std::string>& named, std::ostream& out);
