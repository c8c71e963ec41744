list(APPEND KNITCFG_SOURCES
  paths/ConfigurationPaths.cpp
  paths/DriveLetter.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  paths/DriveLetter.h)
list(APPEND KNITCFG_TEST_SOURCES
  paths/DriveLetter_test.cpp
  paths/ConfigurationPaths_test.cpp)
