# Archive reader, writer and format tests.
kvb_test(archive_tests
  SOURCES archive_reader_test.cpp archive_volume_test.cpp archive_writer_test.cpp
  DEPS kvb_archive)
kvb_test(archive_win_tests
  SOURCES archive_win_test.cpp
  DEPS kvb_archive
  WINDOWS_ONLY)
