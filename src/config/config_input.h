#pragma once
// Reading the host's configuration object: keyword matching, numbers, bounded access to the
// entries, and the one shape every option error takes.

#include <cstdint>

#include "config/device_config.h"
#include "platform/logger.h"

// 0 when the texts are equal ignoring letter case; otherwise -1 or 1 as a sorts before or after b.
int compareNoCase(const char* a, const char* b);

// strtol in automatic base (0x hexadecimal, leading 0 octal), kept to the 32-bit range.
std::int32_t parseInt(const char* text);
// A channel, controller or tracker number as the options write it: parseInt taken as unsigned, so
// a negative text reads as a number far above every limit.
std::uint32_t parseUnsigned(const char* text);
// A number that reads as 0 is a mistake only when it was written as a word.
bool startsWithLetter(const char* text);

// Entry counts and texts as the host left them, but never past the object's bounds: a count
// above the limit reads as the limit and a missing text as the empty text.
std::uint32_t optionCount(const DeviceConfig& config);
std::uint32_t argCount(const ConfigOption& option);
const char* keywordOf(const ConfigOption& option);
const char* argOf(const ConfigOption& option, std::uint32_t index);

// Whether the entry's keyword is the given lower-case keyword.
bool isKeyword(const ConfigOption& option, const char* keyword);

// Reports counts beyond the object's limits once, before the handlers read it.
void reportOversizedConfig(const DeviceConfig& config, const CLogH& logger);

// ERROR line: prefix, problem, label (ending in " at line "), line number, ending.
void reportOptionError(const CLogH& logger, const char* prefix, const char* problem,
                       const char* label, std::uint32_t lineNumber, const char* ending = ".");
