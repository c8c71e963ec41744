list(APPEND KNITCFG_SOURCES
  program/ActuatorList.cpp
  program/ColorPrg.cpp
  program/LinePrg.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  program/ColorPrg.h
  program/LinePrg.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  program/ActuatorList.h)
list(APPEND KNITCFG_TEST_SOURCES
  program/ActuatorList_test.cpp
  program/ColorPrg_test.cpp
  program/LinePrg_test.cpp
  program/ProgramDocument_test.cpp
  program/ProgramTestUtil.h)
