// Where a difference is blamed: on a CPU without FMA the maths library is excused, our
// arithmetic never is.
#include <gtest/gtest.h>

#include "tests/render/compare/report.h"

namespace tovrel::render {
namespace {

Findings found(bool render, bool maths, bool routine, bool op) {
    Findings f;
    f.cases = 3;
    f.matching = render ? 2 : 3;
    f.renderDiffers = render;
    f.mathsDiffers = maths;
    f.routineDiffers = routine;
    f.operatorDiffers = op;
    return f;
}

TEST(Verdict, MatchOnlyWhenNothingDiffers) {
    EXPECT_EQ(judge(found(false, false, false, false), true), Verdict::Match);
    EXPECT_EQ(judge(found(false, false, false, false), false), Verdict::Match);
    EXPECT_EQ(judge(found(true, false, false, false), true), Verdict::Differs);
    EXPECT_EQ(judge(found(false, false, false, true), true), Verdict::Differs);
}

TEST(Verdict, TheMathsLibraryIsExcusedOnlyWithoutFma) {
    EXPECT_EQ(judge(found(true, true, false, false), false), Verdict::ExcusedMathsLibrary);
    EXPECT_EQ(judge(found(true, true, false, false), true), Verdict::Differs);
    // Renders may reach arguments the probes miss.
    EXPECT_EQ(judge(found(true, false, false, false), false), Verdict::ExcusedMathsLibrary);
    // Our arithmetic is never excused, FMA or not.
    EXPECT_EQ(judge(found(true, true, true, false), false), Verdict::Differs);
    EXPECT_EQ(judge(found(true, true, false, true), false), Verdict::Differs);
}

}  // namespace
}  // namespace tovrel::render
