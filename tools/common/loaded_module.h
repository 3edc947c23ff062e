#pragma once
// The module, loaded as the daemon loads it (LoadLibraryA on Windows, dlopen elsewhere) and reached
// through its two exported entry points: the reference host's way in, and the integration tests'.

#include <stdexcept>
#include <string>

#include "config/device_config.h"
#include "device/base.h"
#include "host_os.h"

class LoadedModule {
public:
    using CreateDev = CBase* (*)(DeviceConfig*, const CLogH*);
    using DeleteDev = bool (*)(CBase*);

    explicit LoadedModule(const char* path = PENDAX_MODULE_PATH) {
        std::string error;
        handle = hostos::loadLibrary(path, error);
        if (handle == nullptr) {
            throw std::runtime_error(error);
        }
        createDev = reinterpret_cast<CreateDev>(symbol("createDev"));
        deleteDev = reinterpret_cast<DeleteDev>(symbol("deleteDev"));
        if (createDev == nullptr || deleteDev == nullptr) {
            throw std::runtime_error("entry points not exported");
        }
    }
    ~LoadedModule() { hostos::freeLibrary(handle); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* symbol(const char* name) const { return hostos::librarySymbol(handle, name); }

    CreateDev createDev = nullptr;
    DeleteDev deleteDev = nullptr;

private:
    void* handle = nullptr;
};
