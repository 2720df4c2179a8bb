#include "TestSupport.h"

#include "model/TAxis.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// An axis along X (every point at Y 10) or along Y (every point at X 0) with the given ordinates.
std::unique_ptr<TAxis> MakeAxis(const std::vector<double>& VecOrdinates, char ChrAxis) {
    auto PtrAxis = std::make_unique<TAxis>(1.0);
    for (const double DblOrdinate : VecOrdinates)
        PtrAxis->AddPoint(ChrAxis == 'X' ? new TPoint(DblOrdinate, 10)
                                         : new TPoint(0, DblOrdinate));
    return PtrAxis;
}

std::vector<double> Ordinates(const TAxis& Axis, char ChrAxis) {
    std::vector<double> VecOrdinates;
    for (long LngI = 0; LngI < Axis.GetSize(); ++LngI)
        VecOrdinates.push_back(ChrAxis == 'X' ? Axis.GetPoint(LngI)->GetX()
                                              : Axis.GetPoint(LngI)->GetY());
    return VecOrdinates;
}

struct TIndexCase {
    const char* Name;
    double DblOrdinate;
    long LngExpected; // -1: fails with the range message
};

void ExpectIndices(const TAxis& Axis, char ChrAxis, const std::vector<TIndexCase>& VecCases) {
    for (const auto& Case : VecCases) {
        SCOPED_TRACE(Case.Name);
        if (Case.LngExpected < 0)
            EXPECT_FAILS_WITH(Axis.GetIndex(Case.DblOrdinate, ChrAxis),
                              "Ordinate is out of range in TAxis::GetIndex");
        else
            EXPECT_EQ(Axis.GetIndex(Case.DblOrdinate, ChrAxis), Case.LngExpected);
    }
}

TEST(TAxis, SizedAxisStartsWithEmptySlots) {
    TAxis AxsEmpty(2.5);
    EXPECT_EQ(AxsEmpty.GetSize(), 0);
    EXPECT_EQ(AxsEmpty.GetResolution(), 2.5);
    TAxis AxsSized(2.5, 3);
    EXPECT_EQ(AxsSized.GetSize(), 3);
    EXPECT_EQ(AxsSized.GetPoint(2), nullptr);
    EXPECT_FAILS_WITH(TAxis(1.0, -1), "Size must not be negative in TAxis::TAxis");
}

TEST(TAxis, PointIndicesAreChecked) {
    TAxis Axis(1.0, 2);
    for (const long LngIndex : {-1L, 2L}) {
        SCOPED_TRACE(LngIndex);
        EXPECT_FAILS_WITH(Axis.GetPoint(LngIndex), "Index is out of range in TAxis::GetPoint");
        // On failure the caller keeps the point: the unique_ptr frees it, the axis must not.
        auto PtrPoint = std::make_unique<TPoint>(1, 2);
        EXPECT_FAILS_WITH(Axis.SetPoint(LngIndex, PtrPoint.get()),
                          "Index is out of range in TAxis::SetPoint");
    }
    EXPECT_FAILS_WITH(TAxis(1.0).GetPoint(0), "Index is out of range in TAxis::GetPoint");
}

// Replacing a point destroys the old one (the leak checker sees it otherwise).
TEST(TAxis, SetPointReplacesAndOwns) {
    TAxis Axis(1.0, 2);
    Axis.SetPoint(1, new TPoint(1, 1));
    Axis.SetPoint(1, new TMapPoint(2, 2, 7));
    Axis.SetPoint(0, new TPoint(0, 0));
    EXPECT_EQ(Axis.GetPoint(1)->GetX(), 2.0);
    ASSERT_NE(dynamic_cast<TMapPoint*>(Axis.GetPoint(1)), nullptr);
}

TEST(TAxis, GetIndexOnAscendingAxis) {
    auto PtrAxis = MakeAxis({0, 1, 2, 3}, 'X');
    ExpectIndices(*PtrAxis, 'X',
                  {{"lo", 0.0, 0},
                   {"below lo", std::nextafter(0.0, -INFINITY), -1},
                   {"inside first pair", 0.5, 0},
                   {"inner point starts its pair", 1.0, 1},
                   {"just below an inner point", std::nextafter(1.0, -INFINITY), 0},
                   {"inside last pair", 2.999, 2},
                   {"hi belongs to the last pair", 3.0, 2},
                   {"just above hi", std::nextafter(3.0, INFINITY), -1},
                   {"far below", -0.1, -1},
                   {"far above", 3.1, -1},
                   {"NaN", NAN, -1},
                   {"infinity", INFINITY, -1}});
}

TEST(TAxis, GetIndexOnDescendingAxis) {
    auto PtrAxis = MakeAxis({3, 2, 1, 0}, 'Y');
    ExpectIndices(*PtrAxis, 'Y',
                  {{"hi belongs to the first pair", 3.0, 0},
                   {"just above hi", std::nextafter(3.0, INFINITY), -1},
                   {"inside first pair", 2.5, 0},
                   {"inner point is its lower pair's", 2.0, 0},
                   {"just below an inner point", std::nextafter(2.0, -INFINITY), 1},
                   {"inside last pair", 0.5, 2},
                   {"lo", 0.0, 2},
                   {"just below lo", std::nextafter(0.0, -INFINITY), -1},
                   {"far above", 3.5, -1},
                   {"NaN", NAN, -1}});
}

TEST(TAxis, GetIndexWithoutAPairFails) {
    auto PtrOne = MakeAxis({5}, 'Y');
    ExpectIndices(*PtrOne, 'Y', {{"the one point", 5.0, -1}, {"beside it", 5.2, -1}});
    ExpectIndices(TAxis(1.0), 'Y', {{"no points", 0.0, -1}});
}

TEST(TAxis, GetIndexLetterOtherThanUpperXReadsY) {
    TAxis Axis(1.0);
    for (int IntI = 0; IntI < 4; ++IntI)
        Axis.AddPoint(new TPoint(IntI, 10.0 * IntI));
    EXPECT_EQ(Axis.GetIndex(15, 'x'), 1);
    EXPECT_EQ(Axis.GetIndex(15, 'Y'), 1);
    EXPECT_EQ(Axis.GetIndex(1.5, 'X'), 1);
    EXPECT_FAILS_WITH(Axis.GetIndex(15, 'X'), "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TAxis, GetIndexOnEmptySlotsFails) {
    TAxis Axis(1.0, 3);
    EXPECT_FAILS_WITH(Axis.GetIndex(0, 'X'), "Axis has an empty slot in TAxis::GetIndex");
    Axis.SetPoint(0, new TPoint(0, 0));
    Axis.SetPoint(2, new TPoint(2, 0));
    EXPECT_FAILS_WITH(Axis.GetIndex(1.5, 'X'), "Axis has an empty slot in TAxis::GetIndex");
}

TEST(TAxis, GetSegmentCopiesTheRange) {
    auto PtrAxis = MakeAxis({0, 1, 2, 3}, 'X');
    std::unique_ptr<TAxis> PtrOne(PtrAxis->GetSegment(1, 1));
    EXPECT_EQ(Ordinates(*PtrOne, 'X'), std::vector<double>({1}));
    EXPECT_NE(PtrOne->GetPoint(0), PtrAxis->GetPoint(1));
    std::unique_ptr<TAxis> PtrAll(PtrAxis->GetSegment(0, 3));
    EXPECT_EQ(Ordinates(*PtrAll, 'X'), std::vector<double>({0, 1, 2, 3}));
    EXPECT_EQ(PtrAll->GetResolution(), 1.0);
}

TEST(TAxis, GetSegmentChecksStartThenEndThenOrder) {
    auto PtrAxis = MakeAxis({0, 1, 2}, 'X');
    const struct {
        const char* Name;
        long LngStart;
        long LngEnd;
        const char* Message;
    } Cases[] = {
        {"both wrong", -1, 5, "Start index is out of range in TAxis::GetSegment"},
        {"start at size", 3, 2, "Start index is out of range in TAxis::GetSegment"},
        {"end negative", 0, -1, "End index is out of range in TAxis::GetSegment"},
        {"end at size, start beyond it", 2, 3, "End index is out of range in TAxis::GetSegment"},
        {"reversed", 2, 1, "Start index is greater than end index in TAxis::GetSegment"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(PtrAxis->GetSegment(Case.LngStart, Case.LngEnd)),
                          Case.Message);
    }
}

TEST(TAxis, GetSegmentByPointsUsesTheirOrdinatesInOrder) {
    // Interval axis of a map's rows: north edge first.
    auto PtrAxis = MakeAxis({3, 2, 1, 0}, 'Y');
    TPoint PntNorth(99, 2.5);
    TPoint PntSouth(99, 0.0);
    std::unique_ptr<TAxis> PtrSegment(PtrAxis->GetSegment(&PntNorth, &PntSouth, 'Y'));
    EXPECT_EQ(Ordinates(*PtrSegment, 'Y'), std::vector<double>({3, 2, 1}));
    EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(PtrAxis->GetSegment(&PntSouth, &PntNorth, 'Y')),
                      "Start index is greater than end index in TAxis::GetSegment");
    TPoint PntOutside(0, 3.5);
    EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(PtrAxis->GetSegment(&PntNorth, &PntOutside, 'Y')),
                      "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TAxis, CloneIsDeepAndKeepsPointTypes) {
    TAxis Axis(0.5);
    Axis.AddPoint(new TMapPoint(0, 1, 10));
    Axis.AddPoint(new TPoint(1, 1));
    Axis.AddPoint(new TMapPoint(2, 1, 30));
    std::unique_ptr<TAxis> PtrCopy(Axis.Clone());
    ASSERT_EQ(PtrCopy->GetSize(), 3);
    EXPECT_EQ(PtrCopy->GetResolution(), 0.5);
    EXPECT_EQ(Ordinates(*PtrCopy, 'X'), std::vector<double>({0, 1, 2}));
    EXPECT_EQ(dynamic_cast<TMapPoint*>(PtrCopy->GetPoint(1)), nullptr);
    auto* PtrCopied = dynamic_cast<TMapPoint*>(PtrCopy->GetPoint(2));
    ASSERT_NE(PtrCopied, nullptr);
    EXPECT_EQ(PtrCopied->GetValue(), 30.0);

    PtrCopied->SetValue(-1);
    PtrCopied->SetX(9);
    PtrCopy->SetPoint(0, new TPoint(-5, -5));
    EXPECT_EQ(static_cast<TMapPoint*>(Axis.GetPoint(2))->GetValue(), 30.0);
    EXPECT_EQ(Axis.GetPoint(2)->GetX(), 2.0);
    EXPECT_EQ(static_cast<TMapPoint*>(Axis.GetPoint(0))->GetValue(), 10.0);

    std::unique_ptr<TAxis> PtrSegment(Axis.GetSegment(2, 2));
    ASSERT_NE(dynamic_cast<TMapPoint*>(PtrSegment->GetPoint(0)), nullptr);
}

} // namespace
