#include "platform/serial_port.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "plain_logger.h"
#include "pty_pair.h"
#include "stdout_capture.h"

namespace {

// Generous upper bound for anything that should end "soon"; time-outs are checked against it.
constexpr long long soonMs = 5000;

class SerialPort : public testing::Test {
protected:
    CLogH log = plainLogger("t");
    PtyPair pty;
    CRS232H port{&log};

    // Opens the pseudo-terminal and applies the given read time-outs.
    void openWith(DWORD interval, DWORD multiplier, DWORD constant) {
        ASSERT_TRUE(port.openPort(pty.slavePath().c_str()));
        PortAttributes attributes{};
        ASSERT_TRUE(port.getWorkingAttributes(&attributes));
        attributes.timeouts.ReadIntervalTimeout = interval;
        attributes.timeouts.ReadTotalTimeoutMultiplier = multiplier;
        attributes.timeouts.ReadTotalTimeoutConstant = constant;
        ASSERT_TRUE(port.setAttributes(&attributes));
    }
};

TEST(CommTypes, DcbFlagsSitAtThePlatformBits) {
    struct FlagCase {
        void (*set)(DCB&);
        std::uint32_t mask;
    };
    const FlagCase cases[] = {
        {[](DCB& d) { d.fBinary = 1; }, 0x0001},
        {[](DCB& d) { d.fParity = 1; }, 0x0002},
        {[](DCB& d) { d.fOutxCtsFlow = 1; }, 0x0004},
        {[](DCB& d) { d.fDtrControl = 3; }, 0x0030},
        {[](DCB& d) { d.fOutX = 1; }, 0x0100},
        {[](DCB& d) { d.fInX = 1; }, 0x0200},
        {[](DCB& d) { d.fRtsControl = RTS_CONTROL_HANDSHAKE; }, 0x2000},
        {[](DCB& d) { d.fAbortOnError = 1; }, 0x4000},
    };
    for (const FlagCase& c : cases) {
        DCB dcb{};
        c.set(dcb);
        std::uint32_t word = 0;
        std::memcpy(&word, reinterpret_cast<const char*>(&dcb) + 8, sizeof word);
        EXPECT_EQ(word, c.mask);
    }
    EXPECT_EQ(offsetof(DCB, ByteSize), 18u);
    EXPECT_EQ(offsetof(DCB, StopBits), 20u);
    EXPECT_EQ(sizeof(PortAttributes), 48u);
}

TEST_F(SerialPort, MovesBytesBothWays) {
    openWith(0, 0, 500);
    EXPECT_EQ(port.write("T", 1), 1u);
    EXPECT_EQ(pty.receive(), "T");

    pty.send("Copyright\n");
    char buffer[16] = {};
    EXPECT_EQ(port.read(buffer, 10), 10u);
    EXPECT_EQ(std::string(buffer, 10), "Copyright\n");
}

TEST_F(SerialPort, ReadWithNothingArrivingReturnsZeroQuietly) {
    openWith(100, 10, 50);
    StdoutCapture out;
    char buffer[8];
    std::uint32_t got = 99;
    const auto elapsed = millisecondsOf([&] { got = port.read(buffer, 8); });
    EXPECT_EQ(got, 0u);
    EXPECT_GE(elapsed, 100);  // multiplier x count + constant = 130 ms
    EXPECT_LT(elapsed, soonMs);
    EXPECT_EQ(out.text(), "");
}

TEST_F(SerialPort, IntervalTimeOutEndsAReadAfterTheLastByte) {
    openWith(100, 0, 0);
    pty.send("abc");
    char buffer[16];
    std::uint32_t got = 0;
    const auto elapsed = millisecondsOf([&] { got = port.read(buffer, 16); });
    EXPECT_EQ(got, 3u);
    EXPECT_GE(elapsed, 90);
    EXPECT_LT(elapsed, soonMs);
}

TEST_F(SerialPort, IntervalTimeOutAloneWaitsForTheFirstByte) {
    openWith(100, 0, 0);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pty.send("xy");
    });
    char buffer[16];
    std::uint32_t got = 0;
    const auto elapsed = millisecondsOf([&] { got = port.read(buffer, 16); });
    late.join();
    EXPECT_EQ(got, 2u);
    EXPECT_GE(elapsed, 300);
}

TEST_F(SerialPort, ZeroTimeOutsWaitForTheWholeCount) {
    openWith(0, 0, 0);
    pty.send("ab");
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        pty.send("cd");
    });
    char buffer[4];
    EXPECT_EQ(port.read(buffer, 4), 4u);
    late.join();
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST_F(SerialPort, TotalTimeOutEndsAReadThatKeepsDribbling) {
    openWith(1000, 0, 200);
    std::thread dribble([&] {
        for (int i = 0; i < 8; ++i) {
            pty.send("z");
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    });
    char buffer[64];
    std::uint32_t got = 0;
    const auto elapsed = millisecondsOf([&] { got = port.read(buffer, 64); });
    dribble.join();
    EXPECT_GE(got, 1u);
    EXPECT_LT(got, 8u);
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 480);  // well before the dribbling ends; the interval never expires
}

TEST_F(SerialPort, MaxIntervalWithZeroTotalsReturnsWhatIsThere) {
    openWith(MAXDWORD, 0, 0);
    char buffer[16];
    EXPECT_EQ(port.read(buffer, 16), 0u);
    pty.send("hello");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(port.read(buffer, 16), 5u);
}

TEST_F(SerialPort, PortNameLimitIs255Characters) {
    const std::string accepted = "/nonexistent/" + std::string(255 - 13, 'n');
    const std::string refused = accepted + "n";
    StdoutCapture out;
    EXPECT_FALSE(port.openPort(accepted.c_str()));  // accepted, then the system refuses it
    EXPECT_FALSE(port.openPort(refused.c_str()));
    const auto lines = out.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "t: ERROR: CRS232H: Opening port " + accepted + ": No such file or directory");
    EXPECT_EQ(lines[1], "t: ERROR: CRS232H: Port name is too long. 255 256");
}

TEST_F(SerialPort, SystemErrorsCarryThePortAndTheSystemText) {
    StdoutCapture out;
    EXPECT_FALSE(port.openPort("/dev/pendax-missing"));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t: ERROR: CRS232H: Opening port /dev/pendax-missing: No such "
                               "file or directory",
                           }));
}

// What is not a terminal takes neither line settings nor read time-outs, so a read from it could
// wait for ever: it is refused at opening, as Win32 refuses what is not a communications device.
TEST_F(SerialPort, PathsThatAreNoTerminalAreRefusedAtOpening) {
    char folder[] = "/tmp/pendax-port-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string fifo = std::string(folder) + "/fifo";
    const std::string file = std::string(folder) + "/file";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(file) << "port";
    StdoutCapture out;
    for (const std::string& path : {std::string("/dev/null"), fifo, file}) {
        CRS232H notATerminal(&log);
        EXPECT_FALSE(notATerminal.openPort(path.c_str())) << path;
        EXPECT_FALSE(notATerminal.closePort());
    }
    std::remove(fifo.c_str());
    std::remove(file.c_str());
    rmdir(folder);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{
                  "t: ERROR: CRS232H: Opening port /dev/null: Inappropriate ioctl for device",
                  "t: ERROR: CRS232H: Opening port " + fifo + ": Inappropriate ioctl for device",
                  "t: ERROR: CRS232H: Opening port " + file + ": Inappropriate ioctl for device",
              }));
}

TEST_F(SerialPort, RefusedLineSettingsStillBoundTheReads) {
    ASSERT_TRUE(port.openPort(pty.slavePath().c_str()));
    PortAttributes wanted{};
    port.getWorkingAttributes(&wanted);
    wanted.dcb.ByteSize = 9;
    wanted.timeouts.ReadIntervalTimeout = 100;
    wanted.timeouts.ReadTotalTimeoutMultiplier = 2;
    wanted.timeouts.ReadTotalTimeoutConstant = 100;
    StdoutCapture out;
    EXPECT_FALSE(port.setAttributes(&wanted));
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"t: ERROR: CRS232H: Setting attribute(DCB) to " +
                                        pty.slavePath() + ": Invalid argument"}));
    PortAttributes applied{};
    ASSERT_TRUE(port.getAttributes(&applied));
    EXPECT_EQ(applied.timeouts.ReadIntervalTimeout, 100u);
    EXPECT_EQ(applied.timeouts.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(applied.timeouts.ReadTotalTimeoutConstant, 100u);
    PortAttributes working{};
    port.getWorkingAttributes(&working);
    EXPECT_EQ(working.dcb.ByteSize, 8);  // a refused set is not adopted
}

TEST_F(SerialPort, SecondOpenerIsTurnedAway) {
    openWith(0, 0, 0);
    CRS232H second(&log);
    StdoutCapture out;
    EXPECT_FALSE(second.openPort(pty.slavePath().c_str()));
    EXPECT_EQ(out.text(),
              "t: ERROR: CRS232H: Opening port " + pty.slavePath() + ": Device or resource busy\n");
}

TEST_F(SerialPort, BaudRateChangesOnlyTheWorkingCopy) {
    openWith(0, 0, 0);
    const std::int32_t accepted[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (const std::int32_t rate : accepted) {
        EXPECT_TRUE(port.setBaudRate(rate)) << rate;
        PortAttributes working{};
        port.getWorkingAttributes(&working);
        EXPECT_EQ(working.dcb.BaudRate, static_cast<DWORD>(rate));
    }
    PortAttributes applied{};
    port.getAttributes(&applied);
    EXPECT_NE(applied.dcb.BaudRate, 115200u);

    StdoutCapture out;
    for (const std::int32_t rate : {14400, 0, -9600, 1234}) {
        EXPECT_FALSE(port.setBaudRate(rate));
    }
    PortAttributes working{};
    port.getWorkingAttributes(&working);
    EXPECT_EQ(working.dcb.BaudRate, 115200u);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t: ERROR: CRS232H: Could not set the baud rate 14400",
                               "t: ERROR: CRS232H: Could not set the baud rate 0",
                               "t: ERROR: CRS232H: Could not set the baud rate -9600",
                               "t: ERROR: CRS232H: Could not set the baud rate 1234",
                           }));
}

TEST_F(SerialPort, SetAttributesAppliesAndAdoptsTheGivenSet) {
    openWith(0, 0, 0);
    PortAttributes changed{};
    port.getWorkingAttributes(&changed);
    changed.dcb.BaudRate = 9600;
    changed.timeouts.ReadIntervalTimeout = 77;
    ASSERT_TRUE(port.setAttributes(&changed));

    PortAttributes working{};
    PortAttributes applied{};
    port.getWorkingAttributes(&working);
    port.getAttributes(&applied);
    EXPECT_EQ(working.dcb.BaudRate, 9600u);
    EXPECT_EQ(applied.dcb.BaudRate, 9600u);
    EXPECT_EQ(applied.timeouts.ReadIntervalTimeout, 77u);

    port.setBaudRate(38400);
    ASSERT_TRUE(port.setAttributes(nullptr));
    port.getAttributes(&applied);
    EXPECT_EQ(applied.dcb.BaudRate, 38400u);
    EXPECT_FALSE(port.getWorkingAttributes(nullptr));
    EXPECT_FALSE(port.setWorkingAttributes(nullptr));
    EXPECT_FALSE(port.getAttributes(nullptr));
}

TEST_F(SerialPort, ClosePutsBackTheSettingsFoundAtOpening) {
    termios before{};
    tcgetattr(pty.slaveFd(), &before);
    before.c_lflag |= ECHO | ICANON;
    cfsetospeed(&before, B2400);
    cfsetispeed(&before, B2400);
    tcsetattr(pty.slaveFd(), TCSANOW, &before);

    openWith(100, 0, 0);
    port.setBaudRate(115200);
    ASSERT_TRUE(port.setAttributes(nullptr));
    termios during{};
    tcgetattr(pty.slaveFd(), &during);
    EXPECT_EQ(cfgetospeed(&during), B115200);
    EXPECT_EQ(during.c_lflag & (ECHO | ICANON), 0u);

    EXPECT_TRUE(port.closePort());
    termios after{};
    tcgetattr(pty.slaveFd(), &after);
    EXPECT_EQ(cfgetospeed(&after), B2400);
    EXPECT_EQ(after.c_lflag & (ECHO | ICANON), tcflag_t{ECHO | ICANON});
}

TEST_F(SerialPort, ClosingTwiceOrNeverOpenedIsRefusedQuietly) {
    StdoutCapture out;
    EXPECT_FALSE(port.closePort());
    openWith(0, 0, 0);
    EXPECT_TRUE(port.closePort());
    EXPECT_FALSE(port.closePort());
    EXPECT_FALSE(port.openPort("/dev/pendax-missing"));
    out.clear();
    EXPECT_FALSE(port.closePort());
    EXPECT_EQ(out.text(), "");
}

TEST_F(SerialPort, TransfersOnAClosedPortReportTheSystemError) {
    StdoutCapture out;
    char byte = 'o';
    EXPECT_EQ(port.write(&byte, 1), 0u);
    EXPECT_EQ(port.read(&byte, 1), 0u);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t: ERROR: CRS232H: Writing to : Bad file descriptor",
                               "t: ERROR: CRS232H: Reading from : Bad file descriptor",
                           }));
}

TEST_F(SerialPort, AHungUpLineFailsTransfersWhereASilentOneTimesOut) {
    openWith(100, 0, 100);
    char byte = 0;
    EXPECT_EQ(port.read(&byte, 1), 0u);
    EXPECT_FALSE(port.transferFailed());  // nothing came: a time-out is no failure
    pty.closeMaster();                    // as a pulled adapter leaves its line
    StdoutCapture out;
    EXPECT_EQ(port.read(&byte, 1), 0u);
    EXPECT_TRUE(port.transferFailed());
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t: ERROR: CRS232H: Reading from " +
                                                     pty.slavePath() + ": Input/output error"}));
    port.dropHandle();
    EXPECT_FALSE(port.closePort());  // nothing left to close or to put back
}

TEST(SerialPortLowLatency, APortThatTurnsItDownServesAsBefore) {
    CLogH log = plainLogger("t", 3);
    PtyPair pty;
    CRS232H port(&log);
    StdoutCapture out;
    ASSERT_TRUE(port.openPort(pty.slavePath().c_str()));
    EXPECT_NE(out.text().find("t: DEBUG: CRS232H: No low-latency mode on " + pty.slavePath() +
                              ": Inappropriate ioctl for device\n"),
              std::string::npos)
        << out.text();
    EXPECT_EQ(port.write("o", 1), 1u);
    EXPECT_EQ(pty.receive(), "o");
}

TEST(SerialPortLogger, OwnLoggerIsNamedAfterTheClass) {
    CLogH host = plainLogger("host", 4);
    StdoutCapture out;
    { CRS232H withHost(&host); }
    { CRS232H own; }  // a fresh logger never shows debug lines
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "host: DEBUG: CRS232H: \"constructor\" called.",
                               "host: DEBUG: CRS232H: \"destructor\" called.",
                           }));
}

}  // namespace
