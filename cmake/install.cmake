# The manual page, the install rules and the Debian package.
#
#   cmake --install build [--prefix DIR]      (DESTDIR is honoured)
#   cd build && cpack -G DEB                  lqa_<version>_<arch>.deb
include(GNUInstallDirs)

# The version is the one the program prints.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/common/version.h LQA_VERSION_LINE REGEX "kLqaVersion = \"")
string(REGEX REPLACE ".*kLqaVersion = \"([^\"]+)\".*" "\\1" LQA_VERSION "${LQA_VERSION_LINE}")

# lqa.1 is written from the help tables by a program built from the same
# sources as lqa, so the page cannot drift from the screens.
add_executable(lqa-manpage src/driver/manpage_main.cpp)
target_link_libraries(lqa-manpage PRIVATE lqacore)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/lqa.1
                   COMMAND lqa-manpage ${CMAKE_BINARY_DIR}/lqa.1
                   DEPENDS lqa-manpage
                   COMMENT "Writing the manual page lqa.1")
add_custom_target(manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/lqa.1)

install(TARGETS lqa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/lqa.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md ARCHITECTURE.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The detail ARCHITECTURE.md links to, at the same place relative to it.
install(DIRECTORY docs/architecture DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs FILES_MATCHING PATTERN "*.md")
install(FILES examples/lqa_udqn.cfg DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The page must read without warnings from groff, when groff is there.
find_program(LQA_GROFF groff)
if(BUILD_TESTING AND LQA_GROFF)
  add_test(NAME manpage_groff
           COMMAND sh -c "out=$(\"$0\" -ww -man -z \"$1\" 2>&1) && test -z \"$out\" || { echo \"$out\"; exit 1; }"
                   ${LQA_GROFF} ${CMAKE_BINARY_DIR}/lqa.1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lqa)
set(CPACK_PACKAGE_VERSION ${LQA_VERSION})
set(LQA_PACKAGE_MAINTAINER "lqa maintainers <lqa@localhost>" CACHE STRING
    "Maintainer field of the Debian package: the name and address of whoever publishes it")
set(CPACK_PACKAGE_CONTACT "${LQA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "source code metrics and quality notices for C, C++, Java and C#")
# The extended description of the package, lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "\
lqa, the Line Quality Analyzer, reads C, C++, Java and C# sources line by
line and reports LOC, effective and logical lines, comments, functions,
classes and namespaces with their complexity, numbered quality notices and
notices of your own written as regular expressions, inheritance trees, and
baselines with their differentials, as text, HTML, CSV or XML.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian keeps manual pages compressed.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/deb_compress.cmake)
include(CPack)
