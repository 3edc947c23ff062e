# 64-bit Windows, for running the Windows build here under Wine (there is no 32-bit Wine to run the
# production target's i686 programs).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
find_program(PENDAX_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PENDAX_WINE})
