#include "util/TVectorTools.h"

#include "util/TException.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <new>
#include <numeric>
#include <utility>

double TVectorTools::SumVector(std::vector<double> VecValues) {
    double DblSum = 0.0;
    for (const double DblValue : VecValues)
        DblSum += DblValue;
    return DblSum;
}

double TVectorTools::VectorMean(std::vector<double> VecValues) {
    const double DblCount = static_cast<double>(VecValues.size());
    return SumVector(std::move(VecValues)) / DblCount;
}

double TVectorTools::VectorWeightedMean(std::vector<double> VecValues,
                                        std::vector<double> VecWeights) {
    if (VecValues.size() != VecWeights.size())
        throw TException(
            "Length of value and weight vectors do not match in TVectorTools::WeightedMean");
    // Adds values[i] x weights[i] from first to last, starting from 0.
    const double DblSum =
        std::inner_product(VecValues.begin(), VecValues.end(), VecWeights.begin(), 0.0);
    return DblSum / static_cast<double>(VecValues.size());
}

bool TVectorTools::HasValue(std::vector<double> VecValues, double DblValue) {
    return std::find(VecValues.begin(), VecValues.end(), DblValue) != VecValues.end();
}

bool TVectorTools::HasValue(std::vector<int> VecValues, int IntValue) {
    return std::find(VecValues.begin(), VecValues.end(), IntValue) != VecValues.end();
}

std::vector<int> TVectorTools::StringToInt(std::vector<std::string> VecTexts) {
    std::vector<int> VecResult;
    VecResult.reserve(VecTexts.size());
    for (const std::string& StrText : VecTexts) {
        // strtol reads like atoi but saturates at the ends of long instead of overflowing; the
        // value is then saturated once more to the range of int.
        const long LngValue = std::strtol(StrText.c_str(), nullptr, 10);
        VecResult.push_back(static_cast<int>(std::clamp<long>(LngValue, INT_MIN, INT_MAX)));
    }
    return VecResult;
}

std::vector<double> TVectorTools::StringToDouble(std::vector<std::string> VecTexts) {
    std::vector<double> VecResult;
    VecResult.reserve(VecTexts.size());
    // strtod reads like atof and, unlike it, has a defined result for out-of-range magnitudes.
    for (const std::string& StrText : VecTexts)
        VecResult.push_back(std::strtod(StrText.c_str(), nullptr));
    return VecResult;
}

std::vector<double> TVectorTools::IntToDouble(std::vector<int> VecValues) {
    return std::vector<double>(VecValues.begin(), VecValues.end());
}

std::vector<double> TVectorTools::VectorSeries(double DblStart, double DblEnd, double DblStep) {
    std::vector<double> VecSeries;
    // A start past the end, or a NaN bound, gives the empty series whatever the step.
    if (!(DblStart <= DblEnd))
        return VecSeries;
    if (!(DblStep > 0.0))
        throw TException("Step must be > 0 in TVectorTools::VectorSeries");
    // The expected length, without forming DblEnd - DblStart, which may overflow. An infinite
    // bound makes it infinite or NaN. An infinite step makes the second element infinite or NaN
    // (from -Inf), so there are at most two, and the loop below ends or refuses the series.
    const double DblCount =
        std::isinf(DblStep) ? 2.0 : std::floor(DblEnd / DblStep - DblStart / DblStep) + 1.0;
    if (!(DblCount < static_cast<double>(VecSeries.max_size())))
        throw TException("Series is too long in TVectorTools::VectorSeries");
    try {
        VecSeries.reserve(static_cast<std::size_t>(DblCount));
        double DblElement = DblStart;
        while (DblElement <= DblEnd) {
            VecSeries.push_back(DblElement);
            const double DblNext = DblElement + DblStep;
            // A step lost in rounding leaves the element where it is: it would never pass the end.
            if (DblNext == DblElement)
                throw TException("Series is too long in TVectorTools::VectorSeries");
            DblElement = DblNext;
        }
    } catch (const std::bad_alloc&) {
        throw TException("Series is too long in TVectorTools::VectorSeries");
    }
    return VecSeries;
}

std::vector<double> TVectorTools::VectorProduct(std::vector<double> VecA,
                                                std::vector<double> VecB) {
    if (VecA.size() != VecB.size())
        throw TException("Length of vectors does not match in TVectorTools::VectorProduct");
    std::transform(VecA.begin(), VecA.end(), VecB.begin(), VecA.begin(), std::multiplies<>());
    return VecA;
}

double TVectorTools::Gradient(std::vector<double> VecX, std::vector<double> VecY) {
    const double DblN = static_cast<double>(VecY.size());
    const double DblSumX = SumVector(VecX);
    const double DblSumXSquared = DblSumX * DblSumX;
    const double DblSumY = SumVector(VecY);
    const double DblSumXX = SumVector(VectorProduct(VecX, VecX));
    // Vectors of different lengths fail here.
    const double DblSumXY = SumVector(VectorProduct(std::move(VecX), std::move(VecY)));
    const double DblNumerator = DblSumXY * DblN - DblSumX * DblSumY;
    const double DblDenominator = DblSumXX * DblN - DblSumXSquared;
    return DblNumerator / DblDenominator;
}
