#include <gtest/gtest.h>

#include "readings_fixture.h"
#include "support/case_names.h"

namespace pelix::cal::testing {
namespace {

constexpr int32_t kDBrA = 17, kDBrB = 18, kAPctRA = 19, kAPctRB = 20, kCLS = 21, kDBrA2 = 22, kDBrB2 = 23;

// Echo time whose filter-delayed arrival is `arrival` ticks (filter row 0: 2 * 64 + 24).
constexpr double at(int32_t arrival) {
    return arrival - 152;
}

class ReadingsEvaluationTest : public ReadingsTest {
  protected:
    void SetUp() override {
        ReadingsTest::SetUp();
        header.word(rh::Velocity, 59200).word(rh::Rectification, 3).word(rh::DGSBaseGain, 400);
        frame.gates(true, true).word(fh::GateAThreshold, 25).word(fh::GateBThreshold, 40);
    }
    // Two reference echoes: 80 % at 800 ticks and 40 % at 2400 ticks, both at 40 dB.
    void amplitudeCurve() {
        header.word(rh::ulNumOfStoredPoints, 2).dacPoint(0, 100, 400, 800).dacPoint(1, 300, 400, 400);
    }
    void referenceCurveMode(int32_t curveType = 0) {
        header.word(rh::EvalMode, 0).word(rh::TCGMode, 2).word(rh::DACCurveType, curveType);
    }
    void jisMode(int32_t boldLine = 0) {
        header.word(rh::EvalMode, 4).word(rh::JISEnable, 1).word(rh::JISBoldLine, boldLine);
        header.curveOffsets({0, -120, -60, 60, 120, 180});
    }
};

// Modes that fall back to rating against the gate threshold.
struct ThresholdModeCase {
    int32_t evalMode, tcgMode, dgsMode, jisEnable, cnRegs;
};

class ReadingsThresholdRuleTest : public ReadingsEvaluationTest,
                                  public ::testing::WithParamInterface<ThresholdModeCase> {};

TEST_P(ReadingsThresholdRuleTest, EchoAgainstGateThreshold) {
    const auto& m = GetParam();
    header.word(rh::EvalMode, m.evalMode).word(rh::TCGMode, m.tcgMode).word(rh::DGSMode, m.dgsMode);
    header.word(rh::JISEnable, m.jisEnable).word(rh::CNDACRegs, m.cnRegs);
    header.codes({kDBrA, kAPctRA, kDBrB, kAPctRB, kDBrA2, kDBrB2});
    load();
    gates(echo(400, 50), echo(800, 80));
    EXPECT_EQ(slot(0), (Shown{"6.0dB", 1}));
    EXPECT_EQ(slot(1), (Shown{"199%", 1}));
    EXPECT_EQ(slot(2), (Shown{"6.0dB", 1}));
    EXPECT_EQ(slot(3), (Shown{"199%", 1}));
    EXPECT_EQ(slot(4), (Shown{"6.0dB", 1}));
    EXPECT_EQ(slot(5), (Shown{"6.0dB", 1}));
}

INSTANTIATE_TEST_SUITE_P(ReadingsModes, ReadingsThresholdRuleTest,
                         ::testing::Values(ThresholdModeCase{2, 0, 0, 0, 0}, ThresholdModeCase{0, 0, 0, 0, 0},
                                           ThresholdModeCase{0, 3, 0, 0, 0}, ThresholdModeCase{1, 0, 0, 0, 0},
                                           ThresholdModeCase{4, 0, 0, 0, 0}, ThresholdModeCase{5, 0, 0, 0, 2},
                                           ThresholdModeCase{0x302, 1, 0, 0, 0}),
                         [](const auto& info) {
                             const ThresholdModeCase& m = info.param;
                             return pelix::testing::caseName("Eval", m.evalMode, "Tcg", m.tcgMode, "Dgs",
                                                             m.dgsMode, "Jis", m.jisEnable, "CnRegs",
                                                             m.cnRegs);
                         });

TEST_F(ReadingsEvaluationTest, ThresholdRuleNeedsRectifiedTriggeredUnclippedEcho) {
    frame.word(fh::GateAThreshold, -25);
    EXPECT_EQ(readCode(kDBrA, echo(400, 50)), (Shown{"6.0dB", 1}));
    EXPECT_EQ(readCode(kDBrA, echo(400, 4)), (Shown{"-----dB", 1}));
    EXPECT_EQ(readCode(kDBrA, {4095, 400, 0}), (Shown{"-----dB", 1}));
    EXPECT_EQ(readCode(kAPctRA, {4095, 400, 0}), (Shown{"-----%", 1}));
    header.word(rh::Rectification, 0);
    EXPECT_EQ(readCode(kDBrA, echo(400, 50)), (Shown{"-----dB", 1}));
    header.word(rh::Rectification, 3);
    frame.gates(false, true);
    EXPECT_EQ(readCode(kDBrA, echo(400, 50)), (Shown{"-----dB", 1}));
}

TEST_F(ReadingsEvaluationTest, SingleReferenceEchoCorrectedForTheGain) {
    header.word(rh::EvalMode, 0).word(rh::TCGMode, 1);
    amplitudeCurve();
    EXPECT_EQ(readCode(kDBrA, echo(400, 80)), (Shown{"0.0dB", 1}));
    EXPECT_EQ(readCode(kAPctRA, echo(400, 80)), (Shown{"100%", 1}));
    header.word(rh::DGSBaseGain, 460); // 6 dB more gain doubles the reference
    EXPECT_EQ(readCode(kDBrA, echo(400, 80)), (Shown{"-6.0dB", 1}));
    EXPECT_EQ(readCode(kAPctRA, echo(400, 80)), (Shown{"50%", 1}));
}

TEST_F(ReadingsEvaluationTest, ZeroReferenceHasNoPercentage) {
    header.word(rh::EvalMode, 0)
        .word(rh::TCGMode, 1)
        .word(rh::ulNumOfStoredPoints, 1)
        .dacPoint(0, 300, 400, 0);
    EXPECT_EQ(readCode(kAPctRA, echo(400, 80)), (Shown{"-----%", 1}));
    EXPECT_EQ(readCode(kDBrA, echo(400, 80)), (Shown{"0.0dB", 1}));
}

struct CurveCase {
    double time;
    int percent;
    const char* text;
};

class ReadingsAmplitudeCurveTest : public ReadingsEvaluationTest,
                                   public ::testing::WithParamInterface<CurveCase> {};

TEST_P(ReadingsAmplitudeCurveTest, InterpolatedBetweenReferenceEchoes) {
    referenceCurveMode();
    amplitudeCurve();
    // A point past the stored ones must not be read.
    header.dacPoint(2, 300, 0, 9999);
    EXPECT_EQ(readCode(kDBrA, echo(GetParam().time, GetParam().percent)).text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(ReadingsTimes, ReadingsAmplitudeCurveTest,
                         ::testing::Values(CurveCase{at(1600), 60, "0.0dB"}, // halfway: 60 %
                                           CurveCase{at(1600), 30, "-6.0dB"},
                                           CurveCase{at(252), 80, "0.0dB"},  // before the first point
                                           CurveCase{at(2400), 40, "0.0dB"}, // on the last point
                                           CurveCase{at(2401), 40, "-----dB"}),
                         [](const auto& info) {
                             return pelix::testing::caseName("Echo", info.param.percent, "PercentReads",
                                                             info.param.text);
                         });

TEST_F(ReadingsEvaluationTest, GainSteppedPointsShiftTheReference) {
    referenceCurveMode(1);
    header.word(rh::ulNumOfStoredPoints, 2).dacPoint(0, 100, 400, 800).dacPoint(1, 300, 460, 800);
    // Halfway the step is -3 dB: the 80 % reference reads 56.6 %.
    EXPECT_EQ(readCode(kDBrA, echo(at(1600), 80)).text, "3.0dB");
    EXPECT_EQ(readCode(kAPctRA, echo(at(1600), 80)).text, "141%");
}

TEST_F(ReadingsEvaluationTest, ReceiverFilterDelaysTheEcho) {
    referenceCurveMode();
    amplitudeCurve();
    header.word(rh::FilterSetup, 0x15); // filter 5: 2 * 40 + 24 ticks
    EXPECT_EQ(readCode(kDBrA, echo(1600 - 104, 60)).text, "0.0dB");
    for (int32_t filter : {10, 15, 0x1A}) {
        header.word(rh::FilterSetup, filter);
        EXPECT_EQ(readCode(kDBrA, echo(at(1600), 60)).text, "-----dB") << filter;
    }
}

TEST_F(ReadingsEvaluationTest, PointCountOutsideTheTable) {
    referenceCurveMode();
    amplitudeCurve();
    for (int32_t count : {0, -1, 17, 1 << 30}) {
        header.word(rh::ulNumOfStoredPoints, count);
        EXPECT_EQ(readCode(kDBrA, echo(at(1600), 60)).text, "-----dB") << count;
    }
}

struct ClassCase {
    int percent;
    const char* text;
};

class ReadingsJisClassTest : public ReadingsEvaluationTest,
                             public ::testing::WithParamInterface<ClassCase> {};

TEST_P(ReadingsJisClassTest, ClassAgainstTheUnshiftedCurve) {
    jisMode(1);
    amplitudeCurve();
    EXPECT_EQ(readCode(kCLS, echo(at(1600), GetParam().percent)), (Shown{GetParam().text, 1}));
}

INSTANTIATE_TEST_SUITE_P(ReadingsHeights, ReadingsJisClassTest,
                         ::testing::Values(ClassCase{60, "IV"}, ClassCase{30, "III"}, ClassCase{15, "II"},
                                           ClassCase{10, "I"}),
                         [](const auto& info) {
                             return pelix::testing::caseName("Height", info.param.percent, "Class",
                                                             info.param.text);
                         });

TEST_F(ReadingsEvaluationTest, JisBoldLineShiftsTheReference) {
    amplitudeCurve();
    jisMode(1);
    EXPECT_EQ(readCode(kDBrA, echo(at(1600), 30)).text, "0.0dB");
    jisMode(2);
    EXPECT_EQ(readCode(kDBrA, echo(at(1600), 15)).text, "0.0dB");
    jisMode(3);
    EXPECT_EQ(readCode(kDBrA, echo(at(1600), 60)).text, "0.0dB");
}

TEST_F(ReadingsEvaluationTest, JisWithOtherCurveOffsetsHasNoValue) {
    amplitudeCurve();
    jisMode();
    header.word(rh::CurveOffsets, 170, 5);
    EXPECT_EQ(readCode(kDBrA, echo(at(1600), 60)), (Shown{"-----dB", 1}));
    EXPECT_EQ(readCode(kAPctRA, echo(at(1600), 60)), (Shown{"-----%", 1}));
    EXPECT_EQ(readCode(kCLS, echo(at(1600), 60)), (Shown{"-----", 1}));
}

TEST_F(ReadingsEvaluationTest, ClassOnlyUnderJis) {
    amplitudeCurve();
    referenceCurveMode();
    EXPECT_EQ(readCode(kCLS, echo(at(1600), 60)), (Shown{"-----", 1}));
}

TEST_F(ReadingsEvaluationTest, CnCurveShiftedByTheSecondOffset) {
    amplitudeCurve();
    header.word(rh::EvalMode, 5).curveOffsets({0, 0, 60, 0, 0, 0});
    for (int32_t regs : {1, 5}) {
        header.word(rh::CNDACRegs, regs);
        EXPECT_EQ(readCode(kDBrA, echo(at(1600), 60)).text, "-6.0dB") << regs;
    }
}

TEST_F(ReadingsEvaluationTest, DgsRatesGateAOnly) {
    header.word(rh::EvalMode, 1).word(rh::DGSMode, 1);
    for (int32_t code : {kDBrB, kDBrB2})
        EXPECT_EQ(readCode(code, echo(400), echo(800)).text, "-----dB");
    EXPECT_EQ(readCode(kAPctRB, echo(400), echo(800)).text, "-----%");
    EXPECT_EQ(readCode(kDBrA, echo(400, 4)).text, "-----dB");
}

} // namespace
} // namespace pelix::cal::testing
