# libFuzzer targets: one executable per fuzz/*_fuzzer.cpp, built only with -DLUMIVANE_FUZZ=ON and clang
# (scripts/fuzz.sh configures such a build). The library gets coverage instrumentation and both sanitizers so
# that findings inside our code are reported where they happen.
option(LUMIVANE_FUZZ "Build the libFuzzer targets under fuzz/ (needs clang)" OFF)
if(NOT LUMIVANE_FUZZ)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LUMIVANE_FUZZ needs clang: configure with CXX=clang++ CC=clang")
endif()

set(LUMIVANE_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
foreach(layer platform settings formats pipeline batch cli)
  target_compile_options(lumivane_${layer} PRIVATE -fsanitize=fuzzer-no-link ${LUMIVANE_FUZZ_SANITIZERS})
  target_link_options(lumivane_${layer} INTERFACE -fsanitize=address,undefined)
endforeach()

file(GLOB LUMIVANE_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzzer.cpp)
add_custom_target(fuzzers)
foreach(fuzzer_source ${LUMIVANE_FUZZERS})
  get_filename_component(fuzzer_name ${fuzzer_source} NAME_WE)
  add_executable(${fuzzer_name} ${fuzzer_source})
  set_target_properties(${fuzzer_name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  target_include_directories(${fuzzer_name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
  target_compile_options(${fuzzer_name} PRIVATE -Wall -Wextra -fsanitize=fuzzer ${LUMIVANE_FUZZ_SANITIZERS})
  target_link_options(${fuzzer_name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${fuzzer_name} PRIVATE lumivane_cli)
  add_dependencies(fuzzers ${fuzzer_name})
endforeach()
