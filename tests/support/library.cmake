# The support libraries themselves, without their tests: included from here and from
# bench/, which uses them in the release build too, where there are no tests.
include_guard(GLOBAL)

add_library(nestora_test_support_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/core/folder_series.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/round_counts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/shell_server_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/windows_path.cpp)
target_include_directories(nestora_test_support_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(nestora_test_support_core PUBLIC nestora_gui_core)

if(WIN32)
  add_library(nestora_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/win/child_process.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/keyboard_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/menu_probe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/process_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/registry_values.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/scratch_key.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/shell_server_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/stand_in_shell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/test_tray.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/waiting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/window_picture.cpp)
  target_link_libraries(nestora_test_support PUBLIC nestora_test_support_core nestora_gui shell32
                        oleaut32 ole32 uuid)
endif()
