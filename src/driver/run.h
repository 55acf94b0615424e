// The run driver: start-up, the per-file loop and the end-of-run sequence.
#pragma once

// Runs the whole program; the result is the process exit status.
int LqaMain(int argc, char** argv);
