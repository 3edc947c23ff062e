#include "module_path.h"

#include <filesystem>
#include <system_error>

#include "host_os.h"

std::string defaultModulePath() {
    std::error_code error;
    if (std::filesystem::exists(PENDAX_MODULE_PATH, error)) {
        return PENDAX_MODULE_PATH;
    }
    return hostos::programFolder() + PENDAX_MODULE_FILE_NAME;
}
