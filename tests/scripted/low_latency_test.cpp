// USB serial adapters hold received bytes for a latency timer unless asked not to: the port asks
// once when it is opened, and a port that turns it down serves as before.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "scripted_rig.h"
#include "stdout_capture.h"

namespace {

TEST(LowLatency, IsAskedForOnOpeningAndARefusalChangesNothing) {
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "taken");
        ScriptedRig rig;
        rig.log.debugSetting = 3;  // the port's debug identity
        rig.device = std::make_unique<CPendax>(rig.config.get(), &rig.log);
        scripted_sys::refuseLowLatency(refused);
        StdoutCapture out;
        ASSERT_EQ(rig.init(), 1) << out.text();
        EXPECT_EQ(scripted_sys::calls().lowLatencyRequests, 1u);
        const std::string refusal = "s: DEBUG: CRS232H: No low-latency mode on scripted: ";
        EXPECT_EQ(out.text().find(refusal) != std::string::npos, refused) << out.text();

        rig.device->configure();
        EXPECT_EQ(rig.poll(), 1);
        EXPECT_NE(rig.masks.controllerMask, 0u);
    }
}

}  // namespace
