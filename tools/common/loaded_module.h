#pragma once
// The module, loaded with dlopen and reached through its two exported entry points: the reference
// host's way in, and the integration tests'.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "config/device_config.h"
#include "device/base.h"

class LoadedModule {
public:
    using CreateDev = CBase* (*)(DeviceConfig*, const CLogH*);
    using DeleteDev = bool (*)(CBase*);

    explicit LoadedModule(const char* path = PENDAX_MODULE_PATH)
        : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (handle == nullptr) {
            throw std::runtime_error(std::string("dlopen: ") + dlerror());
        }
        createDev = reinterpret_cast<CreateDev>(dlsym(handle, "createDev"));
        deleteDev = reinterpret_cast<DeleteDev>(dlsym(handle, "deleteDev"));
        if (createDev == nullptr || deleteDev == nullptr) {
            throw std::runtime_error("entry points not exported");
        }
    }
    ~LoadedModule() { dlclose(handle); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* symbol(const char* name) const { return dlsym(handle, name); }

    CreateDev createDev;
    DeleteDev deleteDev;

private:
    void* handle;
};
