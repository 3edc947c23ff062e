// pendax-boxsim as a user runs it: options, the path on standard output, commands on standard
// input, and how it stops.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "box_line.h"
#include "box_program.h"

namespace {

TEST(BoxProgram, HelpAndRefusedOptions) {
    BoxProgram help(PENDAX_BOXSIM_PATH, {"--help"});
    EXPECT_NE(help.allOutput().find("--fault NAME[=VALUE]"), std::string::npos);
    EXPECT_EQ(help.finish(), 0);

    for (const char* wrong : {"--board", "--colour", "--eprom=5"}) {
        BoxProgram refused(PENDAX_BOXSIM_PATH, {wrong, "kt999"});
        EXPECT_NE(refused.allErrors().find("pendax-boxsim: "), std::string::npos) << wrong;
        EXPECT_EQ(refused.finish(), 2) << wrong;
    }
}

TEST(BoxProgram, ServesPastTheEndOfItsInputUntilSignalled) {
    BoxProgram program(PENDAX_BOXSIM_PATH, {"--board", "kt256", "--eprom", "4"});
    const std::string path = program.firstLine();
    char target[256] = {};
    ASSERT_GT(readlink(path.c_str(), target, sizeof target - 1), 0) << path;
    EXPECT_EQ(std::string(target).rfind("/dev/pts/", 0), 0u) << target;
    BoxLine line(path);
    line.send("T");
    const std::string reply = line.receive(44);
    ASSERT_EQ(reply.size(), 44u);
    EXPECT_EQ(reply.substr(38, 5), "2.34a");

    program.type("fault garbage 1\n");
    program.closeInput();
    std::string disturbed;
    for (int attempt = 0; attempt < 50 && disturbed.size() != 45; ++attempt) {
        line.send("T");
        disturbed = line.receive(45, 100);
    }
    EXPECT_EQ(disturbed.front(), '~');

    line.send("T");
    EXPECT_EQ(line.receive(45).size(), 45u);
    EXPECT_EQ(program.finish(SIGTERM), 0);
    EXPECT_NE(program.allErrors().find("identifications"), std::string::npos);
}

}  // namespace
