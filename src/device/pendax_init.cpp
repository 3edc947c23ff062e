// Device initialisation: options, controller handler, storage slot, settings report, port.

#include <cstring>

#include "config/config_checker.h"
#include "config/config_input.h"
#include "controller/con_common.h"
#include "device/line_timing.h"
#include "device/pendax.h"
#include "platform/byte_order.h"
#include "platform/data_storage.h"

namespace {
constexpr std::uint32_t valuatorCount = 8;
constexpr std::uint32_t buttonCount = 24;
constexpr std::uint32_t firstValuatorOffset = 36;

char* copyText(const char* text) {
    const char* source = text != nullptr ? text : "";
    char* copy = new char[std::strlen(source) + 1];
    std::strcpy(copy, source);
    return copy;
}

void replaceText(char*& owned, const char* text) {
    delete[] owned;
    owned = copyText(text);
}
}  // namespace

std::int32_t CPendax::init(const InitInfo* info) {
    logger->debug("CPendax: \"init\" called.", true);
    if (info == nullptr) {
        logger->error("CPendax: Init info is empty.", true);
        return -1;
    }
    initInfo = *info;
    if (config != nullptr) {
        reportOversizedConfig(*config, *logger);
    }
    replaceText(deviceName, config != nullptr ? config->deviceName : nullptr);

    inputConnector = true;
    dataType = 3;
    numControllers = 1;
    replaceText(serialPortName, "com2");
    baudRate = 19200;
    if (!readDeviceOptions()) {
        return -1;
    }

    conCommon = new CConCommonH(logger);
    conCommon->inputConnector = inputConnector;
    conCommon->numOutputControllers = numControllers;
    conCommon->setControllerCount(numControllers, true);
    conCommon->setController(1, 1, valuatorCount, buttonCount);
    setBoxStateDefaults();
    if (!conCommon->parseOptions(config)) {
        return -1;
    }
    if (!registerEmulatedTracker()) {
        return -1;
    }

    CDataStorage* controllers = initInfo.controllerStorage;
    if (controllers == nullptr) {
        logger->error("CPendax: controller data storage pointer is empty.", true);
        return -1;
    }
    controllers->lock();
    conCommon->idOffset = static_cast<std::uint32_t>(controllers->getNumControllers());
    controllers->setNumControllers(conCommon->numOutputControllers + conCommon->idOffset);
    controllers->unlock();

    if (!CConfigH::reportUnused(config, *logger)) {
        return -1;
    }
    printSettings();

    lastController.setTimeStamp();
    newController.setTimeStamp();
    newController.valuatorOffset = toNetwork(firstValuatorOffset);
    newController.numValuators = toNetwork(valuatorCount);
    newController.buttonOffset = toNetwork(firstValuatorOffset + 4 * valuatorCount);
    newController.numButtons = toNetwork(buttonCount);

    serialPort = new CRS232H(logger);
    return openAndSetUpPort() ? 1 : -1;
}

bool CPendax::openAndSetUpPort() {
    if (!serialPort->openPort(serialPortName)) {
        return false;
    }
    applyLineSettings();
    if (!serialPort->setBaudRate(baudRate)) {
        return false;
    }
    serialPort->setAttributes(nullptr);  // a refusal is logged; the port is used as it is
    return true;
}

// The device's own options: the port and the line speed. Every line is read before giving up.
bool CPendax::readDeviceOptions() {
    if (config == nullptr) {
        return true;
    }
    bool failed = false;
    for (std::uint32_t i = 0; i < optionCount(*config); ++i) {
        ConfigOption& option = config->options[i];
        const bool port = isKeyword(option, "port") || isKeyword(option, "serialport");
        const bool baud = isKeyword(option, "baud") || isKeyword(option, "baudrate");
        if (!port && !baud) {
            continue;
        }
        if (argCount(option) != 1) {
            reportOptionError(*logger, "CPendax: ",
                              argCount(option) == 0 ? "Incomplete option line found for "
                                                    : "Too many args found for ",
                              port ? "SerialPort at line " : "Baud at line ", option.lineNumber);
            failed = true;
            continue;
        }
        if (port) {
            replaceText(serialPortName, argOf(option, 0));
        } else {
            baudRate = parseInt(argOf(option, 0));
        }
        option.used = 1;
    }
    return !failed;
}

// Eight data bits, one stop bit, no parity check, RTS handshaking, and reads that end 100 ms
// after the last byte. Reads are also bounded in total, so that a silent or unplugged box ends a
// read with nothing instead of holding the host forever.
void CPendax::applyLineSettings() {
    PortAttributes attributes{};
    serialPort->getWorkingAttributes(&attributes);
    attributes.dcb.fBinary = 1;
    attributes.dcb.fParity = 0;
    attributes.dcb.fOutxCtsFlow = 0;
    attributes.dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    attributes.dcb.ByteSize = 8;
    attributes.dcb.StopBits = ONESTOPBIT;
    attributes.dcb.BaudRate = static_cast<DWORD>(baudRate);
    attributes.timeouts.ReadIntervalTimeout = lineTiming::readIntervalMs;
    attributes.timeouts.ReadTotalTimeoutConstant = lineTiming::readTotalConstantMs;
    attributes.timeouts.ReadTotalTimeoutMultiplier = lineTiming::charactersMs(2, baudRate);
    attributes.timeouts.WriteTotalTimeoutMultiplier = 0;
    attributes.timeouts.WriteTotalTimeoutConstant = 0;
    serialPort->setWorkingAttributes(&attributes);
}
