#pragma once
// The logger record shared with the host: a plain 516-byte value that every object of the module
// owns a copy of, and through which it writes its lines to standard output.

#include <cstddef>
#include <cstdint>

class CLogH {
public:
    CLogH();

    void setName(const char* newName);
    void setDebugLevel(std::int32_t level) { debugLevel = level; }
    void setDebugId(std::int32_t id) { debugId = id; }
    bool isDebugOn() const;

    // With endLine false the line stays open; the caller completes it on std::cout.
    void info(const char* text, bool endLine) const;
    void error(const char* text, bool endLine) const;
    void warning(const char* text, bool endLine) const;
    void debug(const char* text, bool endLine) const;
    // The format carries its own line end.
    void debugf(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    bool showDate;
    bool showTime;
    bool showThreadId;
    bool enabled;
    char name[100];
    char levelWords[4][100];  // INFO, ERROR, WARNING, DEBUG
    std::int32_t debugLevel;
    std::int32_t debugSetting;
    std::int32_t debugId;

private:
    enum Level { levelInfo, levelError, levelWarning, levelDebug };
    void writeLine(Level level, const char* text, bool endLine) const;
    void writePrefix() const;
};

static_assert(sizeof(CLogH) == 516, "CLogH is shared with the host byte for byte");
static_assert(offsetof(CLogH, enabled) == 3, "CLogH layout");
static_assert(offsetof(CLogH, name) == 4, "CLogH layout");
static_assert(offsetof(CLogH, levelWords) == 104, "CLogH layout");
static_assert(offsetof(CLogH, debugLevel) == 504, "CLogH layout");
static_assert(offsetof(CLogH, debugSetting) == 508, "CLogH layout");
static_assert(offsetof(CLogH, debugId) == 512, "CLogH layout");

// The logger every object owns: a whole copy of its creator's logger, or a fresh one named after
// the class. Either way it gets the object's debug identity.
CLogH* makeOwnedLogger(const CLogH* creatorLogger, const char* className, std::int32_t debugId);

// An ERROR line through a logger the host may have left out: a default one stands in for it.
void errorThrough(const CLogH* logger, const char* text, bool endLine);
