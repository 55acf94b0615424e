#include "driver/run.h"

int main(int argc, char** argv) { return LqaMain(argc, argv); }
