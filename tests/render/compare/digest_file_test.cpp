// Reading digests back: what the render program writes is what the comparison reads.
#include "tests/render/compare/digest_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/render/digest.h"

namespace tovrel::render {
namespace {

std::string written(void (*write)(std::FILE*)) {
    std::FILE* file = std::tmpfile();
    write(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

TEST(DigestFile, ReadsWhatTheRendererWrites) {
    const DigestFile file = parseDigest(written([](std::FILE* out) {
        dsp::SignalState state{};
        state.lowpassB[dsp::kB2] = dsp::makeLongDouble(1.0, -0x1p-60);
        state.fpdL = 0xdeadbeef;
        ChunkDigest digest(out, "first", 10, 4);
        for (int n = 0; n < 10; ++n) digest.frame(n, ~static_cast<std::uint64_t>(n));
        digest.finish(&state);
        ChunkDigest plain(out, "second", 1, 4);
        plain.frame(1, 2);
        plain.finish(nullptr);
    }));
    ASSERT_EQ(file.order, (std::vector<std::string>{"first", "second"}));
    const CaseDigest& first = file.cases.at("first");
    EXPECT_TRUE(first.complete);
    EXPECT_EQ(first.chunkFrames, 4);
    EXPECT_EQ(first.chunks.size(), 3u);  // 4 + 4 + 2 frames
    ASSERT_EQ(first.states.size(), 12u + 4u * 15u);
    EXPECT_EQ(first.states[12 + 15 + 6].first, "lowpassB[6]");
    EXPECT_EQ(first.states[12 + 15 + 6].second, "3ff0000000000000 bc30000000000000");
    EXPECT_EQ(first.noise, "deadbeef 00000000");
    EXPECT_TRUE(file.cases.at("second").states.empty());
    EXPECT_NE(file.cases.at("second").chunks[0], first.chunks[0]);
}

TEST(DigestFile, NoticesACaseCutShort) {
    const DigestFile file = parseDigest("case cut frames=9 chunk=4\nchunk 0 00000000000000aa\n");
    EXPECT_FALSE(file.cases.at("cut").complete);
    EXPECT_EQ(file.cases.at("cut").chunks.size(), 1u);
}

TEST(DigestFile, ReadsProbesAndIndexedRows) {
    const DigestFile file = parseDigest("probe pow5 maths count=12 00000000deadbeef\n");
    EXPECT_EQ(file.probes.at("pow5").kind, "maths");
    EXPECT_EQ(file.probes.at("pow5").hash, "count=12 00000000deadbeef");

    const auto rows = parseIndexedWords(
        "sample 3 3ff0000000000000 -> 4000000000000000 0000000000000002\n"
        "frame 9 1 2\n"
        "sample 4 0 -> 1\n",
        "sample");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.at(3),
              (std::vector<std::uint64_t>{0x3ff0000000000000u, 0x4000000000000000u, 2}));
    EXPECT_EQ(rows.at(4), (std::vector<std::uint64_t>{0, 1}));
}

}  // namespace
}  // namespace tovrel::render
