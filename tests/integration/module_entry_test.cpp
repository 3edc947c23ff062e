#include <gtest/gtest.h>

#include <regex>

#include "device/host_records.h"
#include "host_os.h"
#include "loaded_module.h"
#include "plain_logger.h"
#include "text_lines.h"

namespace {

// The module binary may carry its own C++ runtime (the Windows DLL does), so its output is taken
// where both runtimes write: the process's standard output.
using ModuleOutput = hostos::StandardOutputCapture;

TEST(ModuleEntry, OnlyTheTwoEntryPointsAreExported) {
    LoadedModule module;
    EXPECT_EQ(module.symbol("_ZN7CPendax8sendDataEii"), nullptr);
    EXPECT_EQ(module.symbol("_ZN4CLogH4infoEPKcb"), nullptr);
}

TEST(ModuleEntry, DeviceWithoutHostLoggerLogsAsCPendaxWithoutDebug) {
    LoadedModule module;
    DeviceConfig config{};
    ModuleOutput out;
    CBase* device = module.createDev(&config, nullptr);
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->start());
    EXPECT_EQ(device->sendData(0, 0), -1);
    EXPECT_EQ(device->sendData(-7, 123456), -1);
    EXPECT_TRUE(device->stop());
    EXPECT_TRUE(module.deleteDev(device));

    const auto lines = linesOf(out.text());
    ASSERT_EQ(lines.size(), 2u);
    const std::regex warning(
        "^[A-Z][a-z]{2} [0-9]{2} [0-9:]{8} CPendax\\[[0-9]+\\]: WARNING: CPendax: Can not send any "
        "data\\.$");
    EXPECT_TRUE(std::regex_match(lines[0], warning)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], warning)) << lines[1];
}

TEST(ModuleEntry, DeviceLogsThroughItsOwnCopyOfTheHostLogger) {
    LoadedModule module;
    DeviceConfig config{};
    CLogH host = plainLogger("pendax-host", 1);
    ModuleOutput out;
    CBase* device = module.createDev(&config, &host);
    ASSERT_NE(device, nullptr);
    host.setName("changed by the host");
    host.debugSetting = 0;
    device->start();
    device->sendData(1, 2);
    device->stop();
    module.deleteDev(device);

    EXPECT_EQ(linesOf(out.text()), (std::vector<std::string>{
                                       "pendax-host: DEBUG: CPendax: \"constructor\" called.",
                                       "pendax-host: DEBUG: CPendax: \"start\" called.",
                                       "pendax-host: WARNING: CPendax: Can not send any data.",
                                       "pendax-host: DEBUG: CPendax: \"stop\" called.",
                                       "pendax-host: DEBUG: CPendax: \"destructor\" called.",
                                   }));
}

TEST(ModuleEntry, DeleteDevRefusesNull) {
    LoadedModule module;
    ModuleOutput out;
    EXPECT_FALSE(module.deleteDev(nullptr));
    EXPECT_EQ(out.text(), "");
}

TEST(ModuleEntry, ADeviceWhoseInitFailedDoesNoHarm) {
    LoadedModule module;
    DeviceConfig config{};
    CLogH host = plainLogger("pendax-host");
    ModuleOutput out;
    CBase* device = module.createDev(&config, &host);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->init(nullptr), -1);
    EXPECT_EQ(device->configure(), 1);
    ChangeMasks masks{1, 2};
    EXPECT_EQ(device->recvData(&masks, 0), -1);
    EXPECT_EQ(masks.trackerMask, 1u);
    EXPECT_EQ(masks.controllerMask, 2u);
    EXPECT_TRUE(device->printSettings());
    EXPECT_TRUE(device->stop());
    EXPECT_TRUE(module.deleteDev(device));

    const auto lines = linesOf(out.text());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "pendax-host: ERROR: CPendax: Init info is empty.");
    EXPECT_EQ(lines[1], "pendax-host: ERROR: CPendax: Sending a byte failed.");  // identification
    EXPECT_EQ(lines[2], "pendax-host: ERROR: CPendax: Sending a byte failed.");  // the poll
    EXPECT_EQ(lines[3], "pendax-host: INFO: DEVICE NAME           : ");
}

}  // namespace
