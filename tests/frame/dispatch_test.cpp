// Requests reach exactly one operation with the right arguments, and the answer is passed
// through or fixed as the request tables say. Numbers, not names: the published numbers are
// what a host sends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "frame_test_support.h"

namespace {

// Request number, index, value, what the journal shows, the dispatcher's answer.
using Request = std::tuple<VstInt32, VstInt32, VstIntPtr, std::string, VstIntPtr>;
#define TOVREL_REQUEST(opcode, R, name, params, args, logged, answer) \
    {opcode, 3, 5, std::string(#name "(") + logged + ")", answer},
const std::vector<Request> kRoutes = {TOVREL_EFFECT_ROUTES(TOVREL_REQUEST)};
// 6 programs: 6 is ignored, -1 passes the signed test.
const std::vector<Request> kValues = {
    {2, 0, 6, "", 0},
    {2, 0, -1, "setProgram(-1)", 0},
    {12, 0, 0, "suspend()", 0},
    {12, 0, -1, "resume()", 0},
    {23, 0, 0, "getChunk(P,0)", 7},
    {22, 0, 0, "", 1316373862},
    {13, 0, 0, "", 0},
    {14, 0, 0, "", 0},
    {17, 0, 0, "", 0},
    {18, 0, 0, "", 0},
    {59, 0, 0, "", 0},
    {61, 0, 0, "", 0},
};

TEST(Dispatch, EachRequestMakesOneCallWithItsArgumentsAndAnswer) {
    RecordingEffect effect;
    takeJournal();
    // Straight to the virtual dispatcher: through the record, close would free the effect.
    for (const auto* requests : {&kRoutes, &kValues}) {
        for (const auto& [opcode, index, value, journal, answer] : *requests) {
            EXPECT_EQ(effect.dispatcher(opcode, index, value, kPointer, 0.5f), answer) << opcode;
            EXPECT_EQ(takeJournal(), journal) << opcode;
        }
    }
    // The meter reading is scaled and truncated toward zero, and stays defined out of range.
    const std::pair<double, VstIntPtr> readings[] = {
        {0.5, 16383}, {-0.25, -8191}, {1e30, INT32_MAX}, {-1e30, INT32_MIN}, {NAN, 0}};
    for (const auto& [vu, answer] : readings) {
        effect.reply = vu;
        EXPECT_EQ(effect.dispatcher(9, 0, 0, nullptr, 0), answer) << vu;
    }
}

TEST(Dispatch, DefaultsAnswerAsDocumentedAndTolerateNullPointers) {
    BareEffect effect;
    for (VstInt32 opcode = -1; opcode <= 80; ++opcode) effect.dispatcher(opcode, 0, 0, nullptr, 0);
    const std::pair<VstInt32, VstIntPtr> answers[] = {{26, 1}, {28, 1}, {73, 5}};
    for (const auto& [opcode, answer] : answers) {
        EXPECT_EQ(effect.dispatcher(opcode, 0, 5, nullptr, 0), answer) << opcode;
    }
    char text[4] = "abc";
    effect.dispatcher(8, 0, 0, text, 0);
    EXPECT_STREQ(text, "");
    auto* in = sentinel<VstSpeakerArrangement>();
    VstSpeakerArrangement* out = in;
    EXPECT_EQ(effect.dispatcher(69, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0), 0);
    EXPECT_TRUE(in == nullptr && out == nullptr);
}

}  // namespace
