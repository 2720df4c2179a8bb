#ifndef VEILGRID_UTIL_TVECTORTOOLS_H
#define VEILGRID_UTIL_TVECTORTOOLS_H

#include <string>
#include <vector>

/// Sums, means, membership tests, conversions, series, element-wise products and least-squares
/// slopes over plain vectors. Vectors are taken by value; every vector returned is the caller's.
/// Where two vectors are paired, element i of one goes with element i of the other.
class TVectorTools {
  public:
    /// The sum of the values, added from first to last starting from 0; 0 for an empty vector.
    [[nodiscard]] static double SumVector(std::vector<double> VecValues);
    /// SumVector divided by the number of values; NaN (0 / 0) for an empty vector.
    [[nodiscard]] static double VectorMean(std::vector<double> VecValues);
    /// The mean of the weighted values: the sum of values[i] x weights[i] divided by the number of
    /// values (not by the sum of the weights); NaN for empty vectors. Fails with "Length of value
    /// and weight vectors do not match in TVectorTools::WeightedMean".
    [[nodiscard]] static double VectorWeightedMean(std::vector<double> VecValues,
                                                   std::vector<double> VecWeights);

    /// Whether some element equals DblValue exactly; a NaN value is never found.
    [[nodiscard]] static bool HasValue(std::vector<double> VecValues, double DblValue);
    /// Whether some element equals IntValue.
    [[nodiscard]] static bool HasValue(std::vector<int> VecValues, int IntValue);

    /// Each text read as atoi reads it: leading white space skipped, an optional sign and the
    /// decimal digits that follow, the rest ignored, 0 when there are no digits. A number outside
    /// the range of int saturates to the nearest end of the range (INT_MIN or INT_MAX).
    [[nodiscard]] static std::vector<int> StringToInt(std::vector<std::string> VecTexts);
    /// Each text read as atof reads it (leading white space skipped, the longest leading part that
    /// forms a number converted, 0 when there is none). A magnitude beyond the range of double
    /// reads as an infinity of its sign, one below it as zero or the nearest subnormal.
    [[nodiscard]] static std::vector<double> StringToDouble(std::vector<std::string> VecTexts);
    /// Each integer as the equal double.
    [[nodiscard]] static std::vector<double> IntToDouble(std::vector<int> VecValues);

    /// The series DblStart, then each element plus DblStep, while the element is <= DblEnd. The
    /// steps are added one by one, so rounding accumulates: (0, 1, 0.1) has 11 elements, the last
    /// 0.9999999999999999. Empty when DblStart > DblEnd or either is NaN; {DblStart} when they are
    /// equal. When DblStart <= DblEnd, fails with "Step must be > 0 in TVectorTools::VectorSeries"
    /// for a step of 0, below 0 or NaN, and with "Series is too long in TVectorTools::VectorSeries"
    /// when the series would never end (an infinite end, or a step too small to change an element)
    /// or has more elements than memory can hold.
    [[nodiscard]] static std::vector<double> VectorSeries(double DblStart, double DblEnd,
                                                          double DblStep);
    /// a[i] x b[i] for each i. Fails with "Length of vectors does not match in
    /// TVectorTools::VectorProduct".
    [[nodiscard]] static std::vector<double> VectorProduct(std::vector<double> VecA,
                                                           std::vector<double> VecB);
    /// The least-squares slope of Y against X, (n Sxy - Sx Sy) / (n Sxx - Sx Sx) with n the length
    /// of Y. A zero denominator (fewer than two points, all X equal) gives what IEEE division
    /// gives. Fails with "Length of vectors does not match in TVectorTools::VectorProduct".
    [[nodiscard]] static double Gradient(std::vector<double> VecX, std::vector<double> VecY);
};

#endif
