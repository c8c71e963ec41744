// The knitcfg command-line tool: see `knitcfg --help`.

#include <iostream>

#include "Commands.h"

int main(int argc, char** argv) {
    return knitcfg::cli::RunTool(argc, argv, std::cout, std::cerr);
}
