# The host finds the entry points by their plain names; nothing else of the module is exported.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE table RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([\t ]+\\[ *[0-9]+\\] [^\n]+\n)*" exports
       "${table}")
string(REGEX MATCHALL "[\t ]+\\[ *[0-9]+\\] [^\n]+" names "${exports}")
list(TRANSFORM names REPLACE "^[\t ]+\\[ *[0-9]+\\] " "")
list(SORT names)
if(NOT names STREQUAL "createDev;deleteDev")
  message(FATAL_ERROR "expected exports createDev and deleteDev, found: ${names}")
endif()
message(STATUS "exports: ${names}")
