#pragma once
// Programs of the build that a test starts run under the same emulator as the test itself
// (qemu-i386 where the kernel does not run the 32-bit build directly).

#include <string>
#include <vector>

inline std::vector<std::string> underTestEmulator(const std::string& program,
                                                  const std::vector<std::string>& arguments) {
    std::vector<std::string> command;
    if (!std::string(PENDAX_TEST_EMULATOR).empty()) {
        command.emplace_back(PENDAX_TEST_EMULATOR);
    }
    command.push_back(program);
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}
