// The controller part of the settings report.

#include <iostream>

#include "controller/con_common.h"

namespace {
constexpr const char* continuation = "                      :";

// c3·X³ + c2·X² + c1·X + c0, leaving out the zero terms.
void writePolynomial(const float* c) {
    const char* suffixes[] = {"X^3", "X^2", "X", ""};
    bool written = false;
    for (int term = 0; term < 4; ++term) {
        if (c[term] == 0.0f) {
            continue;
        }
        if (written && c[term] > 0.0f) {
            std::cout << "+";
        }
        std::cout << c[term] << suffixes[term];
        written = true;
    }
}
}  // namespace

bool CConCommonH::printControllerSettings() const {
    logger->info("CONTROLLER ORDER      : <Real con> -> <Output con>", true);
    logger->info(continuation, false);
    for (std::uint32_t i = 1; i <= numControllers; ++i) {
        if (controllers[i - 1].outputId != 0) {
            std::cout << " " << i << "->" << controllers[i - 1].outputId + idOffset;
        }
    }
    std::cout << std::endl;

    for (std::uint32_t c = 1; c <= numControllers; ++c) {
        const ControllerEntry& entry = controllers[c - 1];
        if (entry.outputId == 0) {
            continue;
        }
        if (entry.numValuators != 0) {
            logger->info("VALUATOR ORDER(SCALE) : <Real val> -> <Output val>", true);
            startContinuation(c);
            for (std::uint32_t r = 1; r <= ControllerEntry::maxChannels; ++r) {
                if (entry.valuatorOrder[r - 1] != 0) {
                    std::cout << " " << r << "->" << entry.valuatorOrder[r - 1] << "(";
                    writePolynomial(entry.valuatorScale[r - 1]);
                    std::cout << ")";
                }
            }
            std::cout << std::endl;
        }
        if (entry.numButtons != 0) {
            logger->info("BUTTON ORDER          : <Real but> -> <Output but>", true);
            startContinuation(c);
            for (std::uint32_t r = 1; r <= ControllerEntry::maxChannels; ++r) {
                if (entry.buttonOrder[r - 1] != 0) {
                    std::cout << " " << r << "->" << entry.buttonOrder[r - 1];
                }
            }
            std::cout << std::endl;
        }
        if (entry.emulation != nullptr) {
            printEmulation(c, *entry.emulation);
        }
    }
    return true;
}

void CConCommonH::printEmulation(std::uint32_t controllerIndex,
                                 const TrackerEmulation& emulation) const {
    const char* const axisNames[] = {"X", "Y", "Z", "Azim", "Elev", "Roll"};
    const float* init = emulation.initValues;
    logger->info("TRACKER EMULATION     :", false);
    if (numControllers == 1) {
        std::cout << " As ";
    } else {
        std::cout << " " << controllerIndex << "->";
    }
    std::cout << "tracker[" << emulation.trackerId << "]" << std::endl;
    startContinuation(controllerIndex);
    std::cout << " Init Values:"
              << " X=" << init[0] << " Y=" << init[1] << " Z=" << init[2] << std::endl;
    startContinuation(controllerIndex);
    std::cout << " Init Values:"
              << " Azim=" << init[3] << " Elev=" << init[4] << " Roll=" << init[5] << std::endl;
    startContinuation(controllerIndex);
    std::cout << " Val Assign :";
    for (std::size_t a = 0; a < TrackerEmulation::axisCount; ++a) {
        if (emulation.valuatorIds[a] != 0) {
            std::cout << " " << emulation.valuatorIds[a] << "->" << axisNames[a];
        }
    }
    std::cout << std::endl;
    if (emulation.resetButton != 0) {
        startContinuation(controllerIndex);
        std::cout << " Reset But  : " << emulation.resetButton << std::endl;
    }
}

// An open continuation line; with several controllers it names the one it belongs to.
void CConCommonH::startContinuation(std::uint32_t controllerIndex) const {
    logger->info(continuation, false);
    if (numControllers != 1) {
        std::cout << " " << controllerIndex << ":";
    }
}
