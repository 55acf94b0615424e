// Copying a file's bytes to another path.
#pragma once

// Copies source to destination (created when missing, truncated, mode 0660)
// in blocks of 4096 bytes. Returns the number of bytes copied, or -1 after
// printing why the copy failed. A destination that is the source itself is
// left as it is.
long FileCopy(const char* destination, const char* source);
