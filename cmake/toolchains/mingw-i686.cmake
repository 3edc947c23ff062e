# 32-bit Windows, the production target: pendax.dll for the host daemon, pendax-host.exe for
# users.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
