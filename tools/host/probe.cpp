#include "probe.h"

#include <algorithm>
#include <string>

#include "host_os.h"
#include "platform/sys/sys.h"
#include "protocol/capability_check.h"
#include "protocol/identification.h"

namespace {

// 19200 first: the module's default, and what boxes are usually set to.
constexpr DWORD speeds[] = {19200, 38400, 57600, 115200, 9600, 4800, 2400, 1200};
// A silent port costs about this much per speed.
constexpr DWORD answerWaitMs = 500;
constexpr DWORD byteGapMs = 100;

struct Answer {
    bool banner = false;  // a whole identification with the maker's banner
    bool bytes = false;   // something came, at least
    BoxState board{};
    DWORD speed = 0;
};

bool setLine(sys::Handle port, DCB dcb, DWORD speed, const COMMTIMEOUTS& timeouts) {
    dcb.BaudRate = speed;
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return sys::setCommState(port, &dcb) && sys::setCommTimeouts(port, &timeouts);
}

// Drops what an earlier speed left on the line, so that the reply read is the box's answer.
void discardInput(sys::Handle port, const DCB& dcb, DWORD speed) {
    const COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
    char junk[256];
    std::uint32_t got = 0;
    if (setLine(port, dcb, speed, immediate)) {
        while (sys::readFile(port, junk, sizeof junk, &got) && got > 0) {
        }
    }
}

// The identification request at each speed in turn, until a box answers with its banner.
Answer askForIdentification(sys::Handle port, const DCB& found) {
    Answer answer;
    const COMMTIMEOUTS waitForReply{byteGapMs, 0, answerWaitMs, 0, 0};
    for (const DWORD speed : speeds) {
        discardInput(port, found, speed);
        if (!setLine(port, found, speed, waitForReply)) {
            continue;
        }
        std::uint32_t written = 0;
        char reply[protocol::identificationLength] = {};
        std::uint32_t got = 0;
        if (!sys::writeFile(port, &protocol::identificationRequest, 1, &written) ||
            !sys::readFile(port, reply, sizeof reply, &got)) {
            break;  // the line went away
        }
        answer.bytes = answer.bytes || got > 0;
        if (got == sizeof reply && protocol::bannerMatches(reply)) {
            answer.banner = true;
            answer.speed = speed;
            protocol::readBoardFields(reply, answer.board);
            return answer;
        }
    }
    return answer;
}

std::string boardText(const BoxState& board) {
    switch (board.boardType) {
        case protocol::kt512Board:
            return "KT512 revision " + std::string(1, static_cast<char>(board.boardRevision)) +
                   ", EPROM revision " + std::to_string(board.epromRevision);
        case protocol::kt256Board:
            return "KT256 sub-type " + std::to_string(board.boardSubType);
        default:
            return "board type " + std::to_string(board.boardType);
    }
}

// Whether the device's set-up would pass the board's capability check, asked as the device asks.
bool supported(BoxState board) {
    protocol::requestEveryInput(board);
    CLogH quiet;
    quiet.enabled = false;
    return protocol::checkChannelSetup(board, quiet) >= 0;
}

std::string problemText(hostos::PortProblem problem, const std::string& systemText) {
    switch (problem) {
        case hostos::PortProblem::missing:
            return "not there (" + systemText + ")";
        case hostos::PortProblem::busy:
            return "busy: another program has it open (" + systemText + ")";
        case hostos::PortProblem::notSerial:
            return "not a serial line (" + systemText + ")";
        case hostos::PortProblem::other:
            break;
    }
    return "cannot be opened (" + systemText + ")";
}

}  // namespace

ProbeResult probePort(const std::string& port, bool named) {
    ProbeResult result;
    const std::string stable = hostos::stableNameOf(port);
    const std::string label = port + (stable.empty() ? "" : " (" + stable + ")") + ": ";
    const sys::Handle handle = sys::openPort(port.c_str());
    if (handle == sys::invalidHandle()) {
        const hostos::PortProblem problem = hostos::lastPortProblem();
        const std::string systemText = sys::lastErrorText();
        result.listed = named || problem != hostos::PortProblem::missing;
        result.line = label + problemText(problem, systemText);
        return result;
    }
    DCB dcb{};
    if (!sys::getCommState(handle, &dcb)) {
        result.line = label + problemText(hostos::PortProblem::notSerial, sys::lastErrorText());
        sys::closeHandle(handle);
        return result;
    }
    const Answer answer = askForIdentification(handle, dcb);
    sys::closeHandle(handle);  // the port's settings go back as they were
    if (answer.banner) {
        result.found = true;
        result.line =
            label + "Pendax " + boardText(answer.board) + ", at " + std::to_string(answer.speed) +
            " baud: " +
            (supported(answer.board) ? "supported by this module" : "not supported by this module");
    } else if (answer.bytes) {
        result.line = label + "something answers, but not with a Pendax banner";
    } else {
        result.line = label + "no answer at any speed";
    }
    return result;
}

bool runProbe(const std::vector<std::string>& named, std::ostream& out) {
    const std::vector<std::string> ports = named.empty() ? hostos::serialPorts() : named;
    bool found = false;
    bool anyListed = false;
    for (const std::string& port : ports) {
        const ProbeResult result = probePort(port, !named.empty());
        if (result.listed) {
            out << result.line << std::endl;
            anyListed = true;
        }
        found = found || result.found;
    }
    if (!anyListed) {
        out << "no serial port found" << std::endl;
    }
    return found;
}
