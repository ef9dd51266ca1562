# Bad input and resources: hostile settings, bad target folders, handles over many rounds,
# damaged theme files. Modest counts in scripts/test, full counts with NESTORA_SOAK=1.

set(_reliability_sample_theme "${PROJECT_SOURCE_DIR}/resources/themes/sample.theme")

# The pure cases: natively under the sanitizers, and under Wine in the Windows build.
nestora_add_test(reliability_input_pure
  SOURCES input_pure_test.cpp hostile_names.cpp damaged_themes.cpp
  LIBS nestora_app_core nestora_theme_core nestora_test_support_core
  TIMEOUT 900)
target_include_directories(reliability_input_pure PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(reliability_input_pure PRIVATE
  NESTORA_SAMPLE_THEME="${_reliability_sample_theme}")

if(NOT WIN32)
  return()
endif()

# Bad settings met by the real main window in this process (scratch keys, scratch desktop).
# SERIAL: it makes and shows real windows with the tray icon's hooks on the application.
nestora_add_test(reliability_input_settings
  SOURCES settings_in_process_test.cpp hostile_names.cpp
  LIBS nestora_app_window nestora_test_support $<TARGET_OBJECTS:nestora_resources>
  SERIAL TIMEOUT 600)
target_include_directories(reliability_input_settings PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Bad target folders against the file system: read-only, deleted, missing drive, long paths.
nestora_add_test(reliability_input_targets
  SOURCES targets_test.cpp
  LIBS nestora_app_win
  TIMEOUT 300)
target_include_directories(reliability_input_targets PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Handles and private bytes over thousands of show/hide cycles and tray-menu openings.
# SERIAL: windows shown and menus tracked on the shared desktop.
nestora_add_test(reliability_input_resources
  SOURCES resources_test.cpp
  LIBS nestora_app_window nestora_bench_watch nestora_test_support $<TARGET_OBJECTS:nestora_resources>
  SERIAL TIMEOUT 1800)
target_include_directories(reliability_input_resources PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Damaged copies of the sample theme through TsuiFileTheme, with a skinned frame and menu
# drawing from each one that loads.
nestora_add_test(reliability_input_themes
  SOURCES themes_win_test.cpp damaged_themes.cpp
  LIBS nestora_skin nestora_theme_core nestora_test_support_core $<TARGET_OBJECTS:nestora_resources>
  SERIAL TIMEOUT 1800)
target_include_directories(reliability_input_themes PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(reliability_input_themes PRIVATE
  NESTORA_SAMPLE_THEME="${_reliability_sample_theme}")

# Bad settings met by the real nestora.exe, driven from outside. SERIAL: its hotkey,
# synthesised input, the tray, the desktop and the program's own settings key.
nestora_add_test(reliability_input_settings_process
  SOURCES settings_process_test.cpp hostile_names.cpp
  LIBS nestora_test_support nestora_app_win
  SERIAL TIMEOUT 600)
add_dependencies(reliability_input_settings_process nestora)
target_include_directories(reliability_input_settings_process PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(reliability_input_settings_process PRIVATE
  NESTORA_EXE="$<TARGET_FILE:nestora>")
