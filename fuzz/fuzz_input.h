#pragma once
// A fuzz target's input, taken from the front: bytes, and runs of bytes. Past its end it gives
// zeros and empty runs.

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool empty() const { return used == size; }

    std::uint8_t byte() { return empty() ? 0 : data[used++]; }

    std::string take(std::size_t count) {
        const std::size_t taken = count < size - used ? count : size - used;
        std::string run(reinterpret_cast<const char*>(data + used), taken);
        used += taken;
        return run;
    }

    std::string rest() { return take(size - used); }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t used = 0;
};
