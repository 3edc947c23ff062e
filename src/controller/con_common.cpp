#include "controller/con_common.h"

#include <algorithm>
#include <iterator>

namespace {
void setIdentityScale(float* scale) {
    scale[0] = 0.0f;
    scale[1] = 0.0f;
    scale[2] = 1.0f;
    scale[3] = 0.0f;
}

void resetEntry(ControllerEntry& entry) {
    entry.outputId = 0;
    entry.numValuators = 0;
    entry.numButtons = 0;
    std::fill(std::begin(entry.valuatorOrder), std::end(entry.valuatorOrder), 0u);
    std::fill(std::begin(entry.buttonOrder), std::end(entry.buttonOrder), 0u);
    for (float* scale : entry.valuatorScale) {
        setIdentityScale(scale);
    }
    entry.emulation = nullptr;
}
}  // namespace

CConCommonH::CConCommonH(const CLogH* creatorLogger)
    : numControllers(0),
      limitToCounts(true),
      controllers(nullptr),
      inputConnector(true),
      numOutputControllers(0),
      idOffset(0),
      timeStep(0.0),
      readClock(sys::readClock),
      logger(makeOwnedLogger(creatorLogger, "CConCommonH", 3)),
      ownsLogger(true) {
    logger->debug("CConCommonH: \"constructor\" called.", true);
}

CConCommonH::~CConCommonH() {
    logger->debug("CConCommonH: \"destructor\" called.", true);
    if (controllers != nullptr) {
        clear();
    }
    if (ownsLogger) {
        delete logger;
    }
}

bool CConCommonH::setControllerCount(std::uint32_t count, bool limitOrdersToCounts) {
    if (count == 0) {
        return false;
    }
    clear();
    controllers = new ControllerEntry[count];
    numControllers = count;
    limitToCounts = limitOrdersToCounts;
    std::for_each(controllers, controllers + count, resetEntry);
    return true;
}

bool CConCommonH::setController(std::uint32_t index, std::uint32_t outputId,
                                std::uint32_t valuatorCount, std::uint32_t buttonCount) {
    // Counts above the maps' size would let later order options write past them.
    if (controllers == nullptr || index < 1 || index > numControllers ||
        valuatorCount > ControllerEntry::maxChannels ||
        buttonCount > ControllerEntry::maxChannels) {
        return false;
    }
    ControllerEntry& entry = controllers[index - 1];
    entry.outputId = outputId;
    entry.numValuators = valuatorCount;
    entry.numButtons = buttonCount;
    for (std::uint32_t r = 1; r <= valuatorCount; ++r) {
        entry.valuatorOrder[r - 1] = r;
        setIdentityScale(entry.valuatorScale[r - 1]);
    }
    for (std::uint32_t r = 1; r <= buttonCount; ++r) {
        entry.buttonOrder[r - 1] = r;
    }
    return true;
}

bool CConCommonH::clear() {
    if (controllers == nullptr) {
        return false;
    }
    for (std::uint32_t i = 0; i < numControllers; ++i) {
        delete controllers[i].emulation;
    }
    delete[] controllers;
    controllers = nullptr;
    numControllers = 0;
    return true;
}

const ControllerEntry* CConCommonH::controller(std::uint32_t index) const {
    if (controllers == nullptr || index < 1 || index > numControllers) {
        return nullptr;
    }
    return &controllers[index - 1];
}

float CConCommonH::scaleValuator(std::uint32_t controllerIndex, std::uint32_t valuator,
                                 float x) const {
    const ControllerEntry* entry = controller(controllerIndex);
    if (entry == nullptr || valuator < 1 || valuator > ControllerEntry::maxChannels) {
        return 0.0f;
    }
    const float* c = entry->valuatorScale[valuator - 1];
    const double x1 = x;
    const double x2 = x1 * x1;
    const double x3 = x1 * x2;
    return static_cast<float>(((c[0] * x3 + c[1] * x2) + c[2] * x1) + c[3]);
}
