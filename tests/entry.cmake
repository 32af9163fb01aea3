# The setup's own entry point (app/program_start.cpp) runs what the C runtime's start-up ran, in
# its order: static constructors first to last, WinMain with the text after the program name,
# then the atexit handlers and the static destructors, last registered first.
if(WIN32)
  add_executable(start_order ${CMAKE_CURRENT_SOURCE_DIR}/programs/entry/start_order.cpp)
  target_link_libraries(start_order PRIVATE tessara_core)
  target_compile_options(start_order PRIVATE -fno-exceptions)
  tessara_warnings(start_order)
  tessara_windows_program(start_order)
  tessara_own_entry(start_order)
  add_test(NAME entry.start_order COMMAND start_order "two  words" last)
  set_tests_properties(entry.start_order PROPERTIES PASS_REGULAR_EXPRESSION
    "^construct first\r?\nconstruct second\r?\nWinMain \\[\"two  words\" last\\]\r?\natexit handler\r?\ndestroy second\r?\ndestroy first\r?\n$")
endif()
