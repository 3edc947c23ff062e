#include "device/base.h"

CBase::CBase(const CLogH* hostLogger)
    : reserved(0),
      ownsLogger(true),
      logger(makeOwnedLogger(hostLogger, "CBase", 1)),
      inputConnector(true),
      dataType(1) {}

CBase::~CBase() {
    if (ownsLogger && logger != nullptr) {
        delete logger;
    }
}
