// Whatever a recording or a gate measurement holds, every reading is a bounded
// text with a defined flag: no crash, no undefined arithmetic, no "nan" or "inf".
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "dgs/dgs_state.h"
#include "readings_fixture.h"

namespace pelix::cal::testing {
namespace {

class ReadingsRobustnessTest : public ReadingsTest {
  protected:
    void TearDown() override { dgs::resetState(); }

    int32_t anyWord() {
        static constexpr int32_t kEdges[] = {0,
                                             1,
                                             2,
                                             4,
                                             5,
                                             -1,
                                             89,
                                             890,
                                             900,
                                             1800,
                                             3600,
                                             16,
                                             17,
                                             std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max()};
        switch (rng() % 4) {
        case 0:
            return kEdges[rng() % std::size(kEdges)];
        case 1:
            return static_cast<int32_t>(rng() % 4000);
        case 2:
            return static_cast<int32_t>(rng() % 400000) - 100000;
        default:
            return static_cast<int32_t>(rng());
        }
    }
    double anyGateValue() {
        static constexpr double kEdges[] = {std::numeric_limits<double>::quiet_NaN(),
                                            std::numeric_limits<double>::infinity(),
                                            -std::numeric_limits<double>::infinity(),
                                            1e300,
                                            -1e300,
                                            9.3e18,
                                            -2147483649.0,
                                            4294967295.0};
        switch (rng() % 4) {
        case 0:
            return kEdges[rng() % std::size(kEdges)];
        case 1:
            return kNothingFound + static_cast<double>(rng() % 5000);
        default:
            return static_cast<double>(rng() % 9000);
        }
    }

    std::mt19937 rng{20261207};
};

TEST_F(ReadingsRobustnessTest, RandomSetupsAndGates) {
    static constexpr layout::Field kWords[] = {
        rh::Units,         rh::ProbeDelay,       rh::DisplayDelay_ns,     rh::Velocity,
        rh::Rectification, rh::PathAsZoneNumber, rh::ZoneLengthsVariable, rh::ReadingSlotCount,
        rh::EvalMode,      rh::TCGMode,          rh::DACCurveType,        rh::ulNumOfStoredPoints,
        rh::PrbAngle,      rh::TrigThk,          rh::ProbeXValue,         rh::ODiameter,
        rh::DGSMode,       rh::DGSProbeNum,      rh::DGSEffeDiam,         rh::DGSTestAtten,
        rh::DGSRefAmp,     rh::DGSBaseGain,      rh::DGSRefGain,          rh::FilterSetup,
        rh::GateBRelative, rh::JISEnable,        rh::JISBoldLine,         rh::CNDACRegs};
    const double nearFields[] = {0.0, -1.0, 1e-300, std::numeric_limits<double>::quiet_NaN(), 20.0};

    int valuesShown = 0;
    for (int round = 0; round < 3000; ++round) {
        for (const layout::Field& field : kWords)
            header.word(field, anyWord());
        for (std::size_t i = 0; i < 14; ++i)
            header.word(rh::ReadingCodes, static_cast<int32_t>(rng() % 26), i);
        for (std::size_t j = 0; j < 6; ++j)
            header.word(rh::CurveOffsets, anyWord(), j);
        for (std::size_t k = 0; k < 16; ++k)
            header.dacPoint(k, anyWord(), anyWord(), anyWord());
        for (const layout::Field& field : {fh::GateAThreshold, fh::GateAOn, fh::GateBThreshold, fh::GateBOn})
            frame.word(field, anyWord());
        dgs::state().nearField_mm = nearFields[rng() % std::size(nearFields)];
        dgs::state().referenceCorrection_dB = static_cast<double>(anyWord());

        load();
        for (int frameNo = 0; frameNo < 3; ++frameNo) {
            gates({anyGateValue(), anyGateValue(), anyGateValue()},
                  {anyGateValue(), anyGateValue(), anyGateValue()});
            for (int32_t s = -1; s <= 11; ++s) {
                const Shown shown = slot(s);
                ASSERT_TRUE(shown.current == 0 || shown.current == 1) << round;
                ASSERT_EQ(shown.text.find("nan"), std::string::npos) << shown << " round " << round;
                ASSERT_EQ(shown.text.find("inf"), std::string::npos) << shown << " round " << round;
                if (!shown.text.empty() && shown.text.rfind("-----", 0) != 0) ++valuesShown;
            }
            int32_t carets[4];
            CVUpdatedCaret(&carets[0], &carets[1], &carets[2], &carets[3]);
        }
    }
    // The setups must reach the arithmetic, not only the "no value" exits.
    EXPECT_GT(valuesShown, 10000);
}

} // namespace
} // namespace pelix::cal::testing
