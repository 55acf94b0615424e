# The manual page.

# lqa.1 is written from the help tables by a program built from the same
# sources as lqa, so the page cannot drift from the screens.
add_executable(lqa-manpage src/driver/manpage_main.cpp)
target_link_libraries(lqa-manpage PRIVATE lqacore)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/lqa.1
                   COMMAND lqa-manpage ${CMAKE_BINARY_DIR}/lqa.1
                   DEPENDS lqa-manpage
                   COMMENT "Writing the manual page lqa.1")
add_custom_target(manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/lqa.1)

# The page must read without warnings from groff, when groff is there.
find_program(LQA_GROFF groff)
if(BUILD_TESTING AND LQA_GROFF)
  add_test(NAME manpage_groff
           COMMAND sh -c "out=$(\"$0\" -ww -man -z \"$1\" 2>&1) && test -z \"$out\" || { echo \"$out\"; exit 1; }"
                   ${LQA_GROFF} ${CMAKE_BINARY_DIR}/lqa.1)
endif()
