#include "app/TMaskCommand.h"

#include "grid/TARCGISFileTools.h"
#include "grid/TGridEdges.h"
#include "grid/TGridHeader.h"
#include "grid/TGridTokenizer.h"
#include "grid/TOutputFile.h"
#include "model/TAxis.h"
#include "model/TAxisTools.h"
#include "ops/TMapTools.h"
#include "ops/TOverlap.h"
#include "util/TException.h"
#include "util/TNumberTools.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace {

const char* const StrEndOfFile = "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
const char* const StrInvalidCell =
    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile";
const char* const StrResolution =
    "Resolution of the mask does not match resolution of the source map";
const char* const StrLineUp =
    "Cell edges of the mask do not line up with the cells of the source map";

// True when the distance between two edges is a whole number of cells, to a thousandth of a cell.
bool LinesUp(double DblEdgeA, double DblEdgeB, double DblResolution) {
    const double DblCells = (DblEdgeA - DblEdgeB) / DblResolution;
    return std::fabs(DblCells - std::round(DblCells)) <= 0.001;
}

// The part of a grid the result takes, and the result's header.
struct TWindow {
    long LngX0 = 0; // first column of the mask's part
    long LngY0 = 0; // first row of the mask's part
    long LngXDim = 0;
    long LngYDim = 0;
    TGridHeader Header;
};

// The edges of a grid as the reader places them.
struct TEdges {
    explicit TEdges(const TGridHeader& Header) : X(Header.XEdges()), Y(Header.YEdges()) {}
    TOverlap::TGrid Grid(const TGridHeader& Header) {
        return {TOverlap::BoundsOf(X.At(0), X.At(X.GetSize() - 1), Y.At(0), Y.At(Y.GetSize() - 1)),
                Header.MbrDblCellSize, Header.MbrLngXDim, Header.MbrLngYDim};
    }
    TGridEdges X;
    TGridEdges Y;
};

// The block of cells TMapTools::Extract takes between the two corners: first and last column and
// row, found on the edges as the map finds them.
struct TBlock {
    long LngX0;
    long LngX1;
    long LngY0;
    long LngY1;
};

TBlock BlockOf(TEdges& Edges, const TOverlap::TCorners& Corners) {
    const auto AtX = [&Edges](long LngIndex) { return Edges.X.At(LngIndex); };
    const auto AtY = [&Edges](long LngIndex) { return Edges.Y.At(LngIndex); };
    const long LngXA = TAxis::FindIndex(Edges.X.GetSize(), Corners.DblWestX, AtX);
    const long LngYA = TAxis::FindIndex(Edges.Y.GetSize(), Corners.DblNorthY, AtY);
    const long LngXB = TAxis::FindIndex(Edges.X.GetSize(), Corners.DblEastX, AtX);
    const long LngYB = TAxis::FindIndex(Edges.Y.GetSize(), Corners.DblSouthY, AtY);
    return {std::min(LngXA, LngXB), std::max(LngXA, LngXB), std::min(LngYA, LngYB),
            std::max(LngYA, LngYB)};
}

// The checks of the pipeline after loading (resolution, edge line-up, Intersection, Mask) on the
// two headers, and the header the result is written with: Mask lays the result on the clipped
// source's cell centres, from which the writer takes the corners.
TWindow FindWindow(const TGridHeader& HdrMask, const TGridHeader& HdrSource) {
    // Exact equality; a NaN resolution is unequal to everything.
    if (!(HdrMask.MbrDblCellSize == HdrSource.MbrDblCellSize))
        throw TException(StrResolution);
    const double DblResolution = HdrMask.MbrDblCellSize;
    TEdges EdgMask(HdrMask);
    TEdges EdgSource(HdrSource);
    const auto NorthOf = [](TEdges& Edges) {
        return std::max(Edges.Y.At(0), Edges.Y.At(Edges.Y.GetSize() - 1));
    };
    if (!LinesUp(EdgMask.X.At(0), EdgSource.X.At(0), DblResolution) ||
        !LinesUp(NorthOf(EdgMask), NorthOf(EdgSource), DblResolution))
        throw TException(StrLineUp);

    const TOverlap::TCorners Corners =
        TOverlap::Corners(EdgMask.Grid(HdrMask), EdgSource.Grid(HdrSource));
    const TBlock BlkMask = BlockOf(EdgMask, Corners);
    const TBlock BlkSource = BlockOf(EdgSource, Corners);
    if (BlkSource.LngX1 - BlkSource.LngX0 != BlkMask.LngX1 - BlkMask.LngX0)
        throw TException("X dimensions do not match in TMapTools::Mask");
    if (BlkSource.LngY1 - BlkSource.LngY0 != BlkMask.LngY1 - BlkMask.LngY0)
        throw TException("Y dimensions do not match in TMapTools::Mask");

    TWindow Window;
    Window.LngX0 = BlkMask.LngX0;
    Window.LngY0 = BlkMask.LngY0;
    Window.LngXDim = BlkMask.LngX1 - BlkMask.LngX0 + 1;
    Window.LngYDim = BlkMask.LngY1 - BlkMask.LngY0 + 1;
    // The source's cell centres of the block, as the reader's axes give them: the X centres lie
    // on the north edge, the Y centres on the west edge.
    TGridEdges& EdgX = EdgSource.X;
    TGridEdges& EdgY = EdgSource.Y;
    const double DblNorth = EdgY.At(0);
    const double DblWest = EdgX.At(0);
    const double DblCentreX =
        TAxisTools::CentreX(EdgX.At(BlkSource.LngX0), EdgX.At(BlkSource.LngX0 + 1));
    const double DblCentreNorthY = TAxisTools::CentreY(DblNorth, DblNorth);
    const double DblCentreWestX = TAxisTools::CentreX(DblWest, DblWest);
    const double DblFirstY =
        TAxisTools::CentreY(EdgY.At(BlkSource.LngY0), EdgY.At(BlkSource.LngY0 + 1));
    const double DblLastY =
        TAxisTools::CentreY(EdgY.At(BlkSource.LngY1), EdgY.At(BlkSource.LngY1 + 1));
    // The result's edges as the map derives them from those centres.
    double DblX = 0;
    double DblY = 0;
    double DblStep = 0;
    TAxisTools::FirstEdge(DblCentreX, DblCentreNorthY, DblCentreNorthY, DblResolution, 'X', DblX,
                          DblY, DblStep);
    const double DblXll = DblX;
    TAxisTools::FirstEdge(DblCentreWestX, DblFirstY, DblLastY, DblResolution, 'Y', DblX, DblY,
                          DblStep);
    const double DblYFirst = DblY;
    for (long LngJ = 0; LngJ < Window.LngYDim; ++LngJ)
        DblY += DblStep;
    // The writer's south edge: the smaller of the first and the last Y edge.
    Window.Header.MbrLngXDim = Window.LngXDim;
    Window.Header.MbrLngYDim = Window.LngYDim;
    Window.Header.MbrDblXll = DblXll;
    Window.Header.MbrDblYll = DblYFirst < DblY ? DblYFirst : DblY;
    Window.Header.MbrDblCellSize = DblResolution;
    // The cells are the mask's, so their no-data value is the mask's too.
    Window.Header.MbrDblNoData = HdrMask.MbrDblNoData;
    return Window;
}

// Checks the next cell of a body: present and a number.
inline void CheckCell(TGridTokenizer& Tokenizer) {
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
    if (Kind == TGridTokenizer::EToken::End)
        throw TException(StrEndOfFile);
    if (Kind == TGridTokenizer::EToken::TooLong || !TNumberTools::IsNumber(PtrBegin, PtrEnd))
        throw TException(StrInvalidCell);
}

// Checks a whole body of LngCells cells; gives up early once BlnStop is set.
void CheckBody(TGridTokenizer& Tokenizer, unsigned long long LngCells,
               const std::atomic<bool>& BlnStop) {
    for (unsigned long long LngI = 0; LngI < LngCells; ++LngI) {
        if ((LngI & 0xFFFF) == 0 && BlnStop.load(std::memory_order_relaxed))
            return;
        CheckCell(Tokenizer);
    }
}

// Checks the source's body on a thread of its own; its failure, if any, is kept for later. Where
// no thread can be started, the body is checked when joined.
class TBodyCheck {
  public:
    TBodyCheck(TGridTokenizer& Tokenizer, unsigned long long LngCells, std::exception_ptr& ExcOut)
        : MbrTokenizer(Tokenizer), MbrLngCells(LngCells), MbrExcOut(ExcOut), MbrBlnStop(false) {
        try {
            MbrThread = std::thread([this] { Check(); });
            MbrBlnStarted = true;
        } catch (const std::system_error&) {
            // Checked in Join instead.
        }
    }
    ~TBodyCheck() {
        MbrBlnStop.store(true, std::memory_order_relaxed);
        if (MbrThread.joinable())
            MbrThread.join();
    }
    TBodyCheck(const TBodyCheck&) = delete;
    TBodyCheck& operator=(const TBodyCheck&) = delete;
    void Join() {
        if (MbrThread.joinable())
            MbrThread.join();
        else if (!MbrBlnStarted)
            Check();
        MbrBlnStarted = true;
    }

  private:
    void Check() {
        try {
            CheckBody(MbrTokenizer, MbrLngCells, MbrBlnStop);
        } catch (...) {
            MbrExcOut = std::current_exception();
        }
    }

    TGridTokenizer& MbrTokenizer;
    unsigned long long MbrLngCells;
    std::exception_ptr& MbrExcOut;
    std::atomic<bool> MbrBlnStop;
    bool MbrBlnStarted = false;
    std::thread MbrThread;
};

const char* const StrTooLarge =
    "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile";

// Whether the rest of a file is too short for the body its header claims: every value but the
// last takes a character and a separator. Such a body fails, whatever else is found, and the
// edges of a header claiming billions of rows are not worth working out then. Only a regular file
// can tell.
bool CannotHold(const TGridTokenizer& Tokenizer, const TGridHeader& Header) {
    const unsigned long long LngCells = static_cast<unsigned long long>(Header.MbrLngXDim) *
                                        static_cast<unsigned long long>(Header.MbrLngYDim);
    return Tokenizer.IsRemainingBounded() && LngCells > 0 &&
           Tokenizer.GetRemainingHint() < 2 * LngCells - 1;
}

// Copies a few characters; a call of memmove would cost more than the copy.
inline char* CopyShort(const char* PtrBegin, const char* PtrEnd, char* PtrOut) {
    while (PtrBegin != PtrEnd) {
        // Keeps the compiler from making a call of this loop.
        __asm__("" : "+r"(PtrOut));
        *PtrOut++ = *PtrBegin++;
    }
    return PtrOut;
}

// Streams the mask's body: every cell is checked, and the cells of the window are written, the
// flag value replaced, row by row into Out when it is given.
void StreamMask(TGridTokenizer& Tokenizer, const TGridHeader& HdrMask, const TWindow& Window,
                double DblFlag, double DblExclude, std::ostream* PtrOut) {
    char ArrExclude[TNumberTools::MaxFormattedLength];
    const std::size_t LngExclude =
        static_cast<std::size_t>(TNumberTools::FormatDouble(DblExclude, ArrExclude) - ArrExclude);
    const long LngXDim = HdrMask.MbrLngXDim;
    const long LngX0 = Window.LngX0;
    const long LngX1 = Window.LngX0 + Window.LngXDim;
    const long LngY0 = Window.LngY0;
    const long LngY1 = Window.LngY0 + Window.LngYDim;
    std::vector<char> VecRow;
    if (PtrOut != nullptr)
        VecRow.resize(
            static_cast<std::size_t>(Window.LngXDim) * (TNumberTools::MaxFormattedLength + 1) + 1);
    for (long LngY = 0; LngY < HdrMask.MbrLngYDim; ++LngY) {
        if (PtrOut == nullptr || LngY < LngY0 || LngY >= LngY1) {
            for (long LngX = 0; LngX < LngXDim; ++LngX)
                CheckCell(Tokenizer);
            continue;
        }
        for (long LngX = 0; LngX < LngX0; ++LngX)
            CheckCell(Tokenizer);
        char* PtrPos = VecRow.data();
        for (long LngX = LngX0; LngX < LngX1; ++LngX) {
            const char* PtrBegin = nullptr;
            const char* PtrEnd = nullptr;
            const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
            if (Kind == TGridTokenizer::EToken::End)
                throw TException(StrEndOfFile);
            double DblValue = 0;
            if (Kind == TGridTokenizer::EToken::Token &&
                TNumberTools::ParseShortWhole(PtrBegin, PtrEnd, DblValue)) {
                // Written as it stands: the text is the one the value is formatted to.
                if (DblValue == DblFlag) {
                    PtrPos = CopyShort(ArrExclude, ArrExclude + LngExclude, PtrPos);
                } else {
                    PtrPos = CopyShort(PtrBegin, PtrEnd, PtrPos);
                }
            } else {
                if (Kind == TGridTokenizer::EToken::TooLong ||
                    !TNumberTools::ParseDouble(PtrBegin, PtrEnd, DblValue))
                    throw TException(StrInvalidCell);
                // Exact comparison: a NaN flag replaces nothing and a NaN cell is never replaced.
                PtrPos =
                    TNumberTools::FormatDouble(DblValue == DblFlag ? DblExclude : DblValue, PtrPos);
            }
            *PtrPos++ = ' ';
        }
        *PtrPos++ = '\n';
        for (long LngX = LngX1; LngX < LngXDim; ++LngX)
            CheckCell(Tokenizer);
        // A failed write shows in the stream's state, which the output reports on Commit.
        PtrOut->write(VecRow.data(), PtrPos - VecRow.data());
    }
}

} // namespace

void TMaskCommand::Run(const TArguments& Arguments) {
    // Failures are reported in the order the library pipeline meets them: the mask (opening,
    // header, body), the source (the same), the checks, the output. The source's header, the checks
    // and the output are nevertheless taken before the mask's body, so that the result can be
    // written while the mask is read; what fails there is kept and raised once its turn has come.
    const auto ReadHeader = [&Arguments](TGridTokenizer& Tokenizer) {
        return Arguments.MbrBlnTolerant ? TGridHeader::ReadTolerant(Tokenizer)
                                        : TGridHeader::Read(Tokenizer);
    };
    TGridTokenizer MaskTokens(Arguments.MbrStrMaskFile);
    const TGridHeader HdrMask = ReadHeader(MaskTokens);
    // A grid without cells has an empty body: what it claims fails at once, as it would loaded.
    if (HdrMask.ClaimsAxesWithoutCells())
        throw TException(StrTooLarge);

    std::exception_ptr ExcSource;
    std::exception_ptr ExcChecks;
    std::unique_ptr<TGridTokenizer> PtrSourceTokens;
    TGridHeader HdrSource;
    try {
        PtrSourceTokens = std::make_unique<TGridTokenizer>(Arguments.MbrStrSourceFile);
        HdrSource = ReadHeader(*PtrSourceTokens);
        if (HdrSource.ClaimsAxesWithoutCells())
            throw TException(StrTooLarge);
    } catch (...) {
        ExcSource = std::current_exception();
    }

    TWindow Window;
    std::unique_ptr<TOutputFile> PtrOutput;
    std::unique_ptr<TBodyCheck> PtrSourceCheck;
    // A body that its file cannot hold fails before the checks would: they are skipped then.
    const bool BlnMaskShort = CannotHold(MaskTokens, HdrMask);
    const bool BlnSourceShort = !ExcSource && CannotHold(*PtrSourceTokens, HdrSource);
    if (!ExcSource) {
        try {
            if (BlnMaskShort || BlnSourceShort)
                throw TException("Unable to read file " + (BlnMaskShort
                                                               ? Arguments.MbrStrMaskFile
                                                               : Arguments.MbrStrSourceFile));
            Window = FindWindow(HdrMask, HdrSource);
            // A device or pipe is held until everything passed, like the file it would replace.
            PtrOutput = std::make_unique<TOutputFile>(Arguments.MbrStrOutputFile, true);
            std::string StrHeader;
            Window.Header.AppendTo(StrHeader);
            PtrOutput->GetStream().write(StrHeader.data(),
                                         static_cast<std::streamsize>(StrHeader.size()));
        } catch (...) {
            ExcChecks = std::current_exception();
            PtrOutput.reset();
        }
        // The source's values are never needed: its body is only checked, beside the mask.
        const unsigned long long LngCells = static_cast<unsigned long long>(HdrSource.MbrLngXDim) *
                                            static_cast<unsigned long long>(HdrSource.MbrLngYDim);
        PtrSourceCheck = std::make_unique<TBodyCheck>(*PtrSourceTokens, LngCells, ExcSource);
    }

    StreamMask(MaskTokens, HdrMask, Window, Arguments.MbrDblFlag, Arguments.MbrDblExclude,
               PtrOutput ? &PtrOutput->GetStream() : nullptr);

    if (PtrSourceCheck)
        PtrSourceCheck->Join();
    if (ExcSource)
        std::rethrow_exception(ExcSource);
    if (ExcChecks)
        std::rethrow_exception(ExcChecks);
    PtrOutput->Commit();
}

void TMaskCommand::RunPipeline(const TArguments& Arguments) {
    const auto Load = [&Arguments](const std::string& StrFile) {
        return Arguments.MbrBlnTolerant ? TARCGISFileTools::LoadARCGISFileTolerant(StrFile)
                                        : TARCGISFileTools::LoadARCGISFile(StrFile);
    };
    std::unique_ptr<TMap> PtrMask(Load(Arguments.MbrStrMaskFile));
    std::unique_ptr<TMap> PtrSource(Load(Arguments.MbrStrSourceFile));
    // Exact equality; a NaN resolution is unequal to everything.
    if (!(PtrMask->GetResolution() == PtrSource->GetResolution()))
        throw TException(StrResolution);
    const auto NorthOf = [](const TMap* PtrMap) {
        const TAxis* PtrY = PtrMap->GetYAxisInterval();
        return std::max(PtrY->GetPoint(0)->GetY(), PtrY->GetPoint(PtrY->GetSize() - 1)->GetY());
    };
    const auto WestOf = [](const TMap* PtrMap) {
        return PtrMap->GetXAxisInterval()->GetPoint(0)->GetX();
    };
    if (!LinesUp(WestOf(PtrMask.get()), WestOf(PtrSource.get()), PtrMask->GetResolution()) ||
        !LinesUp(NorthOf(PtrMask.get()), NorthOf(PtrSource.get()), PtrMask->GetResolution()))
        throw TException(StrLineUp);

    TMap* PtrRawMask = nullptr;
    TMap* PtrRawSource = nullptr;
    TMapTools::Intersection(PtrMask.get(), PtrSource.get(), PtrRawMask, PtrRawSource);
    std::unique_ptr<TMap> PtrClipMask(PtrRawMask);
    std::unique_ptr<TMap> PtrClipSource(PtrRawSource);

    std::unique_ptr<TMap> PtrResult(TMapTools::Mask(PtrClipSource.get(), PtrClipMask.get(),
                                                    Arguments.MbrDblFlag, Arguments.MbrDblExclude));
    // The cells are the mask's, so their no-data value is the mask's too.
    PtrResult->SetNoData(PtrMask->GetNoData());
    TARCGISFileTools::WriteARCGISFile(PtrResult.get(), Arguments.MbrStrOutputFile);
}
