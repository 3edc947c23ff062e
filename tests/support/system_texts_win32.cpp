#include "system_texts.h"

namespace systemTexts {
const char* const fileNotFound = "File not found.";
// Wine has no text for ERROR_ABANDONED_WAIT_0, so the module names the code.
const char* const mutexAbandoned = "Unknown error 735";
const char* const mutexNotOwned = "Mutex not owned by caller.";
const char* const noMutexHandle = "Invalid handle.";
}  // namespace systemTexts
