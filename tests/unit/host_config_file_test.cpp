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
        {"bytes above 127 pass", "port a\xc3\xa9\n", {{1, {"port", "a\xc3\xa9"}}}},
        {"a file of exactly 1 MiB",
         "port a\n" + std::string((1 << 20) - 7, '#'),
         {{1, {"port", "a"}}}},
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

TEST(HostConfigFile, FilesBeyondTheLimitsAreRefusedNamingTheLine) {
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
        {"one byte above 1 MiB, named at the line that passes it",
         "port a\n# b\n" + std::string((1 << 20) - 10, '#') + "\n\n",
         "pendax.cfg:3: the file is larger than 1048576 bytes"},
        {"no line end at all", std::string(3 << 20, 'x'),
         "pendax.cfg:1: the file is larger than 1048576 bytes"},
        {"zero byte", std::string("port a\nbaud 9600\0\n", 18),
         "pendax.cfg:2: control character 0x00 in the line: only text, blanks and tabs"},
        {"escape inside a comment", "# \x1b[31m red\n",
         "pendax.cfg:1: control character 0x1B in the line: only text, blanks and tabs"},
        {"carriage return inside a line", "port a\rb\r\n",
         "pendax.cfg:1: control character 0x0D in the line: only text, blanks and tabs"},
        {"delete", "\n\nport a\x7f\n",
         "pendax.cfg:3: control character 0x7F in the line: only text, blanks and tabs"},
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
