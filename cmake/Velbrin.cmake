# velbrin_library(NAME LIBS...): a static library of every source in the current folder.
function(velbrin_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
    "${CMAKE_CURRENT_SOURCE_DIR}/*.ui")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  list(FILTER sources INCLUDE REGEX ".")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    # A folder whose sources are still to come.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# velbrin_test(NAME [QT] SOURCES... LIBS... [TIMEOUT s]): one GoogleTest executable
# registered with CTest. QT tests run with a QApplication on the offscreen platform.
function(velbrin_test name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE velbrin_testsupport_qt ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE velbrin_testsupport GTest::gtest_main ${ARG_LIBS})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 900)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()

# velbrin_data(TARGET SUBFOLDER PATTERN): copies the current folder's files that
# match PATTERN byte for byte into SUBFOLDER of the program folder, built and installed.
function(velbrin_data target subfolder pattern)
  file(GLOB files CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${pattern}")
  set(outputs)
  foreach(f ${files})
    get_filename_component(n "${f}" NAME)
    set(out "${VELBRIN_PROGRAM_DIR}/${subfolder}/${n}")
    add_custom_command(OUTPUT "${out}" COMMAND ${CMAKE_COMMAND} -E copy "${f}" "${out}" DEPENDS "${f}")
    list(APPEND outputs "${out}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  install(FILES ${outputs} DESTINATION "${VELBRIN_INSTALL_PROGRAMDIR}/${subfolder}")
endfunction()
