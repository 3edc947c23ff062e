#include "system_texts.h"

namespace systemTexts {
const char* const fileNotFound = "No such file or directory";
const char* const mutexAbandoned = "Owner died";
const char* const mutexNotOwned = "Operation not permitted";
const char* const noMutexHandle = "Invalid argument";
}  // namespace systemTexts
