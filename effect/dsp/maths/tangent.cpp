// The reference runtime's tan on [0, pi/2], in its own steps and roundings: an odd polynomial
// for small arguments, a table of points with their tangents and cotangents up to 0.787, and
// above that a reduction by pi/2 with the same two methods applied to the cotangent.
// Each fusedMultiplyAdd is one of the reference's fused operations; nothing else may be fused.
#include "effect/dsp/maths/tangent.h"

#include <cmath>
#include <limits>

#include "effect/dsp/maths/fused_multiply_add.h"
#include "effect/dsp/maths/tan_table.h"

namespace tovrel::dsp::maths {
namespace {

using namespace tan_data;

constexpr double kLargestArgument = 0x1.921fb54442d18p0;

// The odd polynomial past its first term: tan y = y + y^3 * oddTerms(y^2) for small y.
double oddTerms(double y2) {
    double p = fusedMultiplyAdd(y2, kD11, kD9);
    p = fusedMultiplyAdd(y2, p, kD7);
    p = fusedMultiplyAdd(y2, p, kD5);
    return fusedMultiplyAdd(y2, p, kD3);
}

// The row whose point X lies nearest y (y between the polynomial range and 0.787).
int tableRow(double y) {
    return static_cast<int>(fusedMultiplyAdd(y, 256.0, -15.5));  // truncation
}

// tan(z) - z to the short polynomial's accuracy, plus z.
double shortTangent(double z) {
    const double z2 = z * z;
    const double z3 = z * z2;
    return fusedMultiplyAdd(z3, fusedMultiplyAdd(z2, kE1, kE0), z);
}

double smallArgument(double x) {
    const double x2 = x * x;
    const double p = oddTerms(x2);
    const double x3 = x * x2;
    return fusedMultiplyAdd(x3, p, x);
}

// tan(X + z) = F + (F + G) tz / (G - tz), with tz = tan z.
double tableArgument(double x) {
    const TanRow& row = kTanTable[tableRow(x)];
    const double pz = shortTangent(x - row.x);
    const double t = ((row.tan + row.cot) * pz) / (row.cot - pz);
    return t + row.tan;
}

// a + da = x - pi/2, to about 2^-100; negative on the whole range above 0.787.
struct Reduced {
    double a, da;
};

Reduced reduceByHalfPi(double x) {
    const double t = fusedMultiplyAdd(x, kHalfPiInverse, kToInteger);
    const double m = -(t - kToInteger);  // the quotient is 1 throughout this range
    const double t1 = fusedMultiplyAdd(m, kHalfPi2, fusedMultiplyAdd(m, kHalfPi1, x));
    const double a = fusedMultiplyAdd(m, kHalfPi3, t1);
    return {a, fusedMultiplyAdd(m, kHalfPi3, t1 - a)};
}

// tan x = -cot(a + da) near pi/2: the odd polynomial of a, then 1 / tan in double length.
double nearHalfPi(Reduced y) {
    const double a = y.a, da = y.da;
    const double a2 = a * a;
    const double p = oddTerms(a2);
    const double a3 = a * a2;
    const double t2 = fusedMultiplyAdd(a3, p, da);
    const double b = a + t2;
    const double db = std::fabs(a) > std::fabs(t2) ? (a - b) + t2 : (t2 - b) + a;
    const double c = 1.0 / b;
    const double u = c * b;
    const double uu = fusedMultiplyAdd(c, b, -u);
    const double s = ((1.0 - u) - uu) + 0.0;
    const double cc = fusedMultiplyAdd(-db, c, s) / b;
    const double z = c + cc;
    const double zz = (c - z) + cc;
    return -(z + zz);
}

// tan x = -cot(a + da) = cot(X + z) with X + z = -(a + da): G - (F + G) tz / (tz + F).
double tableCotangent(Reduced y) {
    const double ya = -y.a, yya = -y.da;
    const TanRow& row = kTanTable[tableRow(ya)];
    const double pz = shortTangent((ya - row.x) + yya);
    const double t = ((row.tan + row.cot) * pz) / (pz + row.tan);
    return row.cot - t;
}

}  // namespace

double tangentOnSetupRange(double x) {
    if (!(x >= 0.0 && x <= kLargestArgument)) return std::numeric_limits<double>::quiet_NaN();
    if (x <= kG2) return smallArgument(x);
    if (x <= kG3) return tableArgument(x);
    const Reduced y = reduceByHalfPi(x);
    return -y.a <= kG2 ? nearHalfPi(y) : tableCotangent(y);
}

}  // namespace tovrel::dsp::maths
