// The module binary against the virtual box for thousands of cycles while the box steps through
// every fault. No cycle may pass its bound; nothing may be published from a broken packet; once the
// fault is gone, every packet is published. The longest cycle under each fault is printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "host_storage.h"
#include "loaded_module.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "stored_sample.h"
#include "virtual_box.h"

namespace {

using Clock = std::chrono::steady_clock;

// A cycle at 19200 baud takes at most about 360 ms (a packet read, a bounded drain and the read it
// ends in); the bound leaves room for a loaded machine, yet a drain that followed a trickle to its
// end (12 s below) would pass it.
constexpr long long cycleBoundMs = 3000;
constexpr int rounds = 3;
constexpr int faultCycles = 3;
constexpr int goodCycles = 100;
// Cycles the device may take to come back in step once the fault is gone.
constexpr int resyncCycles = 2;

Faults fault(const std::string& name, const std::string& value = "") {
    Faults faults;
    std::string error;
    if (!applyFault(faults, name, value, &error)) {
        throw std::invalid_argument(error);
    }
    return faults;
}

// 200 bytes of noise before every reply, 60 ms apart.
Faults trickle() {
    Faults faults = fault("garbage", "200");
    faults.dribbleMs = 60;
    return faults;
}

// Every sample differs from the one before, and its channels say which sample it is.
BoxInputs sampleNumber(unsigned n) {
    BoxInputs inputs = BoxInputs::atRest();
    for (unsigned i = 0; i < 8; ++i) {
        inputs.analog[i] = static_cast<int>((n * 7 + i * 500) % 4096);
    }
    inputs.buttons = (n * 2654435761u) & 0xffffffu;
    return inputs;
}

ConData storedInputs(const BoxInputs& inputs) {
    float valuators[8];
    for (unsigned i = 0; i < 8; ++i) {
        valuators[i] = valuatorOfLevel(static_cast<unsigned>(inputs.analog[i]));
    }
    return storedSample(valuators, inputs.buttons);
}

class FaultSoak : public testing::Test {
protected:
    void SetUp() override {
        device = module.createDev(config.get(), &log);
        const InitInfo info{trackers.get(), controllers.get(), {}};
        StdoutCapture quiet;
        ASSERT_EQ(device->init(&info), 1) << quiet.text();
        ASSERT_EQ(device->configure(), 3) << quiet.text();
        ASSERT_NE(quiet.text().find("CPendax: Setup OK."), std::string::npos) << quiet.text();
    }
    void TearDown() override { module.deleteDev(device); }

    // Sets the box to a new sample, runs one cycle and checks what it published.
    std::int32_t cycle(long long* elapsedMs) {
        const unsigned n = ++issued;
        const BoxInputs inputs = sampleNumber(n);
        for (int i = 0; i < 8; ++i) {
            box.setAnalog(i + 1, inputs.analog[i]);
        }
        for (int b = 0; b < 24; ++b) {
            box.setButton(b + 1, ((inputs.buttons >> b) & 1u) != 0);
        }
        ConData before;
        std::memcpy(&before, &controllers.controllerRecord(1), sizeof before);
        const auto start = Clock::now();
        const std::int32_t result = device->recvData(&masks, 0);
        *elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (masks.controllerMask == 0) {
            EXPECT_EQ(std::memcmp(&before, &controllers.controllerRecord(1), sizeof before), 0);
        } else {
            EXPECT_EQ(result, 1);
            publishedSample = sampleOf(controllers.controllerRecord(1));
            EXPECT_NE(publishedSample, 0u) << "a record that is no sample the box sent";
            EXPECT_GT(publishedSample, lastPublished) << "an older sample published again";
            lastPublished = std::max(lastPublished, publishedSample);
        }
        return result;
    }

    // Which of the recent samples the record holds; 0 for none.
    unsigned sampleOf(const ConData& record) const {
        for (unsigned n = issued; n > 0 && n + 300 > issued; --n) {
            if (sameChannels(record, storedInputs(sampleNumber(n)))) {
                return n;
            }
        }
        return 0;
    }

    CLogH log = plainLogger("soak");
    LoadedModule module;
    CVirtualBox box;
    HostStorage trackers{HostStorage::Kind::trackers, log};
    HostStorage controllers{HostStorage::Kind::controllers, log};
    ConfigBuilder config{{"port", box.slavePath()}, {"baud", "19200"}};
    CBase* device = nullptr;
    ChangeMasks masks{};
    unsigned issued = 0;
    unsigned publishedSample = 0;
    unsigned lastPublished = 0;
};

TEST_F(FaultSoak, EveryFaultEndsInTimeAndGoodPacketsFollowIt) {
    const std::vector<std::pair<std::string, Faults>> faults = {
        {"silent", fault("silent")},
        {"short", fault("short")},
        {"badstart", fault("badstart")},
        {"badend", fault("badend")},
        {"garbage=3", fault("garbage", "3")},
        {"garbage=40", fault("garbage", "40")},
        {"dribble=5", fault("dribble", "5")},
        {"dribble=30", fault("dribble", "30")},
        {"dribble=90", fault("dribble", "90")},
        {"dribble=150", fault("dribble", "150")},
        {"trickle", trickle()},
    };
    std::map<std::string, long long> longest;
    long long longestGood = 0;
    long long longestConfigure = 0;
    int cycles = 0;
    std::string printed;
    {
        StdoutCapture log;
        for (int round = 0; round < rounds; ++round) {
            for (const auto& [name, faults] : faults) {
                SCOPED_TRACE(name);
                box.setFaults(faults);
                for (int i = 0; i < faultCycles; ++i, ++cycles) {
                    long long elapsed = 0;
                    cycle(&elapsed);
                    longest[name] = std::max(longest[name], elapsed);
                    EXPECT_LE(elapsed, cycleBoundMs);
                }
                box.setFaults(Faults{});
                for (int i = 0; i < goodCycles; ++i, ++cycles) {
                    long long elapsed = 0;
                    const std::int32_t result = cycle(&elapsed);
                    EXPECT_LE(elapsed, cycleBoundMs);
                    if (i >= resyncCycles) {
                        longestGood = std::max(longestGood, elapsed);
                        ASSERT_EQ(result, 1) << "cycle " << i << " after the fault";
                        ASSERT_NE(masks.controllerMask, 0u) << "a good packet not published";
                    }
                }
            }

            // A box that refuses its set-up keeps the format it had; the next set-up is accepted.
            box.setFaults(fault("refuse"));
            const auto start = Clock::now();
            EXPECT_EQ(device->configure(), 3);
            box.setFaults(Faults{});
            EXPECT_EQ(device->configure(), 3);
            longestConfigure = std::max<long long>(
                longestConfigure,
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                        .count() /
                    2);
            long long elapsed = 0;
            EXPECT_EQ(cycle(&elapsed), 1);
            ++cycles;
        }
        printed = log.text();
    }
    EXPECT_NE(printed.find("soak: ERROR: CPendax: Setup failed."), std::string::npos);

    std::printf("fault soak: %d cycles\n", cycles);
    for (const auto& [name, faults] : faults) {
        std::printf("fault soak: longest recvData under %-11s %4lld ms\n", name.c_str(),
                    longest[name]);
    }
    std::printf("fault soak: longest recvData once back in step  %4lld ms\n", longestGood);
    std::printf("fault soak: longest configure (refused or not)  %4lld ms\n", longestConfigure);
}

}  // namespace
