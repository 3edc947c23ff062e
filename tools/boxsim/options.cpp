#include "options.h"

#include <cstdlib>
#include <cstring>

const char usageText[] = R"usage(Usage: pendax-boxsim [OPTION]...
A virtual Pendax box on a pseudo-terminal. Prints the path of its line on the first line of
standard output: a symbolic link to the pseudo-terminal that keeps naming the line when the box
pulls it and puts a new one in its place (see "unplug"), as /dev/serial/by-id names do. That path
is the serial port to give a host (the line "port /tmp/pendax-box-1a2b3c/line" of its
configuration). Then it serves until it gets SIGINT (Ctrl-C), SIGTERM or SIGHUP, and exits 0.

Board:
  --board kt512|kt256   board model (default kt512; a kt256 gets sub-type 3, EPROM 0)
  --revision LETTER     board revision letter (default h)
  --eprom DIGIT         EPROM revision: up to 6 the box expects the short set-up, from 7 the
                        long one (default 5)
  --subtype DIGIT       sub-type: a KT256 takes plain set-up bytes with 2, printable ones with 3
                        (default 0 for a kt512, 3 for a kt256)
Inputs and line:
  --motion              move the inputs by themselves: slow sine sweeps on the analog inputs,
                        one button after the other pressed
  --pace BAUD           send no faster than this line rate allows (10 bits a byte)
  --fault NAME[=VALUE]  start with a fault; may be given more than once:
      silent            answer nothing
      short             every reply loses its last byte
      badstart          data packets start with 'b' instead of 'B'
      badend            data packets end with a carriage return instead of a line feed
      garbage=N         N bytes of noise ('~') before every reply
      dribble=MS        every byte on its own, MS milliseconds after the previous one
      banner            the identification carries "Copyright (C)" instead of "(c)"
      refuse            answer set-ups with 'f' (refused) instead of 'a'
      answer=CHAR       answer set-ups with CHAR
      unplug=S          pull the line every S seconds, for two seconds each time: a host's
                        reads and writes fail until a new line is in place under the same path
      forget            a pulled line comes back with the box as from power-on, its set-up
                        forgotten
  --help                show this text

The box answers 'T' with its 44-byte identification, the set-up commands 'R', 'r' (3 bytes), 's'
(4) and 'c' (10) with the letter 'a' and a line feed (a KT256 answers nothing), and 'o' with a
data packet in the format the last accepted set-up chose (before any: all 8 analog inputs and all
24 buttons).

Standard input takes one command a line:
  analog N VALUE        analog input N (1-8) to VALUE (0-4095, 2048 is the middle)
  button N 0|1          button N (1-24) released or pressed
  wide N VALUE          wide channel N (1-8) to VALUE (0-16777215)
  motion on|off         the motion pattern; analog, button and wide switch it off
  fault NAME [VALUE]    a fault as above (on/off for the switches), or "fault none"
  pace BAUD             line-rate pacing, 0 for none
  unplug [MS]           pull the line now, for MS milliseconds (default 2000)
  stats                 print the box's counters on standard error
The end of standard input is not a stop: the box serves on, so it can run in the background
with its input closed, or be fed a few commands from a pipe. Stop it with a signal.
)usage";

namespace {
bool parseDigit(const char* text, int* digit) {
    if (std::strlen(text) != 1 || text[0] < '0' || text[0] > '9') {
        return false;
    }
    *digit = text[0] - '0';
    return true;
}

bool parseFault(const std::string& text, Faults* faults, std::string* error) {
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
    return applyFault(*faults, name, value, error);
}

bool takesValue(const std::string& option) {
    for (const char* name :
         {"--board", "--revision", "--eprom", "--subtype", "--pace", "--fault"}) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

bool parseLineRate(const char* text, int* baud) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || parsed < 0 || parsed > 4000000) {
        return false;
    }
    *baud = static_cast<int>(parsed);
    return true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, BoxOptions* options, std::string* error) {
    // The board's details apply to the model chosen, wherever --board stands.
    BoardIdentity details = options->board;
    bool revisionGiven = false;
    bool epromGiven = false;
    bool subTypeGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            options->help = true;
            continue;
        }
        if (option == "--motion") {
            options->motion = true;
            continue;
        }
        if (!takesValue(option)) {
            *error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= argc) {
            *error = option + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool good = true;
        if (option == "--board") {
            good = boardNamed(value, &options->board);
        } else if (option == "--revision") {
            good = std::strlen(value) == 1;
            details.revision = value[0];
            revisionGiven = true;
        } else if (option == "--eprom") {
            good = parseDigit(value, &details.epromRevision);
            epromGiven = true;
        } else if (option == "--subtype") {
            good = parseDigit(value, &details.subType);
            subTypeGiven = true;
        } else if (option == "--pace") {
            good = parseLineRate(value, &options->lineRate);
        } else if (!parseFault(value, &options->faults, error)) {
            return false;
        }
        if (!good) {
            *error = "invalid value for " + option + ": " + value;
            return false;
        }
    }
    if (revisionGiven) {
        options->board.revision = details.revision;
    }
    if (epromGiven) {
        options->board.epromRevision = details.epromRevision;
    }
    if (subTypeGiven) {
        options->board.subType = details.subType;
    }
    return true;
}
