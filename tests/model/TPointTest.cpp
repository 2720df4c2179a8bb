#include "TestSupport.h"

#include "model/TPoint.h"

#include <cmath>
#include <memory>

namespace {

TEST(TPoint, DistanceIsEuclidean) {
    TPoint PntOrigin(0, 0);
    TPoint PntFar(3, 4);
    EXPECT_EQ(PntOrigin.Distance(&PntFar), 5.0);
    EXPECT_EQ(PntFar.Distance(&PntOrigin), 5.0);
    EXPECT_EQ(PntFar.Distance(&PntFar), 0.0);
    TPoint PntNaN(NAN, 0);
    EXPECT_TRUE(std::isnan(PntOrigin.Distance(&PntNaN)));
}

TEST(TPoint, CloneIsAnIndependentCopy) {
    TPoint PntSource(1.5, -2.5);
    std::unique_ptr<TPoint> PtrCopy(PntSource.Clone());
    EXPECT_EQ(PtrCopy->GetX(), 1.5);
    EXPECT_EQ(PtrCopy->GetY(), -2.5);
    PtrCopy->SetX(7);
    PtrCopy->SetY(8);
    EXPECT_EQ(PntSource.GetX(), 1.5);
    EXPECT_EQ(PntSource.GetY(), -2.5);
}

// A map point copied and destroyed through a TPoint pointer keeps its type and value; a
// non-virtual destructor would show up here as a sanitizer report.
TEST(TMapPoint, CloneThroughTPointKeepsTypeAndValue) {
    std::unique_ptr<TPoint> PtrSource(new TMapPoint(1, 2, 42.5));
    std::unique_ptr<TPoint> PtrCopy(PtrSource->Clone());
    auto* PtrMapCopy = dynamic_cast<TMapPoint*>(PtrCopy.get());
    ASSERT_NE(PtrMapCopy, nullptr);
    EXPECT_EQ(PtrMapCopy->GetX(), 1.0);
    EXPECT_EQ(PtrMapCopy->GetY(), 2.0);
    EXPECT_EQ(PtrMapCopy->GetValue(), 42.5);
    PtrMapCopy->SetValue(-1);
    EXPECT_EQ(static_cast<TMapPoint*>(PtrSource.get())->GetValue(), 42.5);
    EXPECT_EQ(TMapPoint(0, 0).GetValue(), 0.0);
}

} // namespace
