# Compiler settings and helpers shared by every target of the tree.

set(KVB_WARNINGS -Wall -Wextra -Wno-unused-parameter)
# GCC 12 at -O2 reports overlapping copies in every `"text" + std::string` (GCC bug 105329)
# and "may be used uninitialized" for the inline buffer of strings in copied records.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND KVB_WARNINGS -Wno-restrict -Wno-maybe-uninitialized)
endif()

if(KVB_WINDOWS)
  # Static linking: an exe then imports nothing but system DLLs.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(KVB_SANITIZE AND NOT KVB_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The DLLs that Windows always takes from its own folder, whatever lies beside a program
# (its known DLLs, on every version the programs support), and that our programs may
# therefore import at load time. Every other DLL is loaded at run time from the system
# folder (kvb::SystemLibrary) or, when the package names it, by its full path.
set(KVB_KNOWN_DLLS
  kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 msvcrt shlwapi comdlg32 imm32 setupapi
  ws2_32 rpcrt4)

# kvb_check_imports(target): the build of the Windows program fails when it imports any
# other DLL at load time, so that no change can bring DLL planting back.
function(kvb_check_imports target)
  if(NOT KVB_WINDOWS)
    return()
  endif()
  string(REPLACE ";" "," allowed "${KVB_KNOWN_DLLS}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
            -DALLOWED=${allowed} -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake
    VERBATIM)
endfunction()

# kvb_library(name SOURCES ... [WIN_SOURCES ...] [HOST_SOURCES ...] [DEPS ...])
# A static library of the runtime. WIN_SOURCES are the `_win` files built only in the
# cross build; HOST_SOURCES the portable stand-ins built only on the host.
function(kvb_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;WIN_SOURCES;HOST_SOURCES;DEPS;WIN_DEPS" ${ARGN})
  set(srcs ${ARG_SOURCES})
  if(KVB_WINDOWS)
    list(APPEND srcs ${ARG_WIN_SOURCES})
  else()
    list(APPEND srcs ${ARG_HOST_SOURCES})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${KVB_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(KVB_WINDOWS AND ARG_WIN_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_WIN_DEPS})
  endif()
endfunction()

# kvb_test(name SOURCES ... DEPS ... [WINDOWS_ONLY] [HOST_ONLY] [TIMEOUT s])
# A GoogleTest binary. In the cross build ctest runs it through the Wine emulator.
function(kvb_test name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY;HOST_ONLY" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT KVB_WINDOWS)
    return()
  endif()
  if(ARG_HOST_ONLY AND KVB_WINDOWS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${KVB_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
                       PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# Fuzz builds instrument the libraries for coverage too.
if(KVB_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
endif()
