#include "tracker/calib_lib.h"

CCalibH::CCalibH(const char* name, const CLogH* creatorLogger) : CDynamicLibH(name, creatorLogger) {
    if (creatorLogger == nullptr) {
        logger->setName("CCalibH");
    }
    logger->debug("CCalibH: \"init\" called.", true);
}

CCalibH::~CCalibH() {
    logger->debug("CCalibH: \"destructor\" called.", true);
}
