list(APPEND KNITCFG_SOURCES
  common/ModelObject.cpp
  common/Platform.cpp
  common/RetError.cpp
  common/Text.cpp)
if(WIN32)
  list(APPEND KNITCFG_SOURCES common/PlatformWin32.cpp)
else()
  list(APPEND KNITCFG_SOURCES common/PlatformPosix.cpp)
endif()
list(APPEND KNITCFG_PUBLIC_HEADERS
  common/Export.h
  common/ModelObject.h
  common/RetError.h
  common/SaveMode.h
  common/Text.h
  common/Types.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  common/detail/FirstCode.h
  common/NumberScan.h
  common/Platform.h)
list(APPEND KNITCFG_TEST_SOURCES
  common/ModelObject_test.cpp
  common/RetError_test.cpp
  common/Text_test.cpp
  common/Platform_test.cpp)
