#pragma once
// The terminal shared by the module's log and the live view. Installed as std::cout's buffer, it
// keeps the view's frame at the bottom: before anything else is written the frame is wiped, so
// log lines scroll up above it and are never drawn over, and the next frame comes below them.

#include <cstddef>
#include <streambuf>
#include <string>
#include <vector>

#include "cout_swap.h"

class SharedTerminal : public std::streambuf {
public:
    SharedTerminal() : swap(this) {}

    // Replaces the frame on the terminal, redrawn in place with ANSI cursor moves.
    void drawFrame(const std::vector<std::string>& lines);

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override { return terminal()->pubsync(); }

private:
    std::streambuf* terminal() const { return swap.original(); }
    void write(const std::string& text);
    void wipeFrame();

    CoutSwap swap;
    std::size_t frameLines = 0;
    bool atLineStart = true;
};
