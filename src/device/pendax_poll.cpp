// The polling cycle: one request, one packet, one controller sample published when it changed.

#include <cstring>

#include "controller/con_common.h"
#include "device/line_timing.h"
#include "device/pendax.h"
#include "device/storage_position.h"
#include "platform/byte_order.h"
#include "platform/data_storage.h"
#include "platform/sys/sys.h"
#include "protocol/packet_format.h"

std::int32_t CPendax::recvData(ChangeMasks* masks, std::int32_t) {
    logger->debug("CPendax: \"recvData\" called.", true);
    if (masks != nullptr && conCommon != nullptr) {
        masks->controllerMask = 0;
    }
    if (masks != nullptr && traCommon != nullptr) {
        masks->trackerMask = 0;
    }
    if (lineLost) {
        return recoverLine();
    }

    const char request = protocol::packetRequest;
    if (writeToBox(&request, 1) != 1) {
        logger->error("CPendax: Sending a byte failed.", true);
        return failedCycle();
    }
    sys::sleepMs(0);

    const auto length = static_cast<std::uint32_t>(boxState.packetLength);
    rxBuffer[0] = 0;
    const std::uint32_t received = readFromBox(rxBuffer, length);
    if (portFailed()) {
        return failedCycle();
    }
    if (received != length) {
        if (received != 0) {
            drainInput();  // a read that got nothing has already seen the line quiet
        }
        return portFailed() ? failedCycle() : 0;
    }
    if (received == 0) {
        logger->warning("CPendax: No chars in input buffer.", true);
        return -1;
    }
    if (rxBuffer[0] != protocol::packetStart || rxBuffer[length - 1] != protocol::packetEnd) {
        drainInput();  // whatever put the frame out of place must not shift the next one too
        return -1;
    }
    decodePacket(rxBuffer);
    buildControllerSample();
    if (!publishController(masks)) {
        return -1;
    }
    // The tracker moves on every good packet, also when the controller sample stayed the same.
    if (traCommon != nullptr && !publishTracker(masks)) {
        return -1;
    }
    republish = false;
    return 1;
}

// Drops what is left of a broken or misplaced packet so that the next request starts in step
// with the box.
// A line that never falls quiet is left after one packet's line time plus the read time-out,
// however slowly its bytes come; the next cycle goes on draining, and the host keeps control
// meanwhile.
void CPendax::drainInput() {
    const std::uint32_t budgetMs =
        lineTiming::charactersMs(static_cast<std::uint32_t>(boxState.packetLength), baudRate) +
        lineTiming::readIntervalMs;
    const std::uint64_t start = sys::monotonicMs();
    while (sys::monotonicMs() - start < budgetMs && readFromBox(rxBuffer, 1) != 0) {
    }
}

// Maps and scales the enabled channels into the current sample; disabled ones keep their values.
void CPendax::buildControllerSample() {
    const ControllerEntry& controller = *conCommon->controller(1);
    newController.setTimeStamp();
    newController.setId(controller.outputId + conCommon->idOffset);
    const std::uint32_t valuators = controller.numValuators < 8 ? controller.numValuators : 8;
    for (std::uint32_t i = 0; i < valuators; ++i) {
        if ((boxState.valuatorMask >> i) & 1) {
            const float x = conCommon->scaleValuator(1, i + 1, decoded.rawValuators[i]);
            newController.setValuator(controller.valuatorOrder[i], x);
        }
    }
    for (std::uint32_t g = 0; g < 3; ++g) {
        if ((boxState.groupMask & protocol::groupBits[g]) != 0) {
            for (std::uint32_t j = 0; j < 8; ++j) {
                newController.setButton(controller.buttonOrder[8 * g + j],
                                        (decoded.rawGroups[g] >> j) & 1);
            }
        }
    }
}

// Copies a changed sample into the device's storage slot under the storage's lock.
bool CPendax::publishController(ChangeMasks* masks) {
    if (!republish && ConData::sameData(lastController, newController)) {
        return true;
    }
    CDataStorage* storage = initInfo.controllerStorage;
    storage->lock();
    controllerEntry = storage->getController(conCommon->idOffset + 1);
    if (controllerEntry != nullptr) {
        logger->debug("CPendax: ConData storage found", true);
        std::memcpy(controllerEntry, &newController, sizeof newController);
    } else {
        logger->error("CPendax: ConData storage not found", true);
    }
    storage->unlock();
    if (controllerEntry == nullptr) {
        return false;
    }
    if (masks != nullptr) {
        markPosition(masks->controllerMask,
                     conCommon->controller(1)->outputId + conCommon->idOffset);
    }
    lastController = newController;
    return true;
}
