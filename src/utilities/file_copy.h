// Copying a file's bytes to another path.
#pragma once

struct GlobalData;

// Copies the regular file source to destination, at most as many bytes as
// the source held when it was opened (a file that grows, or a device behind
// a link, cannot make the copy endless). The copy is written under a
// temporary name and replaces the destination only when complete; a
// destination that is not a regular file is refused. Returns the number of
// bytes copied, or -1 after printing why the copy failed (names escaped for
// the report when gcd is given). A destination that is the source itself is
// left as it is.
long FileCopy(const char* destination, const char* source, const GlobalData* gcd = nullptr);
