# The fuzz build (preset `fuzz`, clang with libFuzzer; scripts/fuzz runs it): the theme file
# parser's library and what it links, built from their own targets with the fuzzer's
# instrumentation, and the fuzz target over them. Nothing else of the tree is built, and
# the source lists are the libraries' own, so the target cannot fall behind them.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "the fuzz build needs clang (libFuzzer); use the fuzz preset")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

add_subdirectory(gui)
add_subdirectory(skin/menus)

add_executable(theme_file_fuzz tests/skin/menus/theme_file_fuzz.cpp)
target_link_libraries(theme_file_fuzz PRIVATE nestora_theme_core)
target_link_options(theme_file_fuzz PRIVATE -fsanitize=fuzzer)
