#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "config_file.h"
#include "temp_file.h"

namespace {

OptionLines parse(const std::string& text) {
    std::istringstream in(text);
    return parseOptionLines(in, "pendax.cfg");
}

std::string repeated(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

TEST(HostConfigFile, LinesBecomeOptionsWithTheFilesLineNumbers) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<OptionLine> lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"keyword alone", "port\n", {{1, {"port"}}}},
        {"blanks and tabs separate, runs of them too",
         "  valuatorscale\t1   2.5 \t all  \n",
         {{1, {"valuatorscale", "1", "2.5", "all"}}}},
        {"blank and comment lines skipped, numbers kept",
         "# a comment\n\n   \nport /dev/ttyS0\n\t# indented comment\nbaud 9600\n",
         {{4, {"port", "/dev/ttyS0"}}, {6, {"baud", "9600"}}}},
        {"a comment ends the line anywhere, even inside a word",
         "baud 9600 # the box's rate\nport com1#com2\n",
         {{1, {"baud", "9600"}}, {2, {"port", "com1"}}}},
        {"Windows line ends",
         "port com1\r\n\r\nbaud 9600\r\n",
         {{1, {"port", "com1"}}, {3, {"baud", "9600"}}}},
        {"last line without line end", "baud 9600", {{1, {"baud", "9600"}}}},
        {"keywords and arguments kept as written",
         "ValuatorOrder 1 0x3 [1,2]\n",
         {{1, {"ValuatorOrder", "1", "0x3", "[1,2]"}}}},
        {"32 options and 64 arguments are the limits",
         repeated("# filler\n", 3) + "buttonorder 1" + repeated(" 2", 63) + "\n" +
             repeated("port a\n", 31),
         [] {
             std::vector<OptionLine> lines{{4, {"buttonorder", "1"}}};
             lines[0].words.insert(lines[0].words.end(), 63, "2");
             for (std::uint32_t line = 5; line <= 35; ++line) {
                 lines.push_back({line, {"port", "a"}});
             }
             return lines;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OptionLines result = parse(c.text);
        EXPECT_EQ(result.error, "");
        EXPECT_EQ(result.lines, c.lines);
    }
}

TEST(HostConfigFile, OversizedFilesAreRefusedNamingTheLine) {
    struct Case {
        const char* name;
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"33rd option, counted without blank and comment lines",
         "# header\n\n" + repeated("port a\n", 32) + "# trailer\nbaud 9600\n",
         "pendax.cfg:36: too many options: the module takes at most 32"},
        {"65 arguments", "baud 1\nbuttonorder" + repeated(" 1", 65) + "\n",
         "pendax.cfg:2: too many arguments for \"buttonorder\" (65): an option takes at most 64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parse(c.text).error, c.error);
    }
}

TEST(HostConfigFile, FilesAreReadByPath) {
    std::string path;
    {
        const TempFile file("# test\nport /dev/ttyUSB0\n");
        path = file.path;
        const OptionLines read = readOptionFile(path);
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.lines, (std::vector<OptionLine>{{2, {"port", "/dev/ttyUSB0"}}}));
    }
    EXPECT_EQ(readOptionFile(path).error, "cannot read " + path + ": No such file or directory");
}

TEST(HostConfigFile, CommandLineOptionsComeLastUnderLineZeroWhileThereIsRoom) {
    std::vector<OptionLine> lines = parse("port com1\n").lines;
    EXPECT_TRUE(addCommandLineOption(lines, {"port", "/dev/ttyUSB0"}));
    EXPECT_EQ(lines,
              (std::vector<OptionLine>{{1, {"port", "com1"}}, {0, {"port", "/dev/ttyUSB0"}}}));

    std::vector<OptionLine> full = parse(repeated("port a\n", 32)).lines;
    EXPECT_FALSE(addCommandLineOption(full, {"port", "/dev/ttyUSB0"}));
    EXPECT_EQ(full.size(), 32u);
    EXPECT_EQ(full.back(), (OptionLine{32, {"port", "a"}}));
}

}  // namespace
