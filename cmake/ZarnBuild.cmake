# Common compiler settings and the helper that turns a folder into a library.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Wformat=2 -Wimplicit-fallthrough)
# GCC 12 reports false overlaps and overflows inside libstdc++'s std::string and std::vector when
# optimising (GCC bugs 105329 and 107852); they would fail optimised builds with warnings as errors.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-restrict -Wno-stringop-overflow)
endif()
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

# zarn_test_folder(<name> <folder> LINK libs... [LABELS labels...] [THREADED regex])
# One GoogleTest executable from every .cpp file in <folder>; each test becomes a ctest entry.
# Files whose names match THREADED start threads of their own: they go into <name>_threads, labelled
# "threads", which the ThreadSanitizer build runs.
function(zarn_test_folder name folder)
  cmake_parse_arguments(ARG "" "THREADED" "LINK;LABELS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  set(_threaded)
  if(ARG_THREADED)
    foreach(_src IN LISTS _sources)
      get_filename_component(_file ${_src} NAME)
      if(_file MATCHES "${ARG_THREADED}")
        list(APPEND _threaded ${_src})
      endif()
    endforeach()
    if(_threaded)
      list(REMOVE_ITEM _sources ${_threaded})
    endif()
  endif()
  if(_sources)
    _zarn_test_executable(${name} "${_sources}" "${ARG_LINK}" "${ARG_LABELS}")
  endif()
  if(_threaded)
    # One label only: gtest_discover_tests cannot carry a list of labels.
    _zarn_test_executable(${name}_threads "${_threaded}" "${ARG_LINK}" threads)
  endif()
endfunction()

function(_zarn_test_executable name sources links labels)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${links} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZARN_TEST_DATA_DIR="${ZARN_SOURCE_ROOT}/tests/data"
    ZARN_SOURCE_DIR="${ZARN_SOURCE_ROOT}"
    ZARN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Plain parameter indices keep test names short and the same from run to run.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${labels}")
endfunction()
