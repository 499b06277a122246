// Which gates a drag moved: only a shown gate whose start or threshold the
// drag changed is taken to every frame.
#include "player/evaluation/dragged_gates.h"

#include <gtest/gtest.h>

namespace pelix::player {
namespace {

struct DragCase {
    const char* name;
    evaluation::MovedGates left;
    bool movesA, movesB;
};

frame::GateView frameGates() {
    frame::GateView g;
    g.ShowGateA = g.ShowGateB = true;
    g.fGateAStart = 12.5F;
    g.iGateAThresh = 40;
    g.fGateBStart = 30.25F;
    g.iGateBThresh = -20;
    return g;
}

class DraggedGatesTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(DraggedGatesTest, OnlyAShownGateTheDragChangedIsMoved) {
    const DragCase& c = GetParam();
    const DraggedGates moved = draggedGates(frameGates(), c.left);
    ASSERT_EQ(moved.gateA.has_value(), c.movesA);
    ASSERT_EQ(moved.gateB.has_value(), c.movesB);
    if (moved.gateA) {
        EXPECT_EQ(moved.gateA->start, c.left.newGateAStart);
        EXPECT_EQ(moved.gateA->threshold, c.left.newGateAThresh);
    }
    if (moved.gateB) {
        EXPECT_EQ(moved.gateB->start, c.left.newGateBStart);
        EXPECT_EQ(moved.gateB->threshold, c.left.newGateBThresh);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DraggedGatesTest,
    ::testing::Values(DragCase{"Untouched", {12.5F, 30.25F, 40, -20, true, true}, false, false},
                      DragCase{"AStart", {14.0F, 30.25F, 40, -20, true, true}, true, false},
                      DragCase{"AThresholdOnly", {12.5F, 30.25F, 55, -20, true, true}, true, false},
                      DragCase{"BOnly", {12.5F, 31.0F, 40, -35, true, true}, false, true},
                      DragCase{"Both", {10.0F, 31.0F, 41, -20, true, true}, true, true},
                      // A hidden gate cannot have been dragged, whatever its bar says.
                      DragCase{"HiddenGateA", {14.0F, 31.0F, 40, -20, false, true}, false, true},
                      // A threshold the instrument's 16-bit word cannot hold is no place to leave a gate.
                      DragCase{"ThresholdOutOfRange", {12.5F, 30.25F, 40000, -20, true, true}, false, false}),
    [](const ::testing::TestParamInfo<DragCase>& info) { return std::string(info.param.name); });

TEST(DraggedGates, EqualOnlyWithTheSameGatesInTheSamePlaces) {
    const DraggedGates a{frame::DraggedGate{12.5F, 40}, std::nullopt};
    EXPECT_EQ(a, a);
    EXPECT_FALSE(a == (DraggedGates{frame::DraggedGate{12.5F, 41}, std::nullopt}));
    EXPECT_FALSE(a == (DraggedGates{frame::DraggedGate{12.5F, 40}, frame::DraggedGate{1.0F, 1}}));
    EXPECT_FALSE(a == (DraggedGates{std::nullopt, frame::DraggedGate{12.5F, 40}}));
}

} // namespace
} // namespace pelix::player
