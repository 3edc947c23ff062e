#pragma once
// Where the host finds the module when --module does not say.

#include <string>

// The module built beside the host; failing that, a libpendax.so next to the executable.
std::string defaultModulePath();
