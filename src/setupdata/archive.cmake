# Compressed archives: the reader of the runtime, the writer of the builder.
include(${PROJECT_SOURCE_DIR}/cmake/KvbLibdeflate.cmake)
if(KVB_WINDOWS)
  # The static zlib, so that programs import nothing but system DLLs.
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)

kvb_library(kvb_archive
  SOURCES
    archive_format.cpp archive_codec.cpp archive_compressor.cpp archive_writer.cpp
    archive_stream.cpp archive_progress.cpp archive_reader.cpp
  WIN_SOURCES archive_files_win.cpp
  HOST_SOURCES archive_files_posix.cpp
  DEPS kvb_setupdata kvb_base kvb_libdeflate ZLIB::ZLIB Threads::Threads)
