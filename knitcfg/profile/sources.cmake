list(APPEND KNITCFG_SOURCES
  profile/FileCache.cpp
  profile/IniDocument.cpp
  profile/NameTable.cpp
  profile/Profile.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  profile/Profile.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  profile/detail/FileCache.h
  profile/detail/IniDocument.h
  profile/detail/NameTable.h
  profile/detail/SectionEntries.h)
list(APPEND KNITCFG_TEST_SOURCES
  profile/IniDocument_test.cpp
  profile/Profile_test.cpp
  profile/ProfileVectors_test.cpp
  profile/SectionEntries_test.cpp)
