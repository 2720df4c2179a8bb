#include "TestSupport.h"

#include "geometry/TPointTools.h"

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
using TXY = std::pair<double, double>;

// Points owned by the fixture, handed to the operations as the raw list they take.
struct TPointList {
    explicit TPointList(const std::vector<TXY>& VecXY) {
        for (const auto& XY : VecXY) {
            VecOwned.push_back(std::make_unique<TPoint>(XY.first, XY.second));
            VecPoints.push_back(VecOwned.back().get());
        }
    }
    std::vector<std::unique_ptr<TPoint>> VecOwned;
    std::vector<TPoint*> VecPoints;
};

// Takes over every point of a returned list at once.
std::vector<std::unique_ptr<TPoint>> Own(const std::vector<TPoint*>& VecPoints) {
    std::vector<std::unique_ptr<TPoint>> VecOwned;
    for (TPoint* PtrPoint : VecPoints)
        VecOwned.emplace_back(PtrPoint);
    return VecOwned;
}

std::vector<TXY> Coordinates(const std::vector<std::unique_ptr<TPoint>>& VecPoints) {
    std::vector<TXY> VecXY;
    for (const auto& PtrPoint : VecPoints)
        VecXY.emplace_back(PtrPoint->GetX(), PtrPoint->GetY());
    return VecXY;
}
} // namespace

TEST(TPointToolsTest, FindCentroidIsTheMeanPosition) {
    TPointList Square({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    std::unique_ptr<TPoint> PtrCentre(TPointTools::FindCentroid(Square.VecPoints));
    EXPECT_EQ(PtrCentre->GetX(), 1.0);
    EXPECT_EQ(PtrCentre->GetY(), 1.0);

    TPointList One({{-3.5, 7}});
    std::unique_ptr<TPoint> PtrSame(TPointTools::FindCentroid(One.VecPoints));
    EXPECT_EQ(PtrSame->GetX(), -3.5);
    EXPECT_EQ(PtrSame->GetY(), 7.0);

    std::unique_ptr<TPoint> PtrNone(TPointTools::FindCentroid({}));
    EXPECT_TRUE(std::isnan(PtrNone->GetX()));
    EXPECT_TRUE(std::isnan(PtrNone->GetY()));
}

TEST(TPointToolsTest, ThetaIsThePseudoAngleFromSecondToFirst) {
    struct TCase {
        const char* Name;
        double DblDX;
        double DblDY;
        double DblExpected;
    };
    const TCase Cases[] = {
        {"east", 1, 0, 0},          {"north-east", 1, 1, 45},   {"north", 0, 1, 90},
        {"north-west", -1, 1, 135}, {"west", -1, 0, 180},       {"south-west", -1, -1, 225},
        {"south", 0, -1, 270},      {"south-east", 1, -1, 315}, {"not degrees", 1, 2, 60},
        {"zero vector", 0, 0, 0},   {"long vector", 30, 30, 45}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        // Measured from an origin off zero, so that the order of the arguments shows.
        TPoint PtB(10, -4);
        TPoint PtA(10 + Case.DblDX, -4 + Case.DblDY);
        EXPECT_EQ(TPointTools::Theta(&PtA, &PtB), Case.DblExpected);
    }
}

TEST(TPointToolsTest, HeronGivesTheTriangleArea) {
    struct TCase {
        const char* Name;
        TXY A, B, C;
        double DblExpected;
    };
    const TCase Cases[] = {
        {"right triangle", {0, 0}, {4, 0}, {0, 3}, 6},
        {"collinear", {0, 0}, {1, 1}, {2, 2}, 0},
        {"one point thrice", {5, 5}, {5, 5}, {5, 5}, 0},
        // Rounding makes the product under the root slightly negative here; it was NaN.
        {"nearly collinear", {0, 0}, {0.6, 0.8}, {4.2, 5.6000000000000005}, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPoint PtA(Case.A.first, Case.A.second);
        TPoint PtB(Case.B.first, Case.B.second);
        TPoint PtC(Case.C.first, Case.C.second);
        EXPECT_EQ(TPointTools::Heron(&PtA, &PtB, &PtC), Case.DblExpected);
    }
}

TEST(TPointToolsTest, FindConvexPolygonAreaSumsTheFanWithoutTheClosingPair) {
    struct TCase {
        const char* Name;
        std::vector<TXY> VecXY;
        double DblExpected;
    };
    const TCase Cases[] = {
        {"closed outline", {{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}}, 12},
        {"open outline lacks the last triangle", {{0, 0}, {4, 0}, {4, 3}, {0, 3}}, 9},
        {"open unit square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0.75},
        {"one point", {{2, 3}}, 0},
        {"empty", {}, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPointList List(Case.VecXY);
        EXPECT_NEAR(TPointTools::FindConvexPolygonArea(List.VecPoints), Case.DblExpected, 1e-12);
    }
}

TEST(TPointToolsTest, FindConvexHullWrapsCounterClockwiseFromTheLowestPoint) {
    struct TCase {
        const char* Name;
        std::vector<TXY> VecInput;
        std::vector<TXY> VecHull;
    };
    const TCase Cases[] = {
        {"inner points left out",
         {{0, 0}, {2, 1}, {1, 3}, {-1, 2}, {0.5, 1}, {1, 1.5}},
         {{0, 0}, {2, 1}, {1, 3}, {-1, 2}}},
        {"start point not first",
         {{3, 1}, {0, 0}, {5, 0.5}, {2, 4}, {2, 2}},
         {{0, 0}, {5, 0.5}, {2, 4}}},
        {"one point", {{4, 5}}, {{4, 5}}},
        {"two points", {{1, 1}, {0, 0}}, {{0, 0}, {1, 1}}},
        {"east of the start on its level is never placed",
         {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
         {{0, 0}, {1, 1}, {0, 1}}},
        {"on one ray the earlier slot wins",
         {{0, 0}, {1, 1}, {2, 2}, {0, 2}},
         {{0, 0}, {1, 1}, {0, 2}}},
        {"on one ray the earlier slot wins, far point first",
         {{0, 0}, {2, 2}, {1, 1}, {0, 2}},
         {{0, 0}, {2, 2}, {0, 2}}},
        {"the first of the lowest points starts",
         {{1, 0}, {0, 0}, {0, 1}},
         {{1, 0}, {0, 1}, {0, 0}}},
        {"empty", {}, {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPointList List(Case.VecInput);
        auto VecHull = Own(TPointTools::FindConvexHull(List.VecPoints));
        EXPECT_EQ(Coordinates(VecHull), Case.VecHull);
        // The caller's list keeps its order and its points.
        EXPECT_EQ(Coordinates(List.VecOwned), Case.VecInput);
        for (size_t SizI = 0; SizI < List.VecPoints.size(); ++SizI)
            EXPECT_EQ(List.VecPoints[SizI], List.VecOwned[SizI].get());
    }
}

TEST(TPointToolsTest, FindConvexHullReturnsIndependentCopiesOfTheirOwnType) {
    std::vector<std::unique_ptr<TPoint>> VecOwned;
    VecOwned.push_back(std::make_unique<TMapPoint>(0, 0, 7));
    VecOwned.push_back(std::make_unique<TPoint>(2, 1));
    VecOwned.push_back(std::make_unique<TMapPoint>(1, 3, 9));
    const std::vector<TPoint*> VecPoints{VecOwned[0].get(), VecOwned[1].get(), VecOwned[2].get()};

    auto VecHull = Own(TPointTools::FindConvexHull(VecPoints));
    ASSERT_EQ(VecHull.size(), 3u);
    auto* PtrFirst = dynamic_cast<TMapPoint*>(VecHull[0].get());
    ASSERT_NE(PtrFirst, nullptr);
    EXPECT_EQ(PtrFirst->GetValue(), 7.0);
    EXPECT_EQ(dynamic_cast<TMapPoint*>(VecHull[1].get()), nullptr);
    ASSERT_NE(dynamic_cast<TMapPoint*>(VecHull[2].get()), nullptr);

    for (size_t SizI = 0; SizI < VecHull.size(); ++SizI)
        EXPECT_NE(VecHull[SizI].get(), VecPoints[SizI]);
    PtrFirst->SetX(-5);
    PtrFirst->SetValue(1);
    EXPECT_EQ(VecOwned[0]->GetX(), 0.0);
    EXPECT_EQ(static_cast<TMapPoint*>(VecOwned[0].get())->GetValue(), 7.0);
}
