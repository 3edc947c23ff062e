#pragma once
// The ways the virtual box can misbehave, switched on and off while it serves.

#include <string>

struct Faults {
    bool silent = false;         // answers nothing
    bool shortReply = false;     // every reply loses its last byte
    bool badStart = false;       // data packets start with another byte than 'B'
    bool badEnd = false;         // data packets end with another byte than a line feed
    int garbage = 0;             // bytes of noise before every reply
    int dribbleMs = 0;           // every byte leaves on its own, this long after the previous one
    bool wrongBanner = false;    // the identification carries another maker's text
    char setupAnswer = 'a';      // 'a' accepts a set-up, 'f' refuses it; anything else confuses
    int unplugEverySeconds = 0;  // the line is pulled this often, for two seconds each time
    bool forgetSetup = false;    // a pulled line comes back with the box as from power-on
};

// Applies one fault as named on the command line or the console: "silent", "short",
// "badstart", "badend", "banner", "refuse", "forget" take on/off (on when omitted), "garbage N",
// "dribble MS", "answer CHAR", "unplug SECONDS"; "none" clears them all. False with a reason for
// anything else.
bool applyFault(Faults& faults, const std::string& name, const std::string& value,
                std::string* error);

enum class ReplyKind { identification, setupAnswer, dataPacket };

// The reply as the faults let it leave the box (an empty text when silent).
std::string disturbReply(std::string reply, ReplyKind kind, const Faults& faults);
