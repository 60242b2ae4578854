# tarvel_add_panel_tests(DLL SOURCES files... LIBS libs... EXPORTS names...): the panel's test
# program and the check of its export table. The panel's code is linked into the tests, exports
# included, so that a scripted session reaches the forms' own modal hook; the boundary tests load
# the built DLL as a host does. The export table holds exactly the names given, at ordinals 1 and
# on, nothing else.
function(tarvel_add_panel_tests dll)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;EXPORTS" ${ARGN})
  korbalt_add_test(${dll}_tests SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
  add_dependencies(${dll}_tests ${dll})
  target_compile_definitions(${dll}_tests PRIVATE TARVEL_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  add_test(NAME ${dll}.ExportTable
           COMMAND sh ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check-exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:${dll}>
                   ${ARG_EXPORTS})
endfunction()
