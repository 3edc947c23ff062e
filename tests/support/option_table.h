#pragma once
// What the option tables of the handlers' tests share: a readable test name for each case, and
// one run of a parser over a case's lines, checked against the ERROR lines it must print and the
// used flags it must leave.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "config_builder.h"
#include "stdout_capture.h"

using OptionLines = std::vector<std::vector<std::string>>;

// The case's name with every character but letters and digits as "_".
struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (std::isalnum(static_cast<unsigned char>(ch)) == 0) {
                ch = '_';
            }
        }
        return name;
    }
};

// Runs parse on the lines, numbered from 1, and checks that it printed exactly the messages, each
// as an ERROR line of the logger named loggerName, and left the used flags. Returns its result.
template <typename Parse>
bool runOptionLines(const OptionLines& lines, const std::string& loggerName,
                    const std::vector<std::string>& messages, const std::vector<int>& used,
                    Parse parse) {
    ConfigBuilder config;
    for (const auto& line : lines) {
        config.add(line);
    }
    StdoutCapture out;
    const bool result = parse(config.get());
    std::vector<std::string> expected;
    for (const std::string& message : messages) {
        expected.push_back(loggerName + ": ERROR: " + message);
    }
    EXPECT_EQ(out.lines(), expected);
    for (std::size_t i = 0; i < used.size(); ++i) {
        EXPECT_EQ(config.option(static_cast<std::uint32_t>(i)).used, used[i]) << "line " << i + 1;
    }
    return result;
}
