#pragma once

#include "tracker/dynamic_lib.h"

// The calibration library the tracker options name: loaded and kept, nothing called in it.
class CCalibH : public CDynamicLibH {
public:
    CCalibH(const char* name, const CLogH* creatorLogger);
    ~CCalibH() override;
};
