#include <gtest/gtest.h>
#include <termios.h>

#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "device/pendax.h"
#include "host_storage.h"
#include "plain_logger.h"
#include "pty_pair.h"
#include "stdout_capture.h"

namespace {

using Lines = std::vector<std::string>;

class DeviceInit : public testing::Test {
protected:
    CLogH hostLog = plainLogger("h");
    PtyPair pty;
    HostStorage trackers{HostStorage::Kind::trackers, hostLog};
    HostStorage controllers{HostStorage::Kind::controllers, hostLog};
    InitInfo info{trackers.get(), controllers.get(), {}};

    std::unique_ptr<CPendax> device;

    // Runs init on a device built from the option lines; returns its result and what it printed.
    std::int32_t initWith(ConfigBuilder& config, Lines* printed, const InitInfo* given) {
        StdoutCapture out;
        device = std::make_unique<CPendax>(config.get(), &hostLog);
        const std::int32_t result = device->init(given);
        *printed = out.lines();
        return result;
    }
    std::int32_t initWith(ConfigBuilder& config, Lines* printed) {
        return initWith(config, printed, &info);
    }

    inline static const std::string blank = "h: INFO: " + std::string(22, ' ') + ":";

    static Lines report(const std::string& port, const std::string& baud,
                        const std::string& controller = "1->1") {
        std::string buttons;
        for (int b = 1; b <= 24; ++b) {
            buttons += " " + std::to_string(b) + "->" + std::to_string(b);
        }
        return {
            "h: INFO: DEVICE NAME           : pendax",
            "h: INFO: DEVICE TYPE           : Pendax(tm)",
            "h: INFO: VERSION               : 5.5",
            "h: INFO: DATA TYPE             : Controller",
            "h: INFO: SERIAL PORT           : " + port,
            "h: INFO: BAUD RATE             : " + baud,
            "h: INFO: NUMBER OF DEVICES     : 1",
            "h: INFO: NUMBER OF CONTROLLERS : 1",
            "h: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
            blank + " " + controller,
            "h: INFO: VALUATOR ORDER(SCALE) : <Real val> -> <Output val>",
            blank + " 1->1(1X) 2->2(1X) 3->3(1X) 4->4(1X) 5->5(1X) 6->6(1X) 7->7(1X) 8->8(1X)",
            "h: INFO: BUTTON ORDER          : <Real but> -> <Output but>",
            blank + buttons,
            "h: INFO: -----------------------",
        };
    }
};

TEST_F(DeviceInit, DefaultsPublishOneControllerAt19200) {
    ConfigBuilder config{{"port", pty.slavePath()}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), 1);
    EXPECT_EQ(printed, report(pty.slavePath(), "19200"));
    EXPECT_EQ(controllers.entries(), 1);
    EXPECT_EQ(trackers.entries(), 0);
    EXPECT_EQ(config.option(0).used, 1);

    termios line{};
    tcgetattr(pty.slaveFd(), &line);
    EXPECT_EQ(cfgetospeed(&line), B19200);
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t{CS8});
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
}

TEST_F(DeviceInit, LaterPortAndBaudLinesWin) {
    ConfigBuilder config{
        {"SerialPort", "/dev/pendax-first"}, {"baudrate", "0x2580"}, {"PORT", pty.slavePath()}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), 1);
    EXPECT_EQ(printed, report(pty.slavePath(), "9600"));
    termios line{};
    tcgetattr(pty.slaveFd(), &line);
    EXPECT_EQ(cfgetospeed(&line), B9600);
}

// Rates near the ends of the 32-bit range as well: the read time-outs are worked out from the
// rate before it is refused, and must not overflow on the way.
TEST_F(DeviceInit, UnsupportedLineSpeedFailsAfterTheReport) {
    for (const std::string baud : {"1234", "2147483647", "2147463649", "-2147483648"}) {
        SCOPED_TRACE(baud);
        ConfigBuilder config{{"port", pty.slavePath()}, {"baud", baud}};
        HostStorage fresh{HostStorage::Kind::controllers, hostLog};
        const InitInfo freshInfo{trackers.get(), fresh.get(), {}};
        Lines printed;
        EXPECT_EQ(initWith(config, &printed, &freshInfo), -1);
        Lines expected = report(pty.slavePath(), baud);
        expected.push_back("h: ERROR: CRS232H: Could not set the baud rate " + baud);
        EXPECT_EQ(printed, expected);
    }
}

TEST_F(DeviceInit, PortThatCannotBeOpenedStillPrintsTheReport) {
    ConfigBuilder config;
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), -1);
    Lines expected = report("com2", "19200");
    expected.push_back("h: ERROR: CRS232H: Opening port com2: No such file or directory");
    EXPECT_EQ(printed, expected);
}

TEST_F(DeviceInit, EveryFaultyDeviceOptionIsReportedBeforeGivingUp) {
    ConfigBuilder config;
    config.add(7, {"baud"}).add(8, {"valuatororder", "x"}).add(9, {"port", "a", "b"});
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), -1);
    EXPECT_EQ(printed, (Lines{
                           "h: ERROR: CPendax: Incomplete option line found for Baud at line 7.",
                           "h: ERROR: CPendax: Too many args found for SerialPort at line 9.",
                       }));
    EXPECT_EQ(controllers.entries(), 0);
}

TEST_F(DeviceInit, RejectedControllerOptionsFailInit) {
    ConfigBuilder config{{"port", pty.slavePath()}, {"valuatorscale", "1", "big", "1"}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), -1);
    EXPECT_EQ(printed, Lines{"h: ERROR: Invalid arg found for ValuatorScale at line 2."});
    EXPECT_EQ(controllers.entries(), 0);
}

TEST_F(DeviceInit, UnknownOptionsAreAllReported) {
    ConfigBuilder config{{"port", pty.slavePath()},
                         {"bogus"},
                         {"sensoroffset", "1", "2", "3"},
                         {"controllerorder", "1"}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), -1);
    EXPECT_EQ(printed,
              (Lines{
                  "h: ERROR: CConfigH: Unknown option \"bogus\" found at line 2.",
                  "h: ERROR: CConfigH: Unknown option \"sensoroffset\" found at line 3.",
                  "h: ERROR: CConfigH: Unknown option \"controllerorder\" found at line 4.",
              }));
    EXPECT_EQ(controllers.entries(), 1);  // the slot was reserved before the check
}

TEST_F(DeviceInit, MissingHostRecordsAreRefused) {
    ConfigBuilder config{{"port", pty.slavePath()}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed, nullptr), -1);
    EXPECT_EQ(printed, Lines{"h: ERROR: CPendax: Init info is empty."});

    const InitInfo noControllers{trackers.get(), nullptr, {}};
    EXPECT_EQ(initWith(config, &printed, &noControllers), -1);
    EXPECT_EQ(printed, Lines{"h: ERROR: CPendax: controller data storage pointer is empty."});
}

TEST_F(DeviceInit, ControllersAlreadyInStorageMoveTheSlot) {
    HostStorage busy(HostStorage::Kind::controllers, hostLog, 3);
    info.controllerStorage = busy.get();
    ConfigBuilder config{{"port", pty.slavePath()}};
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), 1);
    EXPECT_EQ(busy.entries(), 4);
    EXPECT_EQ(printed, report(pty.slavePath(), "19200", "1->4"));
}

TEST_F(DeviceInit, ReportShowsOrdersAndScalesAsConfigured) {
    ConfigBuilder config("cave-left");
    config.add({"port", pty.slavePath()})
        .add({"baud", "38400"})
        .add({"valuatororder", "1", "2", "1"})
        .add({"valuatorscale", "1", "[0.5,0,1,-0.25]", "all"})
        .add({"buttonorder", "1", "0", "1"});
    Lines printed;
    EXPECT_EQ(initWith(config, &printed), 1);
    EXPECT_EQ(printed, (Lines{
                           "h: INFO: DEVICE NAME           : cave-left",
                           "h: INFO: DEVICE TYPE           : Pendax(tm)",
                           "h: INFO: VERSION               : 5.5",
                           "h: INFO: DATA TYPE             : Controller",
                           "h: INFO: SERIAL PORT           : " + pty.slavePath(),
                           "h: INFO: BAUD RATE             : 38400",
                           "h: INFO: NUMBER OF DEVICES     : 1",
                           "h: INFO: NUMBER OF CONTROLLERS : 1",
                           "h: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
                           blank + " 1->1",
                           "h: INFO: VALUATOR ORDER(SCALE) : <Real val> -> <Output val>",
                           blank + " 1->2(0.5X^3+1X-0.25) 2->1(0.5X^3+1X-0.25)",
                           "h: INFO: BUTTON ORDER          : <Real but> -> <Output but>",
                           blank + " 1->2",
                           "h: INFO: -----------------------",
                       }));
}

}  // namespace
