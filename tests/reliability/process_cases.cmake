# The real nestora.exe started, pressed, raced and killed, driven from outside under Wine:
# presses as fast as SendInput delivers them (alone and racing another program for the
# same names), two to eight copies started at the same moment, the shell restarting under
# it, and kills at random moments (start-up, the first write of the settings, the write at
# exit). Modest counts in scripts/test, the full counts with NESTORA_SOAK=1 (scripts/soak).
#
# SERIAL: global hotkeys, synthesised input, the tray, the desktop and the program's own
# settings key, which every one of them uses.
if(NOT WIN32)
  return()
endif()

# Starting the program and waiting until it is up, its settings, its boxes, the desktop.
add_library(nestora_reliability_process STATIC nestora_process.cpp step_watchdog.cpp)
target_link_libraries(nestora_reliability_process PUBLIC nestora_test_support nestora_app_win
  nestora::gtest)
target_compile_definitions(nestora_reliability_process PRIVATE
  NESTORA_EXE="$<TARGET_FILE:nestora>")

# The watchdog itself, against the support library's stand-in program.
nestora_add_test(reliability_process_watchdog
  SOURCES step_watchdog_test.cpp
  LIBS nestora_reliability_process
  SERIAL TIMEOUT 300)
add_dependencies(reliability_process_watchdog support_probe)
target_compile_definitions(reliability_process_watchdog PRIVATE
  NESTORA_SUPPORT_PROBE_EXE="$<TARGET_FILE:support_probe>")

foreach(case presses copies shell_restart kills)
  nestora_add_test(reliability_process_${case}
    SOURCES process_${case}_test.cpp
    LIBS nestora_reliability_process
    SERIAL TIMEOUT 1200)
  add_dependencies(reliability_process_${case} nestora)
endforeach()
