#pragma once
// A program run as a child process with its standard output and error captured, for tests of the
// reference host as a user runs it. Every wait is bounded, so a hang fails the test instead of
// stalling the run.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1;  // -1: ended by a signal, or had to be killed
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds generousLimit{60};

    explicit ChildProcess(const std::vector<std::string>& command) {
        int outPipe[2];
        int errPipe[2];
        if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
            throw std::runtime_error("pipe failed");
        }
        pid = fork();
        if (pid < 0) {
            throw std::runtime_error("fork failed");
        }
        if (pid == 0) {
            dup2(outPipe[1], STDOUT_FILENO);
            dup2(errPipe[1], STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& word : command) {
                argv.push_back(const_cast<char*>(word.c_str()));
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(outPipe[1]);
        close(errPipe[1]);
        outFd = outPipe[0];
        errFd = errPipe[0];
    }
    ~ChildProcess() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        closeFd(outFd);
        closeFd(errFd);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads until standard output holds text; false if it has not within the limit.
    bool waitForOutput(const std::string& text) {
        const Clock::time_point end = Clock::now() + generousLimit;
        while (result.out.find(text) == std::string::npos) {
            if (Clock::now() >= end || !readSome(end)) {
                return false;
            }
        }
        return true;
    }

    void signal(int number) const { kill(pid, number); }

    // Everything the program wrote, once it has ended (killed after the limit).
    ProcessResult finish() {
        const Clock::time_point end = Clock::now() + generousLimit;
        while (readSome(end)) {
        }
        if (Clock::now() >= end) {
            kill(pid, SIGKILL);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

private:
    // False once both outputs are closed or the time is up.
    bool readSome(Clock::time_point end) {
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (outFd < 0 && errFd < 0) {
            return false;
        }
        if (left <= 0 || poll(fds, 2, static_cast<int>(left)) <= 0) {
            return false;
        }
        drain(fds[0], outFd, result.out);
        drain(fds[1], errFd, result.err);
        return true;
    }

    static void drain(const pollfd& polled, int& fd, std::string& text) {
        if (fd < 0 || polled.revents == 0) {
            return;
        }
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else {
            closeFd(fd);
        }
    }

    static void closeFd(int& fd) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    ProcessResult result;
};

inline ProcessResult runProgram(const std::vector<std::string>& command) {
    return ChildProcess(command).finish();
}
