# Fails the build unless the conduit library exports exactly the host's entry
# points, by their plain names. Run after linking:
#   cmake -DLIBRARY=<file> -DWINDOWS=ON|OFF -DOBJDUMP=<tool> -DNM=<tool> -P check_exports.cmake
set(expected CfgConduit ConfigureConduit DllCanUnloadNow DllGetClassObject DllRegisterServer
             DllUnregisterServer GetConduitInfo GetConduitName GetConduitVersion OpenConduit)

if(WINDOWS)
  execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  # The name table: "[Ordinal/Name Pointer] Table", then "\t[   0] Name" lines.
  # Brackets mean something to CMake lists, so they go first.
  string(REPLACE "[" "" dump "${dump}")
  string(REPLACE "]" "" dump "${dump}")
  string(REGEX MATCH "Ordinal/Name Pointer Table\n([\t ]+[0-9]+ [^\n]+\n)+" table "${dump}")
  string(REGEX MATCHALL "[\t ]+[0-9]+ [^\n]+" rows "${table}")
  set(found)
  foreach(row ${rows})
    string(REGEX REPLACE "^[\t ]+[0-9]+ " "" name "${row}")
    list(APPEND found ${name})
  endforeach()
else()
  execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" rows "${dump}")
  set(found)
  foreach(row ${rows})
    string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${row}")
    list(APPEND found ${name})
  endforeach()
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read the exports of ${LIBRARY}")
endif()
list(SORT found)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports [${found}], expected exactly [${expected}]")
endif()
