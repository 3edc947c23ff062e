# A 32-bit Linux build's programs run directly where the kernel runs i386 programs; where it does
# not, qemu-i386 runs them (test discovery and the tests).
if(DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
set(probe_dir ${CMAKE_BINARY_DIR}/program-runner-probe)
file(WRITE ${probe_dir}/probe.cpp "int main() { return 0; }\n")
try_compile(probe_built ${probe_dir}/build SOURCES ${probe_dir}/probe.cpp
            COPY_FILE ${probe_dir}/probe)
if(NOT probe_built)
  message(FATAL_ERROR "cannot build a program for ${CMAKE_SYSTEM_PROCESSOR}")
endif()
execute_process(COMMAND ${probe_dir}/probe RESULT_VARIABLE probe_ran OUTPUT_QUIET ERROR_QUIET)
if(probe_ran EQUAL 0)
  message(STATUS "The kernel runs ${CMAKE_SYSTEM_PROCESSOR} programs directly")
else()
  find_program(PENDAX_QEMU_I386 qemu-i386 REQUIRED)
  message(STATUS "The kernel does not run ${CMAKE_SYSTEM_PROCESSOR} programs: "
                 "they run under ${PENDAX_QEMU_I386}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PENDAX_QEMU_I386} CACHE FILEPATH
      "Runs the build's programs on this machine" FORCE)
endif()
