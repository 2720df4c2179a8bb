// veilgrid: cuts a mask grid to the cells it shares with a source grid and recodes one value.

#include "app/TMaskCommand.h"
#include "app/TProjectionFile.h"
#include "util/TException.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {
const char* const StrUsage =
    "usage: veilgrid mask_file flag_value exclude_value input_map_file output_map_file";

const char* const StrHelp =
    "usage: veilgrid [options] mask_file flag_value exclude_value input_map_file "
    "output_map_file\n"
    "\n"
    "Cuts the mask grid to the cells it shares with the source grid (input_map_file), replaces\n"
    "every mask value equal to flag_value by exclude_value and writes the result over the common\n"
    "cells to output_map_file. Both grids are ArcGIS ASCII grids with the same cell size. A .prj\n"
    "file beside the mask grid, or else beside the source grid, is copied beside the output.\n"
    "\n"
    "Options (only before the operands):\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n"
    "  --tolerant   also read the header forms other tools write: tags in any letter case,\n"
    "               the lines in any order, xllcenter/yllcenter, equal dx/dy, and no\n"
    "               NODATA_value line (no-data -9999)\n"
    "  --           end of the options (for a mask file whose name starts with '-')\n"
    "\n"
    "Exit status: 0 on success (nothing is printed), 1 on failure (one line on standard output).\n";

// An operand is a number only when strtod reads all of it.
double ParseOperand(const char* PtrText, const char* PtrMessage) {
    char* PtrEnd = nullptr;
    const double DblValue = std::strtod(PtrText, &PtrEnd);
    if (PtrEnd == PtrText || *PtrEnd != '\0')
        throw TException(std::string(PtrMessage) + PtrText);
    return DblValue;
}

int Print(const char* PtrText) {
    std::fputs(PtrText, stdout);
    std::fflush(stdout);
    return 0;
}

// Options come before the operands: the first argument that is not an option, "-" included, is
// the first operand, and everything after it is an operand too (flag and exclude values such as
// -9999 among them). "--" ends the options. Returns the exit status.
int Run(int IntArgc, char** PtrArgv) {
    TMaskCommand::TArguments Arguments;
    int IntFirst = 1;
    for (; IntFirst < IntArgc; ++IntFirst) {
        const char* PtrArg = PtrArgv[IntFirst];
        if (PtrArg[0] != '-' || PtrArg[1] == '\0')
            break;
        if (std::strcmp(PtrArg, "--") == 0) {
            ++IntFirst;
            break;
        }
        if (std::strcmp(PtrArg, "-h") == 0 || std::strcmp(PtrArg, "--help") == 0)
            return Print(StrHelp);
        if (std::strcmp(PtrArg, "--version") == 0)
            return Print("veilgrid " VEILGRID_VERSION "\n");
        if (std::strcmp(PtrArg, "--tolerant") == 0)
            Arguments.MbrBlnTolerant = true;
        else
            throw TException(std::string("Unknown option: ") + PtrArg);
    }
    // Operands after the fifth are ignored.
    if (IntArgc - IntFirst < 5)
        throw TException(StrUsage);
    char** PtrOperands = PtrArgv + IntFirst;
    Arguments.MbrStrMaskFile = PtrOperands[0];
    Arguments.MbrDblFlag = ParseOperand(PtrOperands[1], "Flag value is not a number: ");
    Arguments.MbrDblExclude = ParseOperand(PtrOperands[2], "Exclude value is not a number: ");
    Arguments.MbrStrSourceFile = PtrOperands[3];
    Arguments.MbrStrOutputFile = PtrOperands[4];
    TMaskCommand::Run(Arguments);
    // The grid is written; a .prj that cannot be copied is reported as a failure, the grid stays.
    TProjectionFile::CopyBeside(Arguments.MbrStrMaskFile, Arguments.MbrStrSourceFile,
                                Arguments.MbrStrOutputFile);
    return 0;
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
        return Run(IntArgc, PtrArgv);
    } catch (const TException& E) {
        return Report(E.what());
    } catch (const std::bad_alloc&) {
        return Report("Out of memory");
    } catch (const std::exception& E) {
        return Report(E.what());
    }
}
