# ortelia_module(name SOURCES ... DEPS ...): one library per folder. The folder is its include root,
# so code includes "engine/Archivo.h" style paths relative to the source tree.
function(ortelia_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ortelia_options ${M_DEPS} PRIVATE ${M_PRIVATE_DEPS})
endfunction()
