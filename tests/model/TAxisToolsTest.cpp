#include "TestSupport.h"

#include "model/TAxisTools.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

using TPairs = std::vector<std::pair<double, double>>;

std::unique_ptr<TAxis> MakeAxis(double DblResolution, const TPairs& VecPoints) {
    auto PtrAxis = std::make_unique<TAxis>(DblResolution);
    for (const auto& [DblX, DblY] : VecPoints)
        PtrAxis->AddPoint(new TPoint(DblX, DblY));
    return PtrAxis;
}

TPairs Points(const TAxis& Axis) {
    TPairs VecPoints;
    for (long LngI = 0; LngI < Axis.GetSize(); ++LngI)
        VecPoints.emplace_back(Axis.GetPoint(LngI)->GetX(), Axis.GetPoint(LngI)->GetY());
    return VecPoints;
}

struct TConversionCase {
    const char* Name;
    char ChrLetter;
    double DblResolution;
    TPairs VecInput;
    TPairs VecExpected;
};

TEST(TAxisTools, PointsToIntervals) {
    const TConversionCase Cases[] = {
        {"X axis",
         'X',
         1,
         {{0.5, 10}, {1.5, 10}, {2.5, 10}},
         {{0, 9.5}, {1, 9.5}, {2, 9.5}, {3, 9.5}}},
        {"descending Y axis runs north to south",
         'Y',
         1,
         {{0, 2.5}, {0, 1.5}, {0, 0.5}},
         {{-0.5, 3}, {-0.5, 2}, {-0.5, 1}, {-0.5, 0}}},
        {"ascending Y axis runs south to north",
         'Y',
         1,
         {{0, 0.5}, {0, 1.5}},
         {{-0.5, 0}, {-0.5, 1}, {-0.5, 2}}},
        {"one-point Y axis puts the south edge first",
         'Y',
         1,
         {{0, 5}},
         {{-0.5, 4.5}, {-0.5, 5.5}}},
        {"step is the resolution, not the spacing",
         'X',
         1,
         {{0.5, 0}, {5, 0}, {100, 0}},
         {{0, -0.5}, {1, -0.5}, {2, -0.5}, {3, -0.5}}},
        {"X order of the input is not examined",
         'X',
         2,
         {{3, 0}, {1, 0}},
         {{2, -1}, {4, -1}, {6, -1}}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrAxis = MakeAxis(Case.DblResolution, Case.VecInput);
        std::unique_ptr<TAxis> PtrEdges(
            TAxisTools::PointsToIntervals(PtrAxis.get(), Case.ChrLetter));
        EXPECT_EQ(Points(*PtrEdges), Case.VecExpected);
        EXPECT_EQ(PtrEdges->GetResolution(), Case.DblResolution);
        EXPECT_EQ(Points(*PtrAxis), Case.VecInput);
    }
}

// The edges are sums of the resolution, one after another: ten steps of 0.1 end short of 1.
TEST(TAxisTools, PointsToIntervalsAddsTheStepRepeatedly) {
    TPairs VecCentres;
    for (int IntI = 0; IntI < 10; ++IntI)
        VecCentres.emplace_back(0.05 + 0.1 * IntI, 0);
    auto PtrAxis = MakeAxis(0.1, VecCentres);
    std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrAxis.get(), 'X'));
    ASSERT_EQ(PtrEdges->GetSize(), 11);
    EXPECT_EQ(PtrEdges->GetPoint(0)->GetX(), 0.0);
    EXPECT_EQ(PtrEdges->GetPoint(10)->GetX(), 0.9999999999999999);
}

TEST(TAxisTools, IntervalsToPoints) {
    const TConversionCase Cases[] = {
        {"X edges",
         'X',
         1,
         {{0, 9.5}, {1, 9.5}, {2, 9.5}, {3, 9.5}},
         {{0.5, 9.5}, {1.5, 9.5}, {2.5, 9.5}}},
        {"descending Y edges",
         'Y',
         1,
         {{-0.5, 3}, {-0.5, 2}, {-0.5, 1}, {-0.5, 0}},
         {{-0.5, 2.5}, {-0.5, 1.5}, {-0.5, 0.5}}},
        {"ascending Y edges step south", 'Y', 1, {{0, 0}, {0, 1}, {0, 2}}, {{0, -0.5}, {0, 0.5}}},
        {"descending X edges step east", 'X', 1, {{3, 0}, {2, 0}, {1, 0}}, {{3.5, 0}, {2.5, 0}}},
        {"one edge gives no centre", 'X', 1, {{3, 0}}, {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrAxis = MakeAxis(Case.DblResolution, Case.VecInput);
        std::unique_ptr<TAxis> PtrCentres(
            TAxisTools::IntervalsToPoints(PtrAxis.get(), Case.ChrLetter));
        EXPECT_EQ(Points(*PtrCentres), Case.VecExpected);
        EXPECT_EQ(PtrCentres->GetResolution(), Case.DblResolution);
        EXPECT_EQ(Points(*PtrAxis), Case.VecInput);
    }
}

// There and back keeps the ordinates along the axis; the other one moves by half a cell.
TEST(TAxisTools, RoundTripKeepsTheCentres) {
    auto PtrX = MakeAxis(1, {{0.5, 10}, {1.5, 10}, {2.5, 10}});
    auto PtrY = MakeAxis(1, {{0, 2.5}, {0, 1.5}, {0, 0.5}});
    std::unique_ptr<TAxis> PtrXEdges(TAxisTools::PointsToIntervals(PtrX.get(), 'X'));
    std::unique_ptr<TAxis> PtrYEdges(TAxisTools::PointsToIntervals(PtrY.get(), 'Y'));
    std::unique_ptr<TAxis> PtrXBack(TAxisTools::IntervalsToPoints(PtrXEdges.get(), 'X'));
    std::unique_ptr<TAxis> PtrYBack(TAxisTools::IntervalsToPoints(PtrYEdges.get(), 'Y'));
    EXPECT_EQ(Points(*PtrXBack), TPairs({{0.5, 9.5}, {1.5, 9.5}, {2.5, 9.5}}));
    EXPECT_EQ(Points(*PtrYBack), TPairs({{-0.5, 2.5}, {-0.5, 1.5}, {-0.5, 0.5}}));
}

TEST(TAxisTools, EmptyAxesAndEmptySlotsFail) {
    TAxis AxsNone(1);
    EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(TAxisTools::PointsToIntervals(&AxsNone, 'X')),
                      "Index is out of range in TAxis::GetPoint");
    EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(TAxisTools::IntervalsToPoints(&AxsNone, 'X')),
                      "Index is out of range in TAxis::GetPoint");

    // An empty slot anywhere, the inner ones included: a map keeps the centre axis it is given,
    // and a hole in it would be read as a point later on.
    for (const long LngHole : {0L, 1L, 2L}) {
        SCOPED_TRACE(LngHole);
        TAxis Axis(1, 3);
        for (long LngI = 0; LngI < 3; ++LngI)
            if (LngI != LngHole)
                Axis.SetPoint(LngI, new TPoint(0.5 + static_cast<double>(LngI), 0));
        EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(TAxisTools::PointsToIntervals(&Axis, 'X')),
                          "Axis has an empty slot in TAxisTools::PointsToIntervals");
        EXPECT_FAILS_WITH(std::unique_ptr<TAxis>(TAxisTools::IntervalsToPoints(&Axis, 'X')),
                          "Axis has an empty slot in TAxisTools::IntervalsToPoints");
    }
}

} // namespace
