# The units (folder/Name, no extension) of velbrin_core besides every file of platform/:
# the rules that take plain values, the configuration keys and the marker protocol.
# They build and test without Qt; the folder libraries leave them out.
set(VELBRIN_CORE_UNITS
  common/ConfigKeys common/ConfigLocation common/ConfigStore
  engine/CommandLine engine/ConversionSettings engine/EncoderProgress engine/MarkerProtocol
  engine/OutputPaths engine/OverwritePolicy engine/RunReport
  queue/FolderScan queue/QueueRules)

# velbrin_library(NAME [UNITS names...] [EXCLUDE_UNITS names...] LIBS...): a static library
# of the current folder's sources (or only of the named units), less velbrin_core's units.
function(velbrin_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;UNITS;EXCLUDE_UNITS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
    "${CMAKE_CURRENT_SOURCE_DIR}/*.ui")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  set(kept)
  foreach(source ${sources})
    get_filename_component(unit "${source}" NAME_WLE)
    if("${folder}/${unit}" IN_LIST VELBRIN_CORE_UNITS OR unit IN_LIST ARG_EXCLUDE_UNITS
       OR (ARG_UNITS AND NOT unit IN_LIST ARG_UNITS))
      continue()
    endif()
    list(APPEND kept "${source}")
  endforeach()
  set(cpp ${kept})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${kept})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    # A folder whose sources are still to come.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# velbrin_core(): the library with no Qt at all, built in every configuration.
function(velbrin_core)
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/platform/*.cpp"
       "${PROJECT_SOURCE_DIR}/platform/*.h")
  foreach(unit ${VELBRIN_CORE_UNITS})
    foreach(ext cpp h)
      if(EXISTS "${PROJECT_SOURCE_DIR}/${unit}.${ext}")
        list(APPEND sources "${PROJECT_SOURCE_DIR}/${unit}.${ext}")
      endif()
    endforeach()
  endforeach()
  add_library(velbrin_core STATIC ${sources})
  target_include_directories(velbrin_core PUBLIC "${PROJECT_SOURCE_DIR}")
  # Its code includes no Qt header; without moc it needs no Qt at build time either.
  set_target_properties(velbrin_core PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()

# velbrin_links_of(TARGET OUT): every library TARGET links, directly or through others.
function(velbrin_links_of target out)
  set(seen)
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(type ${current} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(iface ${current} INTERFACE_LINK_LIBRARIES)
    if(iface)
      list(APPEND links ${iface})
    endif()
    foreach(link ${links})
      # A static library's private links show as $<LINK_ONLY:name>; follow the name.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(NOT link IN_LIST seen)
        list(APPEND seen "${link}")
        list(APPEND pending "${link}")
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# velbrin_forbid_links(FORBIDDEN_REGEX TARGETS...): stops the configuration when one of the
# targets links a library whose name matches, so a layer cannot quietly take on Qt.
function(velbrin_forbid_links pattern)
  foreach(target ${ARGN})
    if(NOT TARGET ${target})
      continue()
    endif()
    velbrin_links_of(${target} links)
    foreach(link ${links})
      if(link MATCHES "${pattern}")
        message(FATAL_ERROR "${target} links ${link}; its layer must not link ${pattern}")
      endif()
    endforeach()
  endforeach()
endfunction()

# velbrin_test(NAME [QT|CORE] SOURCES... LIBS... [TIMEOUT s]): one GoogleTest executable
# registered with CTest. QT tests run with a QApplication on the offscreen platform; CORE
# tests link velbrin_core and nothing of Qt, which the top level checks.
function(velbrin_test name)
  cmake_parse_arguments(ARG "QT;CORE" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE velbrin_testsupport_qt ${ARG_LIBS})
  elseif(ARG_CORE)
    target_link_libraries(${name} PRIVATE velbrin_testsupport GTest::gtest_main velbrin_core
                                          ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    set_property(GLOBAL APPEND PROPERTY VELBRIN_CORE_TESTS ${name})
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
