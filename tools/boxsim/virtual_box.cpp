#include "virtual_box.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "motion_pattern.h"
#include "replies.h"

namespace {

constexpr std::uint64_t one = 1;

void increment(std::atomic<std::uint64_t>& counter, std::uint64_t by = one) {
    counter.fetch_add(by, std::memory_order_relaxed);
}

std::uint64_t load(const std::atomic<std::uint64_t>& counter) {
    return counter.load(std::memory_order_relaxed);
}

}  // namespace

CVirtualBox::CVirtualBox(const BoardIdentity& board)
    : identity(board),
      terminal(std::make_unique<CPseudoTerminal>()),
      link(std::make_unique<CStableLink>(terminal->slavePath())) {
    path = terminal->slavePath();
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    server = std::thread(&CVirtualBox::serve, this);
}

CVirtualBox::~CVirtualBox() {
    stop();
    ::close(wakeFd);
}

void CVirtualBox::stop() {
    stopping = true;
    wake();
    if (server.joinable()) {
        server.join();
    }
    terminal.reset();
}

void CVirtualBox::wake() {
    const std::uint64_t signal = 1;
    if (::write(wakeFd, &signal, sizeof signal) < 0) {
        // The counter is already full: the thread has a wake-up pending anyway.
    }
}

void CVirtualBox::setBoard(const BoardIdentity& board) {
    std::lock_guard<std::mutex> lock(mutex);
    identity = board;
}

BoardIdentity CVirtualBox::board() const {
    std::lock_guard<std::mutex> lock(mutex);
    return identity;
}

bool CVirtualBox::setAnalog(int input, int value) {
    return setLevel(&BoxInputs::analog, input, value, analogMaximum);
}

bool CVirtualBox::setWide(int channel, int value) {
    return setLevel(&BoxInputs::wide, channel, value, wideMaximum);
}

bool CVirtualBox::setLevel(int (BoxInputs::*levels)[8], int number, int value, int maximum) {
    if (number < 1 || number > 8 || value < 0 || value > maximum) {
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex);
    (current.*levels)[number - 1] = value;
    return true;
}

bool CVirtualBox::setButton(int button, bool pressed) {
    if (button < 1 || button > digitalInputs) {
        return false;
    }
    const std::uint32_t bit = 1u << (button - 1);
    std::lock_guard<std::mutex> lock(mutex);
    current.buttons = pressed ? current.buttons | bit : current.buttons & ~bit;
    return true;
}

BoxInputs CVirtualBox::inputs() const {
    std::lock_guard<std::mutex> lock(mutex);
    return current;
}

void CVirtualBox::setMotion(bool on) {
    std::lock_guard<std::mutex> lock(mutex);
    motion = on;
}

void CVirtualBox::setFaults(const Faults& faults) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        currentFaults = faults;
    }
    wake();  // a changed pause applies to bytes already waiting
}

Faults CVirtualBox::faults() const {
    std::lock_guard<std::mutex> lock(mutex);
    return currentFaults;
}

void CVirtualBox::setLineRate(int baud) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        lineRate = baud;
    }
    wake();
}

std::string CVirtualBox::slavePath() const {
    std::lock_guard<std::mutex> lock(mutex);
    return path;
}

void CVirtualBox::unplug(std::chrono::milliseconds away) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        pullRequest = std::max(away, std::chrono::milliseconds{0});
    }
    wake();
}

BoxSetup CVirtualBox::lastSetup() const {
    std::lock_guard<std::mutex> lock(mutex);
    return received;
}

BoxCounters CVirtualBox::counters() const {
    return {load(count.identifications), load(count.setups),        load(count.packetRequests),
            load(count.packetsSent),     load(count.bytesReceived), load(count.bytesSent),
            load(count.bytesIgnored),    load(count.linePulls)};
}

void CVirtualBox::serve() {
    // Paced bytes leave on time: the kernel may otherwise stretch each timed wait by 50 us.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    while (!stopping) {
        managePulls();
        if (waitForWork()) {
            receive();
        }
        // Taken after the requests were read, so that a change made before a request reaches
        // its reply.
        {
            std::lock_guard<std::mutex> lock(mutex);
            output.setLineRate(lineRate);
            output.setDribble(std::chrono::milliseconds(currentFaults.dribbleMs));
        }
        send();
    }
}

// A pull asked for, or due by the fault "unplug", takes the line away; a pulled line comes back
// when its time is up.
void CVirtualBox::managePulls() {
    const auto now = Clock::now();
    std::chrono::milliseconds request{-1};
    int everySeconds = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::swap(request, pullRequest);
        everySeconds = currentFaults.unplugEverySeconds;
    }
    if (terminal == nullptr) {
        if (now >= backAt) {
            putLineBack(now);
        }
        return;
    }
    if (everySeconds == 0) {
        nextPeriodicPull = {};
    } else if (nextPeriodicPull == Clock::time_point{}) {
        nextPeriodicPull = now + std::chrono::seconds(everySeconds);
    }
    if (request.count() >= 0) {
        pullLine(request, now);
    } else if (everySeconds != 0 && now >= nextPeriodicPull) {
        pullLine(std::chrono::seconds(2), now);
        nextPeriodicPull = {};  // counted again from the line's return
    }
}

void CVirtualBox::pullLine(std::chrono::milliseconds away, Clock::time_point now) {
    link->remove();
    terminal.reset();
    output = COutputQueue{};
    parser = CCommandParser{};
    backAt = now + away;
    increment(count.linePulls);
}

void CVirtualBox::putLineBack(Clock::time_point now) {
    try {
        terminal = std::make_unique<CPseudoTerminal>();
        link->pointAt(terminal->slavePath());
    } catch (const std::system_error&) {
        terminal.reset();
        backAt = now + std::chrono::milliseconds(100);  // no terminal to be had yet: try again
        return;
    }
    backAt = Clock::time_point::max();
    std::lock_guard<std::mutex> lock(mutex);
    path = terminal->slavePath();
    if (currentFaults.forgetSetup) {
        received = BoxSetup::powerOn();
        active = BoxSetup::powerOn();
    }
}

// Sleeps until a request arrives, the line can take bytes that are due, the next byte falls due,
// a pull or the line's return is due, or a caller wakes the box. True when requests are waiting.
bool CVirtualBox::waitForWork() {
    const auto now = Clock::now();
    pollfd fds[2] = {{terminal != nullptr ? terminal->master() : -1, POLLIN, 0},
                     {wakeFd, POLLIN, 0}};
    Clock::time_point deadline = backAt;
    if (terminal != nullptr && !output.empty()) {
        if (output.due(now) > 0) {
            fds[0].events |= POLLOUT;
        } else {
            deadline = std::min(deadline, output.nextDue());
        }
    }
    if (nextPeriodicPull != Clock::time_point{}) {
        deadline = std::min(deadline, nextPeriodicPull);
    }
    timespec timeout{};
    const timespec* limit = nullptr;
    if (deadline != Clock::time_point::max()) {
        const auto wait =
            std::max(std::chrono::nanoseconds{0},
                     std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now));
        timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
        timeout.tv_nsec = static_cast<long>(wait.count() % 1000000000);
        limit = &timeout;
    }
    if (ppoll(fds, 2, limit, nullptr) <= 0) {
        return false;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        std::uint64_t signals = 0;
        if (::read(wakeFd, &signals, sizeof signals) < 0) {
            // Nothing to clear: another wake-up was read already.
        }
    }
    return (fds[0].revents & POLLIN) != 0;
}

void CVirtualBox::receive() {
    char bytes[4096];
    const ssize_t got = ::read(terminal->master(), bytes, sizeof bytes);
    if (got <= 0) {
        return;  // nothing waiting (the master is non-blocking)
    }
    increment(count.bytesReceived, static_cast<std::uint64_t>(got));
    output.received(static_cast<std::size_t>(got), Clock::now());
    for (ssize_t i = 0; i < got; ++i) {
        answer(parser.feed(bytes[i]));
    }
}

void CVirtualBox::answer(CCommandParser::Request request) {
    using Request = CCommandParser::Request;
    std::string reply;
    {
        std::lock_guard<std::mutex> lock(mutex);
        switch (request) {
            case Request::incomplete:
                return;
            case Request::ignored:
                increment(count.bytesIgnored);
                return;
            case Request::identification:
                increment(count.identifications);
                reply = disturbReply(identificationReply(identity), ReplyKind::identification,
                                     currentFaults);
                break;
            case Request::packet: {
                increment(count.packetRequests);
                const std::chrono::duration<double> age = Clock::now() - startedAt;
                reply = disturbReply(dataPacket(active, motion ? motionAt(age.count()) : current),
                                     ReplyKind::dataPacket, currentFaults);
                if (!reply.empty()) {
                    increment(count.packetsSent);
                }
                break;
            }
            case Request::setup: {
                increment(count.setups);
                received = parser.setup();
                const char letter = received.wellFormed ? currentFaults.setupAnswer : 'f';
                if (letter != 'f') {
                    active = received;
                }
                if (identity.answersSetup()) {
                    reply =
                        disturbReply(setupAnswer(letter), ReplyKind::setupAnswer, currentFaults);
                }
                break;
            }
        }
    }
    if (!reply.empty()) {
        output.push(reply, Clock::now());
    }
}

void CVirtualBox::send() {
    while (terminal != nullptr) {
        const auto now = Clock::now();
        const std::size_t due = output.due(now);
        if (due == 0) {
            return;
        }
        const ssize_t written = ::write(terminal->master(), output.front(), due);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;  // the line is full: wait until it takes bytes again
        }
        output.consume(static_cast<std::size_t>(written), now);
        increment(count.bytesSent, static_cast<std::uint64_t>(written));
    }
}
