# ortelia_module(name [SOURCES ...] DEPS ...): one library per folder, its sources being the folder's
# .cpp files unless listed. The source tree is the include root ("engine/Archivo.h").
function(ortelia_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(NOT M_SOURCES)
    file(GLOB M_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ortelia_options ${M_DEPS} PRIVATE ${M_PRIVATE_DEPS})
endfunction()
