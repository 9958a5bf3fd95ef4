// Judging two digests of one case, and finding the first differing row of two dumps.
#include "tests/render/compare/case_diff.h"

#include <gtest/gtest.h>

#include "tests/render/compare/report.h"

namespace tovrel::render {
namespace {

CaseDigest digest(std::vector<std::string> chunks, std::vector<std::string> states = {"a b"},
                  std::string noise = "1 2") {
    CaseDigest d;
    d.chunks = std::move(chunks);
    for (std::size_t i = 0; i < states.size(); ++i) {
        d.states.emplace_back("field" + std::to_string(i), states[i]);
    }
    d.noise = std::move(noise);
    d.complete = true;
    return d;
}

TEST(CaseDiff, FindsTheFirstDifferingChunk) {
    const CaseDigest reference = digest({"1", "2", "3"});
    EXPECT_EQ(compareCase(&reference, &reference).kind, CaseDiff::Match);

    const CaseDigest later = digest({"1", "2", "x"}, {"z z"});
    const CaseDiff diff = compareCase(&reference, &later);
    EXPECT_EQ(diff.kind, CaseDiff::Output);  // outputs first, whatever the state says
    EXPECT_EQ(diff.firstChunk, 2);

    const CaseDigest shorter = digest({"1", "2"});
    EXPECT_EQ(compareCase(&reference, &shorter).firstChunk, 2);
}

TEST(CaseDiff, ReportsStateFieldsOnlyWhenOutputsAgree) {
    const CaseDigest reference = digest({"1"}, {"a b", "c d", "e f"});
    const CaseDigest changed = digest({"1"}, {"a b", "c x", "e f"}, "1 3");
    const CaseDiff diff = compareCase(&reference, &changed);
    EXPECT_EQ(diff.kind, CaseDiff::State);
    EXPECT_EQ(diff.states, (std::vector<std::string>{"field1", "fpdL/fpdR"}));

    // A render of the plug-in file carries no state: its outputs alone are compared.
    const CaseDigest outputsOnly = digest({"1"}, {}, "");
    EXPECT_EQ(compareCase(&reference, &outputsOnly).kind, CaseDiff::Match);
}

TEST(CaseDiff, MissingOrUnfinishedCasesNeverMatch) {
    const CaseDigest reference = digest({"1"});
    CaseDigest unfinished = reference;
    unfinished.complete = false;
    EXPECT_EQ(compareCase(&reference, nullptr).kind, CaseDiff::Missing);
    EXPECT_EQ(compareCase(nullptr, &reference).kind, CaseDiff::Missing);
    EXPECT_EQ(compareCase(&reference, &unfinished).kind, CaseDiff::Incomplete);
}

TEST(RowDiff, FindsTheEarliestDifferenceAndCountsThem) {
    using Rows = std::map<long, std::vector<std::uint64_t>>;
    const Rows reference{{10, {1, 2}}, {11, {3, 4}}, {12, {5, 6}}, {13, {7, 8}}};
    EXPECT_EQ(firstRowDiff(reference, reference).index, -1);

    const Rows ours{{10, {1, 2}}, {11, {3, 9}}, {12, {5, 6}}};  // 11 differs, 13 is missing
    const RowDiff diff = firstRowDiff(reference, ours);
    EXPECT_EQ(diff.index, 11);
    EXPECT_EQ(diff.reference, (std::vector<std::uint64_t>{3, 4}));
    EXPECT_EQ(diff.ours, (std::vector<std::uint64_t>{3, 9}));
    EXPECT_EQ(diff.differingRows, 2);
}

TEST(DescribeWord, ReadsFloatsFromTheLowWordAndDoublesOtherwise) {
    EXPECT_EQ(describeWord(0x3f800000u), "3f800000 (1)");
    EXPECT_EQ(describeWord(0xbff8000000000000u), "bff8000000000000 (-1.5)");
}

}  // namespace
}  // namespace tovrel::render
