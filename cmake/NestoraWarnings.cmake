# Warnings are errors for the project's own code (added after GoogleTest on purpose).
add_compile_options(
  -Wall -Wextra -Wpedantic -Werror
  -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough
  -Wmissing-declarations -Wundef)
