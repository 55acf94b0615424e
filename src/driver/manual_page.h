// The manual page lqa.1, written from the program's own help tables: the
// chapters of the full help text, the lines of the syntax screen, the -xHELP
// entries, the configuration look-up, the environment variables and the exit
// statuses. The build runs lqa-manpage to write it, so the page always says
// what the program's screens say.
#pragma once

#include <string>
#include <string_view>

// The whole page in man(7) markup.
std::string ManualPage();

// One line of running text in roff: backslashes escaped, the dashes that
// start a word (switches, minus signs) written as minus signs, and a leading
// '.' or '\'' kept from being read as a request. Lines of the text are
// joined by single blanks, their leading and trailing blanks dropped.
std::string RoffText(std::string_view text);
