// Decoding of the FPSCR-move family, from encodings the assembler gives for each mnemonic.
#include "tests/ppc_support/fpscr_move.h"

#include <gtest/gtest.h>

namespace {

using tovrel::ppc::isFpscrMoveVariant;
using tovrel::ppc::targetRegister;

TEST(FpscrMove, AcceptsTheMffsVariantsOnly) {
    EXPECT_TRUE(isFpscrMoveVariant(0xfc18048e));   // mffsl f0
    EXPECT_TRUE(isFpscrMoveVariant(0xfda1048e));   // mffsce f13
    EXPECT_TRUE(isFpscrMoveVariant(0xfc142c8e));   // mffscdrn f0,f5
    EXPECT_TRUE(isFpscrMoveVariant(0xfc151c8e));   // mffscdrni f0,3
    EXPECT_TRUE(isFpscrMoveVariant(0xfff6f48e));   // mffscrn f31,f30
    EXPECT_TRUE(isFpscrMoveVariant(0xfc171c8e));   // mffscrni f0,3
    EXPECT_FALSE(isFpscrMoveVariant(0xfc00048e));  // mffs f0: legal already
    EXPECT_FALSE(isFpscrMoveVariant(0xfc00048f));  // mffs. f0
    EXPECT_FALSE(isFpscrMoveVariant(0xfc18048f));  // record form of mffsl: no such thing
    EXPECT_FALSE(isFpscrMoveVariant(0xfc02048e));  // unassigned variant
    EXPECT_FALSE(isFpscrMoveVariant(0xfc19048e));  // unassigned variant
    EXPECT_FALSE(isFpscrMoveVariant(0xfc00058e));  // mtfsf
    EXPECT_FALSE(isFpscrMoveVariant(0x00000000));
}

TEST(FpscrMove, TargetRegisterIsBits6To10) {
    EXPECT_EQ(targetRegister(0xfc18048e), 0);
    EXPECT_EQ(targetRegister(0xfda1048e), 13);
    EXPECT_EQ(targetRegister(0xfff6f48e), 31);
}

}  // namespace
