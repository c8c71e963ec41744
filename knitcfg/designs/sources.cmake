list(APPEND KNITCFG_SOURCES
  designs/CGenDis.cpp
  designs/CPatObj.cpp
  designs/CShavedDis.cpp
  designs/DesignLines.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  designs/CGenDis.h
  designs/CPatObj.h
  designs/CShavedDis.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  designs/detail/DesignLines.h)
list(APPEND KNITCFG_TEST_SOURCES
  designs/CGenDis_test.cpp
  designs/CShavedDis_test.cpp)
