list(APPEND KNITCFG_SOURCES
  config/Configuration.cpp
  config/ConfigurationColors.cpp
  config/ConfigurationDesigns.cpp
  config/ConfigurationLines.cpp
  config/ConfigurationPaths.cpp
  config/ConfigurationPlanes.cpp
  config/ConfigurationQueries.cpp
  config/HeaderPrg.cpp
  config/Protection.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  config/Configuration.h
  config/HeaderPrg.h
  config/Protection.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  config/detail/ProgramSections.h)
list(APPEND KNITCFG_TEST_SOURCES
  config/Configuration_test.cpp
  config/ConfigurationDesigns_test.cpp
  config/ConfigurationPaths_test.cpp
  config/ConfigurationPrograms_test.cpp
  config/ConfigurationQueries_test.cpp
  config/HeaderPrg_test.cpp
  config/Protection_test.cpp
  config/RuntimeClasses_test.cpp
  config/BadFiles_test.cpp
  config/FileSafety_test.cpp
  config/PreservingSave_test.cpp
  config/SaveCrash_test.cpp
  config/Threads_test.cpp)
