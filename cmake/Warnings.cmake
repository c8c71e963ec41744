# Warnings for our own targets only: an INTERFACE target linked PRIVATE, so
# nothing here reaches the projects that consume the library.
add_library(knitcfg_warnings INTERFACE)
if(MSVC)
  target_compile_options(knitcfg_warnings INTERFACE /W4 $<$<BOOL:${KNITCFG_WERROR}>:/WX>)
else()
  target_compile_options(knitcfg_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations
    $<$<BOOL:${KNITCFG_WERROR}>:-Werror>)
endif()
