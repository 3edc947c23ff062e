#pragma once
// Where the host finds the module when --module does not say.

#include <string>

// The module built beside the host; failing that, the one that lies next to the program, as the
// two ship together.
std::string defaultModulePath();
