#include "config/config_input.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <iostream>

int compareNoCase(const char* a, const char* b) {
    const auto* left = reinterpret_cast<const unsigned char*>(a != nullptr ? a : "");
    const auto* right = reinterpret_cast<const unsigned char*>(b != nullptr ? b : "");
    for (;; ++left, ++right) {
        const int l = std::tolower(*left);
        const int r = std::tolower(*right);
        if (l != r) {
            return l < r ? -1 : 1;
        }
        if (l == 0) {
            return 0;
        }
    }
}

std::int32_t parseInt(const char* text) {
    const long value = std::strtol(text != nullptr ? text : "", nullptr, 0);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

std::uint32_t parseUnsigned(const char* text) {
    return static_cast<std::uint32_t>(parseInt(text));
}

bool startsWithLetter(const char* text) {
    return text != nullptr && std::isalpha(static_cast<unsigned char>(text[0])) != 0;
}

std::uint32_t optionCount(const DeviceConfig& config) {
    return config.numOptions < maxOptions ? config.numOptions : maxOptions;
}

std::uint32_t argCount(const ConfigOption& option) {
    return option.numArgs < maxOptionArgs ? option.numArgs : maxOptionArgs;
}

const char* keywordOf(const ConfigOption& option) {
    return option.keyword != nullptr ? option.keyword : "";
}

const char* argOf(const ConfigOption& option, std::uint32_t index) {
    const char* text = index < argCount(option) ? option.args[index] : nullptr;
    return text != nullptr ? text : "";
}

bool isKeyword(const ConfigOption& option, const char* keyword) {
    return compareNoCase(keywordOf(option), keyword) == 0;
}

void reportOversizedConfig(const DeviceConfig& config, const CLogH& logger) {
    if (config.numOptions > maxOptions) {
        logger.error("CConfigH: Too many options, reading the first 32 of ", false);
        std::cout << config.numOptions << "." << std::endl;
    }
    for (std::uint32_t i = 0; i < optionCount(config); ++i) {
        const ConfigOption& option = config.options[i];
        if (option.numArgs > maxOptionArgs) {
            logger.error("CConfigH: Too many args, reading the first 64 of ", false);
            std::cout << option.numArgs << " at line " << option.lineNumber << "." << std::endl;
        }
    }
}

void reportOptionError(const CLogH& logger, const char* prefix, const char* problem,
                       const char* label, std::uint32_t lineNumber, const char* ending) {
    logger.error(prefix, false);
    std::cout << problem << label << lineNumber << ending << std::endl;
}
