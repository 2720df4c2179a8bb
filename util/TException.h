#ifndef VEILGRID_UTIL_TEXCEPTION_H
#define VEILGRID_UTIL_TEXCEPTION_H

#include <stdexcept>
#include <string>

/// The one failure type of the library and the command: its whole payload is the message text,
/// "<what went wrong> in <Class>::<Operation>" for the library's own failures.
class TException : public std::runtime_error {
  public:
    explicit TException(const std::string& StrMessage);
    explicit TException(const char* PtrMessage);
};

#endif
