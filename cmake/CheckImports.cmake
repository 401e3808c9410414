# Fails when PROGRAM imports at load time a DLL outside ALLOWED (names without ".dll",
# separated by commas). Run after linking by kvb_check_imports (KvbCommon.cmake):
#   cmake -DOBJDUMP=... -DPROGRAM=... -DALLOWED=kernel32,user32 -P CheckImports.cmake
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read the imports of ${PROGRAM}")
endif()
string(REPLACE "," ";" allowed "${ALLOWED}")
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
set(refused "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(TOLOWER "${name}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST allowed)
    list(APPEND refused ${name})
  endif()
endforeach()
if(refused)
  string(REPLACE ";" ", " refused "${refused}")
  message(FATAL_ERROR "${PROGRAM} imports ${refused} at load time. Windows may take such a "
    "DLL from the program's own folder (a download folder); load it at run time with "
    "kvb::SystemLibrary (src/base/system_library_win.h) instead.")
endif()
