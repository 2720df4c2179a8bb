#include "model/TAxisTools.h"

#include "util/TException.h"

#include <cmath>
#include <memory>

namespace {
// The point in slot LngIndex, which must have been filled.
const TPoint* FilledPoint(const TAxis* PtrAxis, long LngIndex, const char* PtrMessage) {
    const TPoint* PtrPoint = PtrAxis->GetPoint(LngIndex);
    if (PtrPoint == nullptr)
        throw TException(PtrMessage);
    return PtrPoint;
}
} // namespace

TAxis* TAxisTools::PointsToIntervals(TAxis* PtrAxis, char ChrLetter) {
    const double DblResolution = PtrAxis->GetResolution();
    const long LngSize = PtrAxis->GetSize();
    const char* PtrEmpty = "Axis has an empty slot in TAxisTools::PointsToIntervals";
    const TPoint* PtrFirst = FilledPoint(PtrAxis, 0, PtrEmpty);
    const TPoint* PtrLast = FilledPoint(PtrAxis, LngSize - 1, PtrEmpty);
    // Only the end points place the edges, but a map keeps this axis as its centres and reads
    // every point of it later on.
    for (long LngI = 1; LngI + 1 < LngSize; ++LngI)
        FilledPoint(PtrAxis, LngI, PtrEmpty);

    double DblX = 0;
    double DblY = 0;
    double DblStep = 0;
    FirstEdge(PtrFirst->GetX(), PtrFirst->GetY(), PtrLast->GetY(), DblResolution, ChrLetter, DblX,
              DblY, DblStep);

    auto PtrEdges = std::make_unique<TAxis>(DblResolution);
    for (long LngI = 0; LngI < LngSize; ++LngI) {
        PtrEdges->AddPoint(new TPoint(DblX, DblY));
        if (ChrLetter == 'X')
            DblX += DblStep;
        else
            DblY += DblStep;
    }
    PtrEdges->AddPoint(new TPoint(DblX, DblY));
    return PtrEdges.release();
}

TAxis* TAxisTools::IntervalsToPoints(TAxis* PtrAxis, char /*ChrLetter*/) {
    auto PtrCentres = std::make_unique<TAxis>(PtrAxis->GetResolution());
    const long LngSize = PtrAxis->GetSize();
    const char* PtrEmpty = "Axis has an empty slot in TAxisTools::IntervalsToPoints";
    FilledPoint(PtrAxis, 0, PtrEmpty);
    FilledPoint(PtrAxis, LngSize - 1, PtrEmpty);
    for (long LngI = 0; LngI + 1 < LngSize; ++LngI) {
        const TPoint* PtrA = FilledPoint(PtrAxis, LngI, PtrEmpty);
        const TPoint* PtrB = FilledPoint(PtrAxis, LngI + 1, PtrEmpty);
        PtrCentres->AddPoint(
            new TPoint(CentreX(PtrA->GetX(), PtrB->GetX()), CentreY(PtrA->GetY(), PtrB->GetY())));
    }
    return PtrCentres.release();
}

void TAxisTools::FirstEdge(double DblFirstX, double DblFirstY, double DblLastY,
                           double DblResolution, char ChrLetter, double& DblX, double& DblY,
                           double& DblStep) {
    const double DblHalf = DblResolution * 0.5;
    DblX = DblFirstX - DblHalf;
    DblStep = DblResolution;
    if (DblFirstY > DblLastY) {
        // A descending Y axis: edges run from half a cell north of the first point southward.
        DblY = DblFirstY + DblHalf;
        if (ChrLetter == 'Y')
            DblStep = -DblResolution;
    } else {
        DblY = DblFirstY - DblHalf;
    }
}
