// A system error text ends the module's line: the text's own line end (Windows texts carry one)
// does not leave an empty line after it.

#include <gtest/gtest.h>

#include <string>

#include "plain_logger.h"
#include "platform/serial_port.h"
#include "stdout_capture.h"
#include "system_texts.h"

namespace {

TEST(PortErrorText, AFailedOpenIsOneLineEndingInTheSystemsText) {
    const CLogH log = plainLogger("t");
    StdoutCapture out;
    {
        CRS232H port(&log);
        EXPECT_FALSE(port.openPort("pendax-no-such-port"));
    }
    EXPECT_EQ(out.text(), std::string("t: ERROR: CRS232H: Opening port pendax-no-such-port: ") +
                              systemTexts::fileNotFound + "\n");
}

}  // namespace
