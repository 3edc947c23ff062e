#pragma once
// A software Pendax box on a pseudo-terminal. It serves on a thread of its own from construction
// until stop() or destruction: it answers identification, set-up and data requests the way the
// board it claims to be does, from inputs set through this class or from a built-in motion
// pattern, and misbehaves as its faults say. Every member may be called from any thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "board_identity.h"
#include "box_inputs.h"
#include "box_setup.h"
#include "command_parser.h"
#include "faults.h"
#include "output_queue.h"
#include "pseudo_terminal.h"
#include "stable_link.h"

// What the box has done so far; read while it serves, e.g. by a benchmark.
struct BoxCounters {
    std::uint64_t identifications;  // 'T' requests received
    std::uint64_t setups;           // set-up commands received
    std::uint64_t packetRequests;   // 'o' requests received
    std::uint64_t packetsSent;      // data packets put on the line
    std::uint64_t bytesReceived;
    std::uint64_t bytesSent;
    std::uint64_t bytesIgnored;  // received bytes that began no request
    std::uint64_t linePulls;     // times the line went away
};

class CVirtualBox {
public:
    // Throws std::system_error when no pseudo-terminal or thread can be had.
    explicit CVirtualBox(const BoardIdentity& board = BoardIdentity::kt512());
    ~CVirtualBox();
    CVirtualBox(const CVirtualBox&) = delete;
    CVirtualBox& operator=(const CVirtualBox&) = delete;

    // Ends serving: joins the thread and closes the pseudo-terminal. Safe to call again.
    void stop();

    // The port a host opens to talk to the box: a link that follows the line when it is pulled
    // and put back, as a /dev/serial/by-id name follows an adapter (and, like it, names nothing
    // while the line is pulled).
    const std::string& linePath() const { return link->path(); }
    // The pseudo-terminal that serves now; another one after each pull.
    std::string slavePath() const;

    // Pulls the line as an unplugged adapter would: the pseudo-terminal goes away, so that a
    // host's reads and writes on it fail, and a new one takes its place under linePath() once
    // `away` has passed. With the fault "forget" the box comes back as from power-on, its set-up
    // forgotten.
    void unplug(std::chrono::milliseconds away);

    void setBoard(const BoardIdentity& board);
    BoardIdentity board() const;

    // Inputs are numbered from 1; false (and no change) for a number or value out of range.
    bool setAnalog(int input, int value);
    bool setButton(int button, bool pressed);
    bool setWide(int channel, int value);
    BoxInputs inputs() const;
    // While on, the motion pattern replaces the inputs above in every data packet.
    void setMotion(bool on);

    void setFaults(const Faults& faults);
    Faults faults() const;
    // Bytes leave no faster than this line rate allows (10 bits a byte); 0 for no limit.
    void setLineRate(int baud);

    // The last set-up command received, accepted or not; BoxSetup::powerOn() before any.
    BoxSetup lastSetup() const;
    BoxCounters counters() const;

private:
    using Clock = std::chrono::steady_clock;

    // Analog inputs and wide channels alike: eight levels from 0 to their maximum.
    bool setLevel(int (BoxInputs::*levels)[8], int number, int value, int maximum);

    void serve();
    void managePulls();
    void pullLine(std::chrono::milliseconds away, Clock::time_point now);
    void putLineBack(Clock::time_point now);
    bool waitForWork();
    void receive();
    void answer(CCommandParser::Request request);
    void send();
    void wake();

    // Shared with the callers, under the mutex.
    mutable std::mutex mutex;
    BoardIdentity identity;
    BoxInputs current = BoxInputs::atRest();
    bool motion = false;
    Faults currentFaults;
    int lineRate = 0;
    BoxSetup received = BoxSetup::powerOn();
    BoxSetup active = BoxSetup::powerOn();
    std::string path;
    std::chrono::milliseconds pullRequest{-1};  // none while negative

    struct Counters {
        std::atomic<std::uint64_t> identifications{0};
        std::atomic<std::uint64_t> setups{0};
        std::atomic<std::uint64_t> packetRequests{0};
        std::atomic<std::uint64_t> packetsSent{0};
        std::atomic<std::uint64_t> bytesReceived{0};
        std::atomic<std::uint64_t> bytesSent{0};
        std::atomic<std::uint64_t> bytesIgnored{0};
        std::atomic<std::uint64_t> linePulls{0};
    } count;

    // The serving thread's own.
    CCommandParser parser;
    COutputQueue output;
    const Clock::time_point startedAt = Clock::now();
    Clock::time_point backAt = Clock::time_point::max();  // while the line is pulled
    Clock::time_point nextPeriodicPull{};                 // the epoch while none is due

    std::unique_ptr<CPseudoTerminal> terminal;  // null while the line is pulled
    std::unique_ptr<CStableLink> link;
    int wakeFd = -1;
    std::atomic<bool> stopping{false};
    std::thread server;
};
