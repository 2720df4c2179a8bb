#include "TestSupport.h"

#include "geometry/TPointTools.h"

#include <cmath>
#include <memory>

namespace {

TEST(TPointToolsMinMax, TakeEachOrdinateSeparately) {
    TPoint PntA(1, 5);
    TPoint PntB(3, 2);
    for (const bool BlnSwap : {false, true}) {
        SCOPED_TRACE(BlnSwap ? "arguments swapped" : "in order");
        TPoint* PtrFirst = BlnSwap ? &PntB : &PntA;
        TPoint* PtrSecond = BlnSwap ? &PntA : &PntB;
        std::unique_ptr<TPoint> PtrMin(TPointTools::Min(PtrFirst, PtrSecond));
        std::unique_ptr<TPoint> PtrMax(TPointTools::Max(PtrFirst, PtrSecond));
        EXPECT_EQ(PtrMin->GetX(), 1.0);
        EXPECT_EQ(PtrMin->GetY(), 2.0);
        EXPECT_EQ(PtrMax->GetX(), 3.0);
        EXPECT_EQ(PtrMax->GetY(), 5.0);
    }
    EXPECT_EQ(PntA.GetX(), 1.0);
    EXPECT_EQ(PntA.GetY(), 5.0);
    EXPECT_EQ(PntB.GetX(), 3.0);
    EXPECT_EQ(PntB.GetY(), 2.0);
}

// Equal ordinates keep the first argument's value: visible with zeros of both signs. A NaN in
// the first argument is kept, one in the second is passed over.
TEST(TPointToolsMinMax, TiesAndNaNKeepTheFirstArgument) {
    TPoint PntPlus(0.0, 0.0);
    TPoint PntMinus(-0.0, -0.0);
    std::unique_ptr<TPoint> PtrMin(TPointTools::Min(&PntPlus, &PntMinus));
    std::unique_ptr<TPoint> PtrMax(TPointTools::Max(&PntMinus, &PntPlus));
    EXPECT_FALSE(std::signbit(PtrMin->GetX()));
    EXPECT_FALSE(std::signbit(PtrMin->GetY()));
    EXPECT_TRUE(std::signbit(PtrMax->GetX()));
    EXPECT_TRUE(std::signbit(PtrMax->GetY()));

    TPoint PntNaN(NAN, NAN);
    TPoint PntOne(1, 1);
    std::unique_ptr<TPoint> PtrMinNaNFirst(TPointTools::Min(&PntNaN, &PntOne));
    std::unique_ptr<TPoint> PtrMaxNaNFirst(TPointTools::Max(&PntNaN, &PntOne));
    std::unique_ptr<TPoint> PtrMinNaNSecond(TPointTools::Min(&PntOne, &PntNaN));
    std::unique_ptr<TPoint> PtrMaxNaNSecond(TPointTools::Max(&PntOne, &PntNaN));
    EXPECT_TRUE(std::isnan(PtrMinNaNFirst->GetX()));
    EXPECT_TRUE(std::isnan(PtrMaxNaNFirst->GetY()));
    EXPECT_EQ(PtrMinNaNSecond->GetX(), 1.0);
    EXPECT_EQ(PtrMaxNaNSecond->GetY(), 1.0);
}

} // namespace
