# Helpers for the plug-in modules.
#
# A module's code is built twice over: once as a static library `<name>_core`
# (position independent, hidden visibility) that the tests link directly, and
# once as the loadable module `<file>.arx` in the install folder, which exports
# only the host entry points (see cmake/module.map).

set(RAIL_MODULE_MAP ${CMAKE_CURRENT_LIST_DIR}/module.map)

# Sources of a folder under shared/ (compiled into each module that uses it).
function(rail_shared_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/shared/${dir}/*.cpp)
    list(APPEND result ${srcs})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# rail_module(<name> FILE <file name without .arx> DEFINE <macro>
#             ENTRY <entry-point source> SHARED <shared folders...>)
# Every .cpp of the module's own folder except the entry-point source goes
# into <name>_core.
function(rail_module name)
  cmake_parse_arguments(M "" "FILE;DEFINE;ENTRY" "SHARED" ${ARGN})
  file(GLOB_RECURSE own CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER own EXCLUDE REGEX "/${M_ENTRY}$")
  rail_shared_sources(shared ${M_SHARED})
  if(NOT own AND NOT shared)
    # A module without code of its own yet still gets its core library.
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${name}_placeholder.cpp)
    file(WRITE ${placeholder} "// ${name} has no code of its own yet.\n")
    set(own ${placeholder})
  endif()
  add_library(${name}_core STATIC ${own} ${shared})
  target_compile_definitions(${name}_core PUBLIC ${M_DEFINE}=1)
  target_include_directories(${name}_core PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/shared ${CMAKE_CURRENT_SOURCE_DIR})
  set_target_properties(${name}_core PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${name}_core PUBLIC platform)

  add_library(${name} MODULE ${M_ENTRY})
  target_link_libraries(${name} PRIVATE ${name}_core)
  target_link_options(${name} PRIVATE -Wl,--version-script=${RAIL_MODULE_MAP})
  # Every symbol a module needs is found when it is linked; in the fuzz build
  # the sanitizers' and the fuzzer's run time come from the program that
  # loads the module, so there they are left to the loader.
  if(NOT RAIL_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  set_target_properties(${name} PROPERTIES
    PREFIX "" SUFFIX ".arx" OUTPUT_NAME ${M_FILE}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${RAIL_MODULE_MAP}
    LIBRARY_OUTPUT_DIRECTORY ${RAIL_INSTALL_DIR})
endfunction()
