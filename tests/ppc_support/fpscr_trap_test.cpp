// The FPSCR-move trap under qemu-ppc: glibc's tan runs, the mffsl family reads the FPSCR like
// mffs does, and every other illegal instruction still kills the process.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstring>

namespace {

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The low word of an FPSCR image holds the FPSCR itself; its last two bits are the rounding mode.
std::uint32_t roundingBits(double image) {
    return static_cast<std::uint32_t>(bitsOf(image)) & 3u;
}

double mffsInto0() {
    double image = 0.0;
    asm volatile("mffs 0\n\tstfd 0,0(%0)" : : "b"(&image) : "fr0", "memory");
    return image;
}

double mffslInto0() {
    double image = 0.0;
    asm volatile(".long 0xfc18048e\n\tstfd 0,0(%0)" : : "b"(&image) : "fr0", "memory");
    return image;
}

double mffsceInto13() {
    double image = 0.0;
    asm volatile(".long 0xfda1048e\n\tstfd 13,0(%0)" : : "b"(&image) : "fr13", "memory");
    return image;
}

TEST(FpscrTrap, GlibcTanRuns) {
    volatile double quarterPi = 0.7853981633974483;
    volatile double x = 1.3641;
    EXPECT_NEAR(std::tan(quarterPi), 1.0, 1e-15);
    // The bits x86-64 glibc gives on a CPU with fused multiply-add.
    EXPECT_EQ(bitsOf(std::tan(x)), bitsOf(0x1.3135fa3cba7bfp+2));
}

TEST(FpscrTrap, MffslReadsTheFpscrLikeMffs) {
    const int saved = std::fegetround();
    for (int mode : {FE_TONEAREST, FE_TOWARDZERO, FE_UPWARD, FE_DOWNWARD}) {
        std::fesetround(mode);
        const double plain = mffsInto0();
        const double light = mffslInto0();
        const double enables = mffsceInto13();
        std::fesetround(saved);
        EXPECT_EQ(static_cast<std::uint32_t>(bitsOf(light)),
                  static_cast<std::uint32_t>(bitsOf(plain)));
        EXPECT_EQ(static_cast<std::uint32_t>(bitsOf(enables)),
                  static_cast<std::uint32_t>(bitsOf(plain)));
    }
    std::fesetround(FE_TOWARDZERO);
    const std::uint32_t towardZero = roundingBits(mffslInto0());
    std::fesetround(saved);
    EXPECT_EQ(towardZero, 1u);
}

TEST(FpscrTrapDeathTest, OtherIllegalInstructionsStillKill) {
    EXPECT_EXIT(asm volatile(".long 0"), testing::KilledBySignal(SIGILL), "");
    // The record form of mffsl does not exist; it must not be taken for mffs.
    EXPECT_EXIT(asm volatile(".long 0xfc18048f"), testing::KilledBySignal(SIGILL), "");
    EXPECT_EXIT(std::raise(SIGILL), testing::KilledBySignal(SIGILL), "");
}

}  // namespace
