#pragma once
// The emulator the tests run under, if any (qemu-i386 where the kernel does not run the 32-bit
// build directly): programs of the build that a test starts run under it too, and what it cannot
// do is skipped.

#include <string>
#include <vector>

// qemu-user does not implement set_robust_list, so there a robust mutex whose owner died is never
// marked and the next lock waits for good.
inline bool deadOwnersAreMarked() {
    return std::string(PENDAX_TEST_EMULATOR).find("qemu") == std::string::npos;
}
constexpr const char* unmarkedDeadOwners =
    "qemu-user does not implement set_robust_list, so a robust mutex whose owner died is never "
    "marked and the next lock would wait for good";

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
