list(APPEND KNITCFG_SOURCES
  diagnostics/Diagnose.cpp
  diagnostics/DiagnoseEntries.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  diagnostics/Diagnostic.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  diagnostics/detail/Examiner.h)
list(APPEND KNITCFG_TEST_SOURCES
  diagnostics/Diagnose_test.cpp)
