#pragma once
// A file in the system's temporary folder that lives as long as the object.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempFile {
public:
    explicit TempFile(const std::string& text = "") : path(uniquePath()) {
        std::ofstream(path) << text;
    }
    ~TempFile() { std::remove(path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string path;

private:
    static std::string uniquePath() {
        std::random_device random;
        const std::string name =
            "pendax-test-" + std::to_string(random()) + "-" + std::to_string(random());
        return (std::filesystem::temp_directory_path() / name).string();
    }
};
