#include <gtest/gtest.h>

#include <cstdlib>

#include "dgs/dgs_state.h"
#include "readings_fixture.h"

namespace pelix::cal::testing {
namespace {

constexpr int32_t kERS = 14, kGT = 15, kGR = 16, kDBrA = 17, kAPctRA = 19;
constexpr int32_t kOwnDiagramProbe = 25; // a probe with its own diagram in mm, reflectors up to 8 mm

class ReadingsDgsTest : public ReadingsTest {
  protected:
    void SetUp() override {
        ReadingsTest::SetUp();
        dgs::resetState();
        header.word(rh::Velocity, 59200)
            .word(rh::EvalMode, 1)
            .word(rh::DGSMode, 1)
            .word(rh::DGSProbeNum, kOwnDiagramProbe)
            .word(rh::DGSBaseGain, 400)
            .word(rh::DGSRefAmp, 400)
            .word(rh::DGSRefGain, 300)
            .codes({kERS, kGT, kGR, kDBrA, kAPctRA});
        frame.gates(true, true);
    }
    void TearDown() override { dgs::resetState(); }

    // The display's curve for a 2 mm reflector, and a reference correction that
    // puts an 80 % echo at `echoPath_mm` 0.65 dB above that curve.
    void drawTwoMillimetreCurveAbove(double echoPath_mm) {
        std::array<int32_t, PELIX_DGS_BLOCK_WORDS> block{};
        block[PELIX_DGS_PROBE_NUM / 4] = kOwnDiagramProbe;
        block[PELIX_DGS_ERS / 4] = 2000;
        block[PELIX_DGS_VELOCITY / 4] = 59200;
        ASSERT_GT(CVDGSNumOfERSCurvePoints(block.data(), nullptr), 0);
        double curve = 0;
        ASSERT_TRUE(dgs::ersCurveValue(echoPath_mm / dgs::state().nearField_mm, curve));
        dgs::state().referenceCorrection_dB = 40.0 + 0.65 - curve;
    }
};

// 6757 ticks at 5920 m/s: 50.003 mm of sound path.
constexpr double kEchoAt50mm = 6757;

TEST_F(ReadingsDgsTest, GainsOnlyOnceGateAHasTriggered) {
    load();
    gates(echo(kEchoAt50mm, 4));
    EXPECT_EQ(slot(1), (Shown{"-----dB", 1}));
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(1), (Shown{"40.0dB", 1}));
    // 80 % against the 40 % reference echo at 30 dB.
    EXPECT_EQ(slot(2), (Shown{"36.0dB", 1}));
    gates(echo(kEchoAt50mm, 4));
    EXPECT_EQ(slot(1), (Shown{"40.0dB", 1}));
    load();
    EXPECT_EQ(slot(1), (Shown{"-----dB", 1}));
}

TEST_F(ReadingsDgsTest, GainsNeedDgsEvaluation) {
    header.word(rh::DGSMode, 0);
    load();
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(1), (Shown{"-----dB", 1}));
    EXPECT_EQ(slot(2), (Shown{"-----dB", 1}));
}

TEST_F(ReadingsDgsTest, EchoAgainstTheDrawnCurveAndItsReflectorSize) {
    drawTwoMillimetreCurveAbove(50.003);
    load();
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(3), (Shown{"0.6dB", 1}));
    EXPECT_EQ(slot(4), (Shown{"107%", 1}));
    // A little more than the 2 mm reflector, by linear steps between the diagram's sizes.
    const Shown ers = slot(0);
    EXPECT_EQ(ers.current, 1);
    const double ers_mm = std::atof(ers.text.c_str());
    EXPECT_GT(ers_mm, 2.0) << ers;
    EXPECT_LT(ers_mm, 3.0) << ers;
    EXPECT_EQ(ers.text.substr(ers.text.size() - 2), "mm");
}

TEST_F(ReadingsDgsTest, BlockKeptUntilTheNextSetup) {
    drawTwoMillimetreCurveAbove(50.003);
    load();
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(3).text, "0.6dB");
    dgs::state().referenceCorrection_dB += 1.0;
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(3).text, "0.6dB");
    load();
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(3).text, "1.6dB");
}

TEST_F(ReadingsDgsTest, ClippedOrUntriggeredEchoHasNoDgsValues) {
    drawTwoMillimetreCurveAbove(50.003);
    load();
    gates({4095, kEchoAt50mm, 0});
    EXPECT_EQ(slot(0), (Shown{"-----", 1}));
    EXPECT_EQ(slot(3), (Shown{"-----dB", 1}));
    EXPECT_EQ(slot(4), (Shown{"-----%", 1}));
    gates(echo(kEchoAt50mm, 4));
    EXPECT_EQ(slot(3), (Shown{"-----dB", 1}));
}

TEST_F(ReadingsDgsTest, WithoutCurveOrProbeOnlyTheGainsRemain) {
    load(); // no curve drawn yet
    gates(echo(kEchoAt50mm, 80));
    EXPECT_EQ(slot(0), (Shown{"-----", 1}));
    EXPECT_EQ(slot(3), (Shown{"-----dB", 1}));
    EXPECT_EQ(slot(1), (Shown{"40.0dB", 1}));

    drawTwoMillimetreCurveAbove(50.003);
    for (int32_t probe : {-1, 41, 1 << 30}) {
        header.word(rh::DGSProbeNum, probe);
        load();
        gates(echo(kEchoAt50mm, 80));
        EXPECT_EQ(slot(0), (Shown{"-----", 1})) << probe;
        EXPECT_EQ(slot(3), (Shown{"-----dB", 1})) << probe;
        EXPECT_EQ(slot(1), (Shown{"40.0dB", 1})) << probe;
    }
}

} // namespace
} // namespace pelix::cal::testing
