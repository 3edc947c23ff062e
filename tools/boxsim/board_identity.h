#pragma once
// Which board the virtual box claims to be, as its identification reply tells it.

#include <string>

struct BoardIdentity {
    int type;           // 2 = KT256, 3 = KT512
    int subType;        // a KT256's set-up dialect: 2 plain bytes, 3 printable bytes
    int epromRevision;  // a KT512's set-up dialect: up to 6 short, from 7 long
    char revision;      // a KT512's board revision letter

    static BoardIdentity kt512() { return {3, 0, 5, 'h'}; }
    static BoardIdentity kt256() { return {2, 3, 0, 'a'}; }

    // A KT256 takes its set-up without a word.
    bool answersSetup() const { return type != 2; }
};

// "kt512" or "kt256" with that board's defaults; false for any other name.
bool boardNamed(const std::string& name, BoardIdentity* board);
