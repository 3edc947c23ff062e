#include "module_path.h"

#include <unistd.h>

#include <climits>

std::string defaultModulePath() {
    if (access(PENDAX_MODULE_PATH, F_OK) == 0) {
        return PENDAX_MODULE_PATH;
    }
    char executable[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    const std::string path(executable, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + "libpendax.so";
}
