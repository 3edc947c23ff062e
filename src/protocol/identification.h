#pragma once
// The box's identification: one request byte, a fixed-length reply that starts with the maker's
// banner and carries the board's type and revision at fixed places.

#include <cstdint>

#include "protocol/box_state.h"

namespace protocol {

constexpr char identificationRequest = 'T';
constexpr std::uint32_t identificationLength = 44;
constexpr char banner[] = "Copyright (c), Morvantech";
constexpr std::uint32_t bannerLength = sizeof banner - 1;

constexpr std::uint32_t boardTypeAt = 38;
constexpr std::uint32_t boardSubTypeAt = 40;
constexpr std::uint32_t epromRevisionAt = 41;
constexpr std::uint32_t boardRevisionAt = 42;

// The reply holds identificationLength bytes.
bool bannerMatches(const char* reply);
void readBoardFields(const char* reply, BoxState& state);

}  // namespace protocol
