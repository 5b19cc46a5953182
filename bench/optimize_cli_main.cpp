// The optimize verb of lumatrim-cli without the rest of the program (and so
// without Qt), for benchmark builds of the core alone.
#include "cli/Commands.h"

int main(int argc, char** argv) { return cli::RunOptimize(argc - 1, argv + 1); }
