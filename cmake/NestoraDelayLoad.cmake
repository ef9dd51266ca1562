# nestora_delay_import(<target> <dll>): an imported library <target> through which the
# system DLL <dll> is loaded on the first call of one of its functions instead of at the
# program's start. Made at configure time from MinGW's own import library of that DLL
# (its function names, with their stdcall decorations on x86) by dlltool; the loading is
# done by MinGW's __delayLoadHelper2.
function(nestora_delay_import target dll)
  get_filename_component(base ${dll} NAME_WE)
  find_library(_import_lib_${base} NAMES lib${base}.a ${base} REQUIRED)
  set(import_lib ${_import_lib_${base}})
  find_program(_nm NAMES ${NESTORA_MINGW_TRIPLE}-nm REQUIRED)
  find_program(_dlltool NAMES ${NESTORA_MINGW_TRIPLE}-dlltool REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  set(def ${dir}/${base}.def)
  set(lib ${dir}/lib${base}_delayed.a)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${_nm} ${import_lib} OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  # x86 names carry one more leading underscore (and the @N the DLL itself does not have).
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix "__imp__")
    set(kill_at -k)
  else()
    set(prefix "__imp_")
    set(kill_at)
  endif()
  string(REGEX MATCHALL " I ${prefix}[A-Za-z0-9_@]+" entries "${symbols}")
  set(exports "")
  foreach(entry IN LISTS entries)
    string(REPLACE " I ${prefix}" "" name "${entry}")
    string(APPEND exports "${name}\n")
  endforeach()
  if(exports STREQUAL "")
    message(FATAL_ERROR "no functions found in ${import_lib}")
  endif()
  file(WRITE ${def} "LIBRARY ${dll}\nEXPORTS\n${exports}")
  execute_process(COMMAND ${_dlltool} ${kill_at} -d ${def} -D ${dll} -y ${lib}
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib})
endfunction()
