#include "tracker/dynamic_lib.h"

#include <iostream>

CDynamicLibH::CDynamicLibH(const char* name, const CLogH* creatorLogger)
    : libraryHandle(nullptr),
      ownsLogger(true),
      logger(makeOwnedLogger(creatorLogger, "CDynamicLibH", 3)) {
    logger->debug("CDynamicLibH: \"constructor\" called.", true);
    logger->debug("CDynamicLibH: \"init\" called.", true);
    if (name != nullptr) {
        load(name);
    }
}

CDynamicLibH::~CDynamicLibH() {
    logger->debug("CDynamicLibH: \"destructor\" called.", true);
    unload();
    if (ownsLogger) {
        delete logger;
    }
}

bool CDynamicLibH::load(const char* name) {
    logger->debug("CDynamicLibH: \"load\" called.", true);
    if (name == nullptr || name[0] == '\0') {
        logger->error("CDynamicLibH: Library name is empty.", true);
        return false;
    }
    if (libraryHandle != nullptr) {
        return false;
    }
    libraryHandle = sys::loadLibrary(name);
    if (libraryHandle == nullptr) {
        logger->error("CDynamicLibH: Can not load the library ", false);
        std::cout << name << std::endl;
        return false;
    }
    if (logger->isDebugOn()) {
        logger->debug("CDynamicLibH: ", false);
        std::cout << name << " library loaded." << std::endl;
    }
    return true;
}

bool CDynamicLibH::unload() {
    logger->debug("CDynamicLibH: \"unload\" called.", true);
    if (libraryHandle != nullptr) {
        sys::freeLibrary(libraryHandle);
    }
    libraryHandle = nullptr;
    return true;
}
