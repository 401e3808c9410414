# Provides the target kvb_libdeflate. The host build uses the system's libdeflate; the
# Windows build uses a static library built once from Debian's libdeflate source by
# scripts/fetch-libdeflate.sh and kept under build/deps, so wiping a build tree does
# not fetch it again.
if(TARGET kvb_libdeflate)
  return()
endif()

if(KVB_WINDOWS)
  set(KVB_LIBDEFLATE_DIR ${PROJECT_SOURCE_DIR}/build/deps/libdeflate-i686
      CACHE PATH "Static libdeflate for the i686 mingw build")
  if(NOT EXISTS ${KVB_LIBDEFLATE_DIR}/lib/libdeflate.a)
    message(STATUS "Building libdeflate for mingw into ${KVB_LIBDEFLATE_DIR}")
    execute_process(
      COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/fetch-libdeflate.sh ${KVB_LIBDEFLATE_DIR}
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "libdeflate for mingw could not be built (scripts/fetch-libdeflate.sh)")
    endif()
  endif()
  add_library(kvb_libdeflate STATIC IMPORTED GLOBAL)
  set_target_properties(kvb_libdeflate PROPERTIES
    IMPORTED_LOCATION ${KVB_LIBDEFLATE_DIR}/lib/libdeflate.a
    INTERFACE_INCLUDE_DIRECTORIES ${KVB_LIBDEFLATE_DIR}/include)
else()
  find_library(KVB_LIBDEFLATE_LIBRARY deflate REQUIRED)
  find_path(KVB_LIBDEFLATE_INCLUDE libdeflate.h REQUIRED)
  add_library(kvb_libdeflate UNKNOWN IMPORTED GLOBAL)
  set_target_properties(kvb_libdeflate PROPERTIES
    IMPORTED_LOCATION ${KVB_LIBDEFLATE_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${KVB_LIBDEFLATE_INCLUDE})
endif()
