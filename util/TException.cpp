#include "util/TException.h"

TException::TException(const std::string& StrMessage) : std::runtime_error(StrMessage) {}

TException::TException(const char* PtrMessage) : std::runtime_error(PtrMessage) {}
