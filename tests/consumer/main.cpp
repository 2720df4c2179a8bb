// Reads a grid of another tool's form from standard input and writes it in the strict form.
#include "grid/TARCGISFileTools.h"
#include "model/TMap.h"

#include <iostream>
#include <memory>

int main() {
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFileTolerant(std::cin));
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), std::cout);
    return 0;
}
