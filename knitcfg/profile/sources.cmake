list(APPEND KNITCFG_SOURCES
  profile/IniDocument.cpp
  profile/Profile.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  profile/Profile.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  profile/IniDocument.h)
list(APPEND KNITCFG_TEST_SOURCES
  profile/IniDocument_test.cpp
  profile/Profile_test.cpp
  profile/ProfileVectors_test.cpp)
