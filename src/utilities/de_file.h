// Rewriting a source file in place without tabs or with converted line ends
// (-Dt, -Du, -Dd).
#pragma once

#include <cstdio>

struct GlobalData;

// Rewrites the file, already open for reading and writing, through a
// temporary file beside it that replaces the original only once complete and
// on disk. Returns 1 on success, 0 on failure (reported; the original is
// left as it was).
int DeFile(FILE* file, const char* path, GlobalData& gcd);
