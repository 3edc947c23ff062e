#include "faults.h"

#include <cstdlib>

namespace {

bool parseSwitch(const std::string& value, bool* on) {
    if (value.empty() || value == "on" || value == "1") {
        *on = true;
        return true;
    }
    if (value == "off" || value == "0") {
        *on = false;
        return true;
    }
    return false;
}

bool parseCount(const std::string& value, int maximum, int* count) {
    char* end = nullptr;
    const long parsed = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || parsed < 0 || parsed > maximum) {
        return false;
    }
    *count = static_cast<int>(parsed);
    return true;
}

}  // namespace

bool applyFault(Faults& faults, const std::string& name, const std::string& value,
                std::string* error) {
    struct Switch {
        const char* name;
        bool Faults::*flag;
    };
    static const Switch switches[] = {
        {"silent", &Faults::silent},      {"short", &Faults::shortReply},
        {"badstart", &Faults::badStart},  {"badend", &Faults::badEnd},
        {"banner", &Faults::wrongBanner}, {"forget", &Faults::forgetSetup},
    };
    for (const Switch& s : switches) {
        if (name == s.name) {
            if (!parseSwitch(value, &(faults.*s.flag))) {
                *error = "fault " + name + " takes on or off";
                return false;
            }
            return true;
        }
    }
    if (name == "refuse") {
        bool on = false;
        if (!parseSwitch(value, &on)) {
            *error = "fault refuse takes on or off";
            return false;
        }
        faults.setupAnswer = on ? 'f' : 'a';
        return true;
    }
    if (name == "garbage" || name == "dribble") {
        int* target = name == "garbage" ? &faults.garbage : &faults.dribbleMs;
        if (!parseCount(value, 1000000, target)) {
            *error = "fault " + name + " takes a count from 0 to 1000000";
            return false;
        }
        return true;
    }
    if (name == "unplug") {
        if (!parseCount(value, 1000000, &faults.unplugEverySeconds)) {
            *error = "fault unplug takes a number of seconds from 0 to 1000000";
            return false;
        }
        return true;
    }
    if (name == "answer") {
        if (value.size() != 1) {
            *error = "fault answer takes one character";
            return false;
        }
        faults.setupAnswer = value[0];
        return true;
    }
    if (name == "none" && value.empty()) {
        faults = Faults{};
        return true;
    }
    *error = "unknown fault: " + name;
    return false;
}

std::string disturbReply(std::string reply, ReplyKind kind, const Faults& faults) {
    if (faults.silent) {
        return {};
    }
    if (kind == ReplyKind::identification && faults.wrongBanner) {
        reply.replace(0, 25, "Copyright (C), Morvantech");
    }
    if (kind == ReplyKind::dataPacket && faults.badStart) {
        reply.front() = 'b';
    }
    if (kind == ReplyKind::dataPacket && faults.badEnd) {
        reply.back() = '\r';
    }
    if (faults.shortReply) {
        reply.pop_back();
    }
    return std::string(static_cast<std::size_t>(faults.garbage), '~') + reply;
}
