# Build-time tools run on the build host. In a cross build they are built by the host's
# own compiler as a separate project; otherwise they are ordinary targets of this build.
#
# Result: NESTORA_SKINGEN, the path of the artwork generator, and
#         NESTORA_SKINGEN_DEPENDS, what a custom command running it must depend on.

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(NESTORA_SKINGEN ${_host_tools_dir}/skingen/skingen)
  ExternalProject_Add(nestora_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${_host_tools_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -G Ninja
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${NESTORA_SKINGEN})
  set(NESTORA_SKINGEN_DEPENDS nestora_host_tools ${NESTORA_SKINGEN})
else()
  add_subdirectory(tools)
  set(NESTORA_SKINGEN $<TARGET_FILE:skingen>)
  set(NESTORA_SKINGEN_DEPENDS skingen)
endif()
