# Documentation generated from the program's own tables. tools/lumivane_reference (made by the tools loop above)
# gets the model and renderers in tools/reference/; the docs tests check the committed manual page, user guide and
# bash completion against them, render the manual page with groff and drive the completion in bash.
file(GLOB LUMIVANE_REFERENCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/reference/*.cpp)
add_library(lumivane_reference_model STATIC ${LUMIVANE_REFERENCE_SOURCES})
target_include_directories(lumivane_reference_model PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_compile_options(lumivane_reference_model PRIVATE -Wall -Wextra -Wpedantic)
target_link_libraries(lumivane_reference_model PUBLIC lumivane_cli)
target_link_libraries(lumivane_reference PRIVATE lumivane_reference_model)

if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB DOCS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/docs/*.cpp)
  add_executable(docs_tests ${DOCS_TEST_SOURCES})
  target_link_libraries(docs_tests PRIVATE lumivane_reference_model lumivane_test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(docs_tests PRIVATE LUMIVANE_BUILD_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(docs_tests lumivanecmd lumivane_manual_page)
  # The package test runs the packaged program, which shares the single-instance lock with the end-to-end tests.
  gtest_discover_tests(docs_tests DISCOVERY_TIMEOUT 60 PROPERTIES RESOURCE_LOCK lumivanecmd)
endif()
