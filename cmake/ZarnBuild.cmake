# Common compiler settings and the helper that turns a folder into a library.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Wformat=2 -Wimplicit-fallthrough)
if(ZARN_WERROR)
  add_compile_options(-Werror)
endif()

if(ZARN_SANITIZE)
  string(REPLACE ";" "," _zarn_san "${ZARN_SANITIZE}")
  add_compile_options(-fsanitize=${_zarn_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_zarn_san})
endif()

if(ZARN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZARN_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The whole source tree is the include root: #include "profilelib/ZarnLib_Profile.h".
set(ZARN_SOURCE_ROOT ${CMAKE_SOURCE_DIR})

# zarn_folder_library(<target> <folder> [LINK libs...])
# Builds every .cpp file directly inside <folder> into a static library. A folder that has no
# sources yet gives an interface library, so that later folders can already link to it.
function(zarn_folder_library target folder)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(_sources)
    add_library(${target} STATIC ${_sources})
    target_include_directories(${target} PUBLIC ${ZARN_SOURCE_ROOT} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${target} PUBLIC ${ARG_LINK})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${ZARN_SOURCE_ROOT} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${target} INTERFACE ${ARG_LINK})
  endif()
endfunction()

# zarn_test_folder(<name> <folder> LINK libs...)
# One GoogleTest executable from every .cpp file in <folder>; each test becomes a ctest entry.
function(zarn_test_folder name folder)
  cmake_parse_arguments(ARG "" "" "LINK;LABELS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT _sources)
    return()
  endif()
  add_executable(${name} ${_sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZARN_TEST_DATA_DIR="${ZARN_SOURCE_ROOT}/tests/data"
    ZARN_SOURCE_DIR="${ZARN_SOURCE_ROOT}"
    ZARN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${ARG_LABELS}")
endfunction()
