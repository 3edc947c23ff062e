#include "platform/logger.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "platform/sys/sys.h"

namespace {
constexpr std::size_t textField = 100;

void copyBounded(char* field, const char* text) {
    std::strncpy(field, text != nullptr ? text : "", textField - 1);
    field[textField - 1] = '\0';
}

// A host record need not hold its terminator: never read past the field.
void writeField(const char* field) {
    std::cout.write(field, strnlen(field, textField));
}
}  // namespace

CLogH::CLogH()
    : showDate(true),
      showTime(true),
      showThreadId(true),
      enabled(true),
      name{},
      levelWords{},
      debugLevel(1),
      debugSetting(0),
      debugId(0) {
    copyBounded(name, "MESSAGE");
    copyBounded(levelWords[levelInfo], "INFO");
    copyBounded(levelWords[levelError], "ERROR");
    copyBounded(levelWords[levelWarning], "WARNING");
    copyBounded(levelWords[levelDebug], "DEBUG");
}

void CLogH::setName(const char* newName) {
    copyBounded(name, newName);
}

bool CLogH::isDebugOn() const {
    return debugSetting != 0 && (debugSetting == debugId || debugSetting >= debugLevel);
}

void CLogH::info(const char* text, bool endLine) const {
    writeLine(levelInfo, text, endLine);
}
void CLogH::error(const char* text, bool endLine) const {
    writeLine(levelError, text, endLine);
}
void CLogH::warning(const char* text, bool endLine) const {
    writeLine(levelWarning, text, endLine);
}

void CLogH::debug(const char* text, bool endLine) const {
    if (isDebugOn()) {
        writeLine(levelDebug, text, endLine);
    }
}

void CLogH::debugf(const char* format, ...) const {
    if (!enabled) {
        return;
    }
    char text[256] = {};
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // A longer text is cut, never overrun; it keeps the line end its format asked for.
    const std::size_t formatLength = std::strlen(format);
    if (length >= static_cast<int>(sizeof text) && formatLength > 0 &&
        format[formatLength - 1] == '\n') {
        text[sizeof text - 2] = '\n';
    }
    if (isDebugOn()) {
        writePrefix();
        writeField(levelWords[levelDebug]);
        std::cout << ": " << text;
    }
}

void CLogH::writeLine(Level level, const char* text, bool endLine) const {
    if (!enabled) {
        return;
    }
    writePrefix();
    writeField(levelWords[level]);
    std::cout << ": " << text;
    if (endLine) {
        std::cout << std::endl;
    }
}

void CLogH::writePrefix() const {
    char format[16] = {};
    if (showDate) {
        std::strcat(format, "%b %d ");
    }
    if (showTime) {
        std::strcat(format, "%X ");
    }
    if (showDate || showTime) {
        const std::time_t now = std::time(nullptr);
        char stamp[100] = {};
        std::strftime(stamp, sizeof stamp, format, std::localtime(&now));
        std::cout << stamp;
    }
    writeField(name);
    if (showThreadId) {
        std::cout << "[" << sys::currentThreadId() << "]: ";
    } else {
        std::cout << ": ";
    }
}

CLogH* makeOwnedLogger(const CLogH* creatorLogger, const char* className, std::int32_t debugId) {
    CLogH* logger = nullptr;
    if (creatorLogger != nullptr) {
        logger = new CLogH(*creatorLogger);
    } else {
        logger = new CLogH();
        logger->setName(className);
    }
    logger->setDebugId(debugId);
    return logger;
}

void errorThrough(const CLogH* logger, const char* text, bool endLine) {
    if (logger != nullptr) {
        logger->error(text, endLine);
        return;
    }
    const CLogH standIn;
    standIn.error(text, endLine);
}
