// veilgrid: cuts a mask grid to the cells it shares with a source grid and recodes one value.

#include "app/TMaskCommand.h"
#include "util/TException.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {
const char* const StrUsage =
    "usage: veilgrid mask_file flag_value exclude_value input_map_file output_map_file";

// An operand is a number only when strtod reads all of it.
double ParseOperand(const char* PtrText, const char* PtrMessage) {
    char* PtrEnd = nullptr;
    const double DblValue = std::strtod(PtrText, &PtrEnd);
    if (PtrEnd == PtrText || *PtrEnd != '\0')
        throw TException(std::string(PtrMessage) + PtrText);
    return DblValue;
}

void Run(int IntArgc, char** PtrArgv) {
    if (IntArgc < 6)
        throw TException(StrUsage);
    TMaskCommand::TArguments Arguments;
    Arguments.MbrStrMaskFile = PtrArgv[1];
    Arguments.MbrDblFlag = ParseOperand(PtrArgv[2], "Flag value is not a number: ");
    Arguments.MbrDblExclude = ParseOperand(PtrArgv[3], "Exclude value is not a number: ");
    Arguments.MbrStrSourceFile = PtrArgv[4];
    Arguments.MbrStrOutputFile = PtrArgv[5];
    TMaskCommand::Run(Arguments);
}

int Report(const char* PtrMessage) {
    std::fputs(PtrMessage, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return 1;
}
} // namespace

int main(int IntArgc, char** PtrArgv) {
    try {
        Run(IntArgc, PtrArgv);
        return 0;
    } catch (const TException& E) {
        return Report(E.what());
    } catch (const std::bad_alloc&) {
        return Report("Out of memory");
    } catch (const std::exception& E) {
        return Report(E.what());
    }
}
