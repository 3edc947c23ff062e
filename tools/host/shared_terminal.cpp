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
    write(frame);
    terminal()->pubsync();
    frameLines = lines.size();
    atLineStart = true;
}

void SharedTerminal::write(const std::string& text) {
    terminal()->sputn(text.data(), static_cast<std::streamsize>(text.size()));
}

void SharedTerminal::wipeFrame() {
    if (frameLines > 0) {
        write(cursorUp(frameLines) + clearToScreenEnd);
        frameLines = 0;
    }
}

SharedTerminal::int_type SharedTerminal::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    wipeFrame();
    atLineStart = traits_type::to_char_type(character) == '\n';
    return terminal()->sputc(traits_type::to_char_type(character));
}

std::streamsize SharedTerminal::xsputn(const char* text, std::streamsize count) {
    if (count > 0) {
        wipeFrame();
        atLineStart = text[count - 1] == '\n';
    }
    return terminal()->sputn(text, count);
}
