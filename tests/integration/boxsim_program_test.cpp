// pendax-boxsim as a user runs it: options, the path on standard output, commands on standard
// input, and how it stops.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "box_line.h"

namespace {

// The program with pipes on its standard input, output and error.
class BoxProgram {
public:
    explicit BoxProgram(std::vector<std::string> arguments) {
        int in[2];
        int out[2];
        int err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        arguments.insert(arguments.begin(), PENDAX_BOXSIM_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int rc =
            posix_spawn(&pid, PENDAX_BOXSIM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        input = in[1];
        output = out[0];
        errors = err[0];
        if (rc != 0) {
            throw std::runtime_error("spawn failed");
        }
    }
    ~BoxProgram() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        closeInput();
        ::close(output);
        ::close(errors);
    }
    BoxProgram(const BoxProgram&) = delete;
    BoxProgram& operator=(const BoxProgram&) = delete;

    void type(const std::string& text) const {
        ASSERT_EQ(::write(input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeInput() {
        if (input >= 0) {
            ::close(input);
            input = -1;
        }
    }

    // Everything on standard output up to the first line end (or its end).
    std::string firstLine() const { return readFrom(output, true); }
    std::string allOutput() const { return readFrom(output, false); }
    std::string allErrors() const { return readFrom(errors, false); }

    // Exit status, after a signal if one is given.
    int finish(int signal = 0) {
        if (signal != 0) {
            kill(pid, signal);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    static std::string readFrom(int fd, bool oneLine) {
        std::string text;
        pollfd p{fd, POLLIN, 0};
        char byte;
        while (poll(&p, 1, 5000) > 0 && ::read(fd, &byte, 1) == 1) {
            if (oneLine && byte == '\n') {
                break;
            }
            text += byte;
        }
        return text;
    }

    pid_t pid = -1;
    int input = -1;
    int output = -1;
    int errors = -1;
};

TEST(BoxProgram, HelpAndRefusedOptions) {
    BoxProgram help({"--help"});
    EXPECT_NE(help.allOutput().find("--fault NAME[=VALUE]"), std::string::npos);
    EXPECT_EQ(help.finish(), 0);

    for (const char* wrong : {"--board", "--colour", "--eprom=5"}) {
        BoxProgram refused({wrong, "kt999"});
        EXPECT_NE(refused.allErrors().find("pendax-boxsim: "), std::string::npos) << wrong;
        EXPECT_EQ(refused.finish(), 2) << wrong;
    }
}

TEST(BoxProgram, ServesPastTheEndOfItsInputUntilSignalled) {
    BoxProgram program({"--board", "kt256", "--eprom", "4"});
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
