#pragma once
// Builds the host's configuration object from option lines, the way the daemon does after
// splitting its configuration file: {"valuatorscale", "1", "2.5", "all"} is keyword and arguments.

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/device_config.h"

class ConfigBuilder {
public:
    explicit ConfigBuilder(std::string deviceName = "pendax")
        : config(std::make_unique<DeviceConfig>()), name(std::move(deviceName)) {
        config->deviceName = name.c_str();
    }

    ConfigBuilder(const ConfigBuilder&) = delete;
    ConfigBuilder& operator=(const ConfigBuilder&) = delete;

    // Lines given as lists are numbered 1, 2, 3, … in the order they are added.
    ConfigBuilder(std::initializer_list<std::vector<std::string>> lines,
                  std::string deviceName = "pendax")
        : ConfigBuilder(std::move(deviceName)) {
        for (const auto& words : lines) {
            add(words);
        }
    }

    ConfigBuilder& add(const std::vector<std::string>& words) {
        return add(config->numOptions + 1, words);
    }

    // Throws std::length_error past 32 lines or 64 arguments, the object's limits.
    ConfigBuilder& add(std::uint32_t lineNumber, const std::vector<std::string>& words) {
        if (words.empty()) {
            throw std::invalid_argument("an option line needs its keyword");
        }
        if (config->numOptions >= maxOptions) {
            throw std::length_error("more than 32 option lines");
        }
        if (words.size() - 1 > maxOptionArgs) {
            throw std::length_error("more than 64 arguments");
        }
        ConfigOption& option = config->options[config->numOptions];
        option.lineNumber = lineNumber;
        option.keyword = keep(words[0]);
        for (std::size_t i = 1; i < words.size(); ++i) {
            option.args[i - 1] = keep(words[i]);
        }
        option.numArgs = static_cast<std::uint32_t>(words.size() - 1);
        ++config->numOptions;
        return *this;
    }

    DeviceConfig* get() { return config.get(); }
    const ConfigOption& option(std::uint32_t index) const { return config->options[index]; }

private:
    const char* keep(const std::string& text) { return texts.emplace_back(text).c_str(); }

    std::unique_ptr<DeviceConfig> config;
    std::string name;
    std::deque<std::string> texts;  // stable addresses for the entries' pointers
};
