# cmake -DNM=<nm> -DIMPLIB=<import library> -DDLL=<dll name> -DOUT=<def file> -P delay-import-def.cmake
#
# Writes the module definition of a DLL's functions from its GNU import
# library, for dlltool to make a delay-load library of. Each function has a
# jump thunk there (a text symbol); data (a class's static meta-object) has
# none and cannot be delay-loaded, so it is left out: code that uses such
# data then fails to link instead of failing at run time.
execute_process(COMMAND "${NM}" --defined-only --extern-only "${IMPLIB}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} cannot read ${IMPLIB}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(def "LIBRARY ${DLL}\nEXPORTS\n")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]+ T ([^ ]+)$")
    string(APPEND def "  ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE "${OUT}" "${def}")
