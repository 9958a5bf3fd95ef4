# One warning set for every target of ours.
add_library(tovrel_warnings INTERFACE)
target_compile_options(tovrel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Wcast-align)
if(TOVREL_WERROR)
  target_compile_options(tovrel_warnings INTERFACE -Werror)
endif()
