list(APPEND KNITCFG_SOURCES
  program/ActuatorList.cpp
  program/BlockPlane.cpp
  program/ColorPrg.cpp
  program/LinePrg.cpp
  program/PlanePrg.cpp
  program/ProgramSection.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  program/BlockPlane.h
  program/ColorPrg.h
  program/LinePrg.h
  program/PlanePrg.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  program/detail/ActuatorList.h
  program/detail/ProgramSection.h)
list(APPEND KNITCFG_TEST_SOURCES
  program/ActuatorList_test.cpp
  program/BlockPlane_test.cpp
  program/ColorAndLine_test.cpp
  program/ColorPrg_test.cpp
  program/LinePrg_test.cpp
  program/PlanePrg_test.cpp)
