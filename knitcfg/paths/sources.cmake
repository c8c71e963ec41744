list(APPEND KNITCFG_SOURCES
  paths/DriveLetter.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  paths/DriveLetter.h)
list(APPEND KNITCFG_TEST_SOURCES
  paths/DriveLetter_test.cpp)
