#pragma once
// Ctrl-C and SIGTERM ask the host to stop; the polling loop looks at the request between cycles.

// A second Ctrl-C ends the program at once, should a stop ever hang.
void installStopHandlers();
bool stopRequested();
