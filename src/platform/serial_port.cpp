#include "platform/serial_port.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {
constexpr std::size_t maxPortName = 255;
constexpr std::int32_t acceptedRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
}  // namespace

CRS232H::CRS232H(const CLogH* creatorLogger)
    : ownsLogger(true),
      portName{},
      portHandle(nullptr),
      savedAttributes{},
      workingAttributes{},
      logger(makeOwnedLogger(creatorLogger, "CRS232H", 3)),
      lastTransferFailed(false) {
    if (creatorLogger == nullptr) {
        logger->setDebugLevel(4);
    }
    logger->debug("CRS232H: \"constructor\" called.", true);
}

CRS232H::~CRS232H() {
    logger->debug("CRS232H: \"destructor\" called.", true);
    if (portHandle != nullptr) {
        closePort();
    }
    if (ownsLogger) {
        delete logger;
    }
}

bool CRS232H::openPort(const char* name) {
    logger->debug("CRS232H: \"openPort\" called.", true);
    if (name == nullptr) {
        name = "";
    }
    const std::size_t length = std::strlen(name);
    if (length > maxPortName) {
        logger->error("CRS232H: Port name is too long. ", false);
        std::cout << maxPortName << " " << length << std::endl;
        return false;
    }
    closePort();  // a second open moves to the new port instead of losing the old handle
    std::memcpy(portName, name, length + 1);
    logger->debugf("CRS232H: Opening %s.\n", portName);
    portHandle = sys::openPort(portName);
    if (portHandle == sys::invalidHandle()) {
        reportSystemError("CRS232H: Opening port ");
        return false;
    }
    if (!sys::requestLowLatency(portHandle) && logger->isDebugOn()) {
        const std::string systemText = sys::lastErrorText();
        logger->debug("CRS232H: No low-latency mode on ", false);
        std::cout << portName << ": " << systemText << std::endl;
    }
    getAttributes(&workingAttributes);
    getAttributes(&savedAttributes);
    return true;
}

bool CRS232H::closePort() {
    if (portHandle == nullptr || portHandle == sys::invalidHandle()) {
        return false;
    }
    bool result = setAttributes(&savedAttributes);
    if (!sys::closeHandle(portHandle)) {
        reportSystemError("CRS232H: Closing port ");
        result = false;
    }
    portHandle = nullptr;
    return result;
}

bool CRS232H::getAttributes(PortAttributes* out) {
    if (out == nullptr) {
        return false;
    }
    if (!sys::getCommState(portHandle, &out->dcb)) {
        reportSystemError("CRS232H: Getting attribute(DCB) from ");
        return false;
    }
    if (!sys::getCommTimeouts(portHandle, &out->timeouts)) {
        reportSystemError("CRS232H: Getting attribute(COMMTIMEOUTS) from ");
        return false;
    }
    return true;
}

bool CRS232H::setAttributes(const PortAttributes* in) {
    const PortAttributes* applied = in != nullptr ? in : &workingAttributes;
    if (!sys::setCommState(portHandle, &applied->dcb)) {
        reportSystemError("CRS232H: Setting attribute(DCB) to ");
        // The time-outs still go on, quietly: without them a read could wait for ever.
        sys::setCommTimeouts(portHandle, &applied->timeouts);
        return false;
    }
    if (!sys::setCommTimeouts(portHandle, &applied->timeouts)) {
        reportSystemError("CRS232H: Setting attribute(COMMTIMEOUTS) to ");
        return false;
    }
    if (in != nullptr) {
        workingAttributes = *in;
    }
    return true;
}

bool CRS232H::getWorkingAttributes(PortAttributes* out) const {
    if (out == nullptr) {
        return false;
    }
    *out = workingAttributes;
    return true;
}

bool CRS232H::setWorkingAttributes(const PortAttributes* in) {
    if (in == nullptr) {
        return false;
    }
    workingAttributes = *in;
    return true;
}

bool CRS232H::setBaudRate(std::int32_t rate) {
    for (const std::int32_t accepted : acceptedRates) {
        if (rate == accepted) {
            workingAttributes.dcb.BaudRate = static_cast<DWORD>(rate);
            return true;
        }
    }
    logger->error("CRS232H: Could not set the baud rate ", false);
    std::cout << rate << std::endl;
    return false;
}

std::uint32_t CRS232H::write(const void* data, std::uint32_t count) {
    std::uint32_t written = 0;
    lastTransferFailed = !sys::writeFile(portHandle, data, count, &written);
    if (lastTransferFailed) {
        reportSystemError("CRS232H: Writing to ");
    }
    return written;
}

std::uint32_t CRS232H::read(void* buffer, std::uint32_t count) {
    std::uint32_t received = 0;
    lastTransferFailed = !sys::readFile(portHandle, buffer, count, &received);
    if (lastTransferFailed) {
        reportSystemError("CRS232H: Reading from ");
    }
    return received;
}

void CRS232H::dropHandle() {
    if (portHandle != nullptr && portHandle != sys::invalidHandle()) {
        sys::closeHandle(portHandle);
    }
    portHandle = nullptr;
}

void CRS232H::reportSystemError(const char* message) const {
    const std::string systemText = sys::lastErrorText();
    logger->error(message, false);
    std::cout << portName << ": " << systemText << std::endl;
}
