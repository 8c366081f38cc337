# The --help texts, manual pages and bash completion, generated from docs/usage.txt when
# CMake configures (and again whenever that file or its generator changes), so the programs
# compile the same text the manual pages show.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The software version shown by the window and checked by the updates is config.xml's; the
# manual pages and the package carry the same one.
file(READ ${CORVANE_DATA_DIR}/config.xml corvane_config_text)
if(NOT corvane_config_text MATCHES "<software[^>]* version=\"([^\"]+)\"")
  message(FATAL_ERROR "config.xml names no software version")
endif()
set(CORVANE_SOFTWARE_VERSION ${CMAKE_MATCH_1})

set(CORVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-manual
          --source ${CMAKE_SOURCE_DIR}/docs/usage.txt --out ${CORVANE_GENERATED_DIR}
          --version ${CORVANE_SOFTWARE_VERSION}
  RESULT_VARIABLE corvane_manual_result)
if(NOT corvane_manual_result EQUAL 0)
  message(FATAL_ERROR "scripts/make-manual failed on docs/usage.txt")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/docs/usage.txt ${CMAKE_SOURCE_DIR}/scripts/make-manual
  ${CORVANE_DATA_DIR}/config.xml)
