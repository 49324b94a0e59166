// zeko: the PC program of the compensation regulator.
#include "app/Program.h"

int main(int argc, char** argv) { return zeko::RunProgram(argc, argv); }
