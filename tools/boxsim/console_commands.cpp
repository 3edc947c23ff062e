#include "console_commands.h"

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

bool parseNumber(const std::string& text, int* value) {
    std::istringstream in(text);
    return static_cast<bool>(in >> *value) && in.peek() == std::char_traits<char>::eof();
}

// "analog", "button" and "wide": a number and a value, both checked by the box.
bool setInput(CVirtualBox& box, const std::vector<std::string>& words, std::ostream& answer) {
    int number = 0;
    int value = 0;
    if (words.size() != 3 || !parseNumber(words[1], &number) || !parseNumber(words[2], &value)) {
        answer << words[0] << " takes a number and a value\n";
        return false;
    }
    box.setMotion(false);
    bool accepted = false;
    if (words[0] == "analog") {
        accepted = box.setAnalog(number, value);
    } else if (words[0] == "button") {
        accepted = (value == 0 || value == 1) && box.setButton(number, value == 1);
    } else {
        accepted = box.setWide(number, value);
    }
    if (!accepted) {
        answer << words[0] << " " << number << " " << value << " is out of range\n";
    }
    return accepted;
}

}  // namespace

bool runConsoleCommand(CVirtualBox& box, const std::string& line, std::ostream& answer) {
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty() || words[0][0] == '#') {
        return true;
    }
    const std::string& command = words[0];
    if (command == "analog" || command == "button" || command == "wide") {
        return setInput(box, words, answer);
    }
    if (command == "motion" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        box.setMotion(words[1] == "on");
        return true;
    }
    if (command == "fault" && (words.size() == 2 || words.size() == 3)) {
        Faults faults = box.faults();
        std::string error;
        if (!applyFault(faults, words[1], words.size() == 3 ? words[2] : "", &error)) {
            answer << error << "\n";
            return false;
        }
        box.setFaults(faults);
        return true;
    }
    int baud = 0;
    if (command == "pace" && words.size() == 2 && parseNumber(words[1], &baud) && baud >= 0) {
        box.setLineRate(baud);
        return true;
    }
    int milliseconds = 2000;
    if (command == "unplug" && words.size() <= 2 &&
        (words.size() == 1 || (parseNumber(words[1], &milliseconds) && milliseconds >= 0))) {
        box.unplug(std::chrono::milliseconds(milliseconds));
        return true;
    }
    if (command == "stats" && words.size() == 1) {
        writeCounters(box.counters(), answer);
        return true;
    }
    answer << "cannot follow: " << line << "\n";
    return false;
}

void writeCounters(const BoxCounters& counters, std::ostream& out) {
    out << "identifications " << counters.identifications << ", set-ups " << counters.setups
        << ", packet requests " << counters.packetRequests << ", packets sent "
        << counters.packetsSent << ", bytes received " << counters.bytesReceived << ", sent "
        << counters.bytesSent << ", ignored " << counters.bytesIgnored << ", line pulls "
        << counters.linePulls << "\n";
}
