# Compiler warnings and sanitizers shared by every target of the project.
add_library(tollwatch_warnings INTERFACE)
target_compile_options(tollwatch_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough)
if(TOLLWATCH_WERROR)
  target_compile_options(tollwatch_warnings INTERFACE -Werror)
endif()
if(TOLLWATCH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
