# One INTERFACE target carries the language standard, warnings, sanitizer flags and Qt safety defines.
add_library(ortelia_options INTERFACE)
target_compile_features(ortelia_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(ortelia_options INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor)
if(ORTELIA_WERROR)
  target_compile_options(ortelia_options INTERFACE -Werror)
endif()
target_compile_definitions(ortelia_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)

if(ORTELIA_SANITIZE STREQUAL "address")
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
elseif(ORTELIA_SANITIZE STREQUAL "thread")
  set(_san -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT ORTELIA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ORTELIA_SANITIZE must be empty, 'address' or 'thread'")
endif()
if(ORTELIA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORTELIA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(_san -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
endif()
if(_san)
  target_compile_options(ortelia_options INTERFACE ${_san})
  target_link_options(ortelia_options INTERFACE ${_san})
endif()
