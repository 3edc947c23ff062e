#pragma once
// Holds one dynamic library, loaded by name and released again, saying what happens in the log.

#include "platform/logger.h"
#include "platform/sys/sys.h"

class CDynamicLibH {
public:
    // With a name, the library is loaded at once.
    CDynamicLibH(const char* name, const CLogH* creatorLogger);
    virtual ~CDynamicLibH();
    CDynamicLibH(const CDynamicLibH&) = delete;
    CDynamicLibH& operator=(const CDynamicLibH&) = delete;

    // False, with nothing loaded, for an empty name or a library that cannot be loaded; false,
    // silently, while a library is already loaded.
    bool load(const char* name);
    bool unload();

protected:
    sys::Handle libraryHandle;
    bool ownsLogger;
    CLogH* logger;
};
