#pragma once
// A logger whose lines carry no date, time or thread id, so tests can compare whole lines.

#include "platform/logger.h"

inline CLogH plainLogger(const char* name, int debugSetting = 0) {
    CLogH logger;
    logger.showDate = false;
    logger.showTime = false;
    logger.showThreadId = false;
    logger.debugSetting = debugSetting;
    logger.setName(name);
    return logger;
}
