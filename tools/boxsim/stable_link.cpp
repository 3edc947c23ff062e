#include "stable_link.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace {
std::string temporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/pendax-box-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    return name.data();
}
}  // namespace

CStableLink::CStableLink(const std::string& target)
    : folder(temporaryFolder()), linkPath(folder + "/line") {
    pointAt(target);
}

CStableLink::~CStableLink() {
    remove();
    ::rmdir(folder.c_str());
}

void CStableLink::remove() {
    ::unlink(linkPath.c_str());
}

void CStableLink::pointAt(const std::string& target) {
    const std::string next = folder + "/next";
    ::unlink(next.c_str());
    if (::symlink(target.c_str(), next.c_str()) != 0 ||
        std::rename(next.c_str(), linkPath.c_str()) != 0) {
        throw std::system_error(errno, std::generic_category(), "link " + linkPath);
    }
}
