# Starts (ACTION=start) or stops (ACTION=stop) the Wine server of the prefix PREFIX. Its output goes
# to a file beside the prefix, never to the caller's pipes.
set(log ${PREFIX}.log)
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
if(ACTION STREQUAL "start")
  file(MAKE_DIRECTORY ${PREFIX})
  # A server left from an earlier run may be one that holds some pipe open: ours replaces it.
  execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${WINESERVER} --wait OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${WINESERVER} --persistent OUTPUT_FILE ${log} ERROR_FILE ${log}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "wineserver did not start (${log})")
  endif()
  # A new prefix is made here, once, rather than in the first test.
  execute_process(COMMAND ${WINE} wineboot --init OUTPUT_FILE ${log}.boot ERROR_FILE ${log}.boot
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "wineboot failed (${log}.boot)")
  endif()
else()
  execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
endif()
