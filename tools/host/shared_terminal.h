#pragma once
// The terminal shared by the live view and whatever is written to standard output while it
// shows, the module's log included (taken where every C++ runtime writes, so the self-contained
// Windows DLL's too). The view's frame stays at the bottom: before anything else is passed on the
// frame is wiped, so log lines scroll up above it and are never drawn over, and the next frame
// comes below them.

#include <cstddef>
#include <string>
#include <vector>

#include "host_os.h"

class SharedTerminal {
public:
    // Passes on what was written since the last frame, then replaces the frame on the terminal,
    // redrawn in place with ANSI cursor moves.
    void drawFrame(const std::vector<std::string>& lines);

private:
    void passOutput();
    void wipeFrame();

    hostos::StandardOutputTap output;
    std::size_t frameLines = 0;
    bool atLineStart = true;
};
