// Placeholder until the grid reader and writer land.
#include "grid/TARCGISFileTools.h"
#include "util/TException.h"
TMap* TARCGISFileTools::LoadARCGISFile(std::istream&) { throw TException("stub"); }
TMap* TARCGISFileTools::LoadARCGISFile(const std::string&) { throw TException("stub"); }
void TARCGISFileTools::WriteARCGISFile(TMap*, std::ostream&) {}
void TARCGISFileTools::WriteARCGISFile(TMap*, const std::string&) {}
