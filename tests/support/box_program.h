#pragma once
// A program run as a child process that the test talks to: commands on its standard input, its
// standard output and error read back.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "test_emulator.h"

// A program (pendax-boxsim) with pipes on its standard input, output and error.
class BoxProgram {
public:
    BoxProgram(const std::string& program, const std::vector<std::string>& arguments) {
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
        std::vector<std::string> command = underTestEmulator(program, arguments);
        std::vector<char*> argv;
        for (std::string& word : command) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
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
    // The next line on standard error, where the box answers commands.
    std::string errorLine() const { return readFrom(errors, true); }
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
