#include "shared_terminal.h"

namespace {
std::string cursorUp(std::size_t lines) {
    return "\x1b[" + std::to_string(lines) + "F";
}
const char* const clearToLineEnd = "\x1b[K";
const char* const clearToScreenEnd = "\x1b[J";
// Without wrapping a narrow terminal cuts the frame's lines, so each stays one line high.
const char* const wrapOff = "\x1b[?7l";
const char* const wrapOn = "\x1b[?7h";
}  // namespace

void SharedTerminal::drawFrame(const std::vector<std::string>& lines) {
    passOutput();
    std::string frame = wrapOff;
    if (frameLines > 0) {
        frame += cursorUp(frameLines);
    } else if (!atLineStart) {
        frame += "\n";
    }
    for (const std::string& line : lines) {
        frame += line + clearToLineEnd + "\n";
    }
    frame += clearToScreenEnd;
    frame += wrapOn;
    output.writeToTerminal(frame);
    frameLines = lines.size();
    atLineStart = true;
}

void SharedTerminal::passOutput() {
    const std::string text = output.take();
    if (text.empty()) {
        return;
    }
    wipeFrame();
    output.writeToTerminal(text);
    atLineStart = text.back() == '\n';
}

void SharedTerminal::wipeFrame() {
    if (frameLines > 0) {
        output.writeToTerminal(cursorUp(frameLines) + clearToScreenEnd);
        frameLines = 0;
    }
}
