#include "tracker/calib_lib.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host_os.h"
#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string stub = CALIBRATION_STUB_PATH;

TEST(CalibrationLibrary, LoadedAtConstructionAndReleasedAtDestruction) {
    const CLogH log = plainLogger("t", 3);
    StdoutCapture out;
    std::unique_ptr<CDynamicLibH> library = std::make_unique<CCalibH>(stub.c_str(), &log);
    EXPECT_TRUE(hostos::libraryLoaded(stub));
    EXPECT_FALSE(library->load(stub.c_str()));  // one library at a time, silently
    library.reset();
    EXPECT_FALSE(hostos::libraryLoaded(stub));
    EXPECT_EQ(out.lines(), (Lines{
                               "t: DEBUG: CDynamicLibH: \"constructor\" called.",
                               "t: DEBUG: CDynamicLibH: \"init\" called.",
                               "t: DEBUG: CDynamicLibH: \"load\" called.",
                               "t: DEBUG: CDynamicLibH: " + stub + " library loaded.",
                               "t: DEBUG: CCalibH: \"init\" called.",
                               "t: DEBUG: CDynamicLibH: \"load\" called.",
                               "t: DEBUG: CCalibH: \"destructor\" called.",
                               "t: DEBUG: CDynamicLibH: \"destructor\" called.",
                               "t: DEBUG: CDynamicLibH: \"unload\" called.",
                           }));
}

TEST(CalibrationLibrary, AFailedLoadLeavesAUsableObjectWithoutLibrary) {
    const CLogH log = plainLogger("t");
    StdoutCapture out;
    {
        CCalibH library("/nonexistent/libcalibration.so", &log);
        CDynamicLibH empty("", &log);
        EXPECT_FALSE(empty.load(nullptr));
        EXPECT_TRUE(empty.unload());
    }
    EXPECT_EQ(out.lines(), (Lines{
                               "t: ERROR: CDynamicLibH: Can not load the library "
                               "/nonexistent/libcalibration.so",
                               "t: ERROR: CDynamicLibH: Library name is empty.",
                               "t: ERROR: CDynamicLibH: Library name is empty.",
                           }));
}

TEST(CalibrationLibrary, UnloadWithoutALibraryOnlySaysItWasCalled) {
    const CLogH log = plainLogger("t", 3);
    CDynamicLibH library(nullptr, &log);
    StdoutCapture out;
    EXPECT_TRUE(library.unload());
    EXPECT_EQ(out.lines(), (Lines{"t: DEBUG: CDynamicLibH: \"unload\" called."}));
}

}  // namespace
