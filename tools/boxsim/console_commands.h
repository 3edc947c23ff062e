#pragma once
// The commands pendax-boxsim takes on its standard input, one a line:
//   analog N VALUE    analog input N (1-8) to VALUE (0-4095, 2048 is the middle)
//   button N 0|1      digital input N (1-24) released or pressed
//   wide N VALUE      wide channel N (1-8) to VALUE (0-16777215)
//   motion on|off     the built-in motion pattern; analog, button and wide switch it off
//   fault NAME [VALUE]  as applyFault takes them
//   pace BAUD         line-rate pacing, 0 for none
//   stats             the box's counters
// Blank lines and lines starting with '#' are skipped.

#include <ostream>
#include <string>

#include "virtual_box.h"

// False for a line it cannot follow, with the reason written to answer. stats writes there too.
bool runConsoleCommand(CVirtualBox& box, const std::string& line, std::ostream& answer);

void writeCounters(const BoxCounters& counters, std::ostream& out);
