# 32-bit Windows, the production target: pendax.dll for the host daemon, pendax-host.exe for
# users.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE for floating point, as on 64-bit builds: x87 keeps excess precision across C++ code (GCC
# rounds to float only in C), so an emulated tracker's pose, read back from its record and stored
# again, lost a step.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
