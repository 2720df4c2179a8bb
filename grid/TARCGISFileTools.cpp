#include "grid/TARCGISFileTools.h"

#include "grid/TGridHeader.h"
#include "grid/TGridTokenizer.h"
#include "grid/TOutputFile.h"
#include "model/TAxis.h"
#include "model/TPoint.h"
#include "ops/TMapTools.h"
#include "util/TException.h"
#include "util/TNumberTools.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

#include <unistd.h>

namespace {

const char* const StrEndOfFile = "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
const char* const StrTooLarge =
    "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile";

// Cells reserved up front when the input cannot tell how much it still holds.
constexpr unsigned long long InitialCells = 1ULL << 16;
// Memory an axis point costs the loaded map at its peak: the owning pointer and the point itself
// in the reader's axis, the map's copy and the derived centre axis, with allocator overhead.
constexpr unsigned long long BytesPerAxisPoint = 4 * (sizeof(void*) + 32);

// The machine's memory in bytes; no request beyond it can be met without paging the system to
// death, and many small ones beyond it would not fail cleanly but end the process.
unsigned long long PhysicalMemory() {
    const long LngPages = sysconf(_SC_PHYS_PAGES);
    const long LngPageSize = sysconf(_SC_PAGE_SIZE);
    if (LngPages <= 0 || LngPageSize <= 0)
        return ULLONG_MAX;
    return static_cast<unsigned long long>(LngPages) * static_cast<unsigned long long>(LngPageSize);
}

// Makes room for more cells, doubling the capacity up to the cell count of the header but never
// beyond the machine's memory: cells are only held for values actually read.
void GrowCells(std::vector<double>& VecCells, unsigned long long LngCells,
               unsigned long long LngLimit) {
    const unsigned long long LngCapacity = VecCells.capacity();
    unsigned long long LngWanted = std::min(std::max(2 * LngCapacity, InitialCells), LngCells);
    if (LngWanted > LngLimit) {
        if (LngCapacity >= LngLimit)
            throw TException(StrTooLarge);
        LngWanted = LngLimit;
    }
    VecCells.reserve(static_cast<std::size_t>(LngWanted));
}

// The reader proper: the header (strict or tolerant), the body and the axes, from the tokens of
// one grid.
TMap* LoadGrid(TGridTokenizer& Tokenizer, bool BlnTolerant) {
    const TGridHeader Header =
        BlnTolerant ? TGridHeader::ReadTolerant(Tokenizer) : TGridHeader::Read(Tokenizer);
    const long LngXDim = Header.MbrLngXDim;
    const long LngYDim = Header.MbrLngYDim;
    const double DblXll = Header.MbrDblXll;
    const double DblCellSize = Header.MbrDblCellSize;

    const unsigned long long LngCells =
        static_cast<unsigned long long>(LngXDim) * static_cast<unsigned long long>(LngYDim);
    const unsigned long long LngMemory = PhysicalMemory();
    const unsigned long long LngCellLimit =
        std::min<unsigned long long>(LngMemory / sizeof(double), std::vector<double>().max_size());
    std::vector<double> VecCells;
    try {
        // Reserve no more than the rest of the input can hold: every value but the last takes
        // a character and a separator. A header may claim far more cells than follow.
        unsigned long long LngReserve = (Tokenizer.GetRemainingHint() + 1) / 2;
        if (!Tokenizer.IsRemainingBounded())
            LngReserve = std::max(LngReserve, InitialCells);
        LngReserve = std::min({LngReserve, LngCells, LngCellLimit});
        VecCells.reserve(static_cast<std::size_t>(LngReserve));

        for (unsigned long long LngI = 0; LngI < LngCells; ++LngI) {
            const char* PtrBegin = nullptr;
            const char* PtrEnd = nullptr;
            const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
            if (Kind == TGridTokenizer::EToken::End)
                throw TException(StrEndOfFile);
            double DblValue = 0;
            if (Kind == TGridTokenizer::EToken::TooLong ||
                !TNumberTools::ParseDouble(PtrBegin, PtrEnd, DblValue))
                throw TException(
                    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile");
            if (VecCells.size() == VecCells.capacity())
                GrowCells(VecCells, LngCells, LngCellLimit);
            VecCells.push_back(DblValue);
        }

        // Axes are real memory too: a header of 0 columns and two billion rows needs no body
        // but an axis of two billion points, which no machine holds.
        // A grid with cells holds at least as many values as its axes hold points; one without
        // cells holds none, so its axes are bounded here, not by what its header claims.
        const unsigned long long LngAxisPoints =
            static_cast<unsigned long long>(LngXDim) + static_cast<unsigned long long>(LngYDim) + 2;
        if (LngAxisPoints > LngMemory / BytesPerAxisPoint || Header.ClaimsAxesWithoutCells())
            throw TException(StrTooLarge);

        auto PtrMap = std::make_unique<TMap>(DblCellSize);
        PtrMap->SetNoData(Header.MbrDblNoData);
        PtrMap->SetCells(LngXDim, LngYDim, std::move(VecCells));

        // Edges by successive addition, from the south edge northward and from the west edge
        // eastward; index 0 of the Y interval axis is the north edge.
        TGridEdges EdgesY = Header.YEdges();
        auto PtrYEdges = std::make_unique<TAxis>(DblCellSize, LngYDim + 1);
        for (long LngJ = LngYDim; LngJ >= 0; --LngJ)
            PtrYEdges->SetPoint(LngJ, new TPoint(DblXll, EdgesY.At(LngJ)));
        const double DblNorth = EdgesY.At(0);
        TGridEdges EdgesX = Header.XEdges();
        auto PtrXEdges = std::make_unique<TAxis>(DblCellSize, LngXDim + 1);
        for (long LngI = 0; LngI <= LngXDim; ++LngI)
            PtrXEdges->SetPoint(LngI, new TPoint(EdgesX.At(LngI), DblNorth));
        PtrMap->SetXAxisInterval(PtrXEdges.get());
        PtrMap->SetYAxisInterval(PtrYEdges.get());
        return PtrMap.release();
    } catch (const std::bad_alloc&) {
        throw TException(StrTooLarge);
    }
}

TMap* LoadStream(std::istream& In, bool BlnTolerant) {
    const std::istream::sentry Sentry(In, true);
    TGridTokenizer Tokenizer(Sentry ? In.rdbuf() : nullptr);
    std::unique_ptr<TMap> PtrMap(LoadGrid(Tokenizer, BlnTolerant));
    // The tokenizer reads ahead in blocks; put the stream back directly after the last value.
    // A stream that cannot seek (a pipe) keeps what was read ahead consumed.
    Tokenizer.GiveBackUnread();
    if (Tokenizer.IsAtEnd() && (In.exceptions() & std::ios_base::eofbit) == 0)
        In.setstate(std::ios_base::eofbit);
    return PtrMap.release();
}

TMap* LoadNamedFile(const std::string& StrFileName, bool BlnTolerant) {
    TGridTokenizer Tokenizer(StrFileName);
    return LoadGrid(Tokenizer, BlnTolerant);
}

} // namespace

TMap* TARCGISFileTools::LoadARCGISFile(std::istream& In) { return LoadStream(In, false); }

TMap* TARCGISFileTools::LoadARCGISFile(const std::string& StrFileName) {
    return LoadNamedFile(StrFileName, false);
}

TMap* TARCGISFileTools::LoadARCGISFileTolerant(std::istream& In) { return LoadStream(In, true); }

TMap* TARCGISFileTools::LoadARCGISFileTolerant(const std::string& StrFileName) {
    return LoadNamedFile(StrFileName, true);
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, std::ostream& Out) {
    const TAxis* PtrXEdges = PtrMap->GetXAxisInterval();
    const TAxis* PtrYEdges = PtrMap->GetYAxisInterval();
    if (PtrXEdges == nullptr || PtrYEdges == nullptr)
        throw TException("Map has no axes in TARCGISFileTools::WriteARCGISFile");
    const TPoint* PtrWest = PtrXEdges->GetPoint(0);
    const TPoint* PtrFirst = PtrYEdges->GetPoint(0);
    const TPoint* PtrLast = PtrYEdges->GetPoint(PtrMap->GetYDim());
    if (PtrWest == nullptr || PtrFirst == nullptr || PtrLast == nullptr)
        throw TException("Map has no axes in TARCGISFileTools::WriteARCGISFile");
    // The south edge is the last point for maps read from grids, the first for a one-row map
    // built from a centre axis.
    const double DblSouth = PtrFirst->GetY() < PtrLast->GetY() ? PtrFirst->GetY() : PtrLast->GetY();
    TGridHeader Header;
    Header.MbrLngXDim = PtrMap->GetXDim();
    Header.MbrLngYDim = PtrMap->GetYDim();
    Header.MbrDblXll = PtrWest->GetX();
    Header.MbrDblYll = DblSouth;
    Header.MbrDblCellSize = PtrMap->GetResolution();
    Header.MbrDblNoData = PtrMap->GetNoData();
    // The header goes out in one piece.
    std::string StrHeader;
    Header.AppendTo(StrHeader);
    Out.write(StrHeader.data(), static_cast<std::streamsize>(StrHeader.size()));
    TMapTools::WriteFlatFile(PtrMap, Out, ' ');
    Out.flush();
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, const std::string& StrFileName) {
    TOutputFile Output(StrFileName);
    WriteARCGISFile(PtrMap, Output.GetStream());
    Output.Commit();
}
