#pragma once
// The sizes of the records in the host's storages: all the storage view needs to know of them.
// The records' own headers hold them to these sizes.

#include <cstddef>

constexpr std::size_t controllerRecordSize = 184;
constexpr std::size_t trackerRecordSize = 56;
