// Values typed where otherwise only the mouse reaches: lengths in the
// recording's units and back, fields whose named limits are the ones accepted,
// the gates dialog's fields (gate B relative to gate A's echo, a field left as
// it was keeping its value exactly) and the search box's limits.
#include "player/evaluation/gate_entry.h"
#include "player/evaluation/typed_units.h"
#include "player/search/search_box_entry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pelix::player {
namespace {

TEST(TypedUnits, LengthsGoToTheReadingsUnitsAndBack) {
    struct Case {
        const char* what;
        uint8_t units;
        float velocity;
        const char* symbol;
        int decimals;
        double display, typed;
    };
    const Case cases[] = {
        {"millimetres", 0, 5920.0F, "mm", 2, 12.5, 12.5},
        {"inches", 1, 0.2331F, "in", 3, 0.75, 0.75},
        // 2 x 29.6 mm at 5920 m/s is 10 us.
        {"microseconds", 2, 5920.0F, "\u00b5s", 3, 29.6, 10.0},
        {"microseconds without a velocity are typed in millimetres", 2, 0.0F, "mm", 2, 29.6, 29.6},
        {"a NaN velocity likewise", 2, std::nanf(""), "mm", 2, 29.6, 29.6},
    };
    for (const Case& c : cases) {
        const TypedUnits u = TypedUnits::of(c.units, c.velocity);
        EXPECT_STREQ(u.symbol(), c.symbol) << c.what;
        EXPECT_EQ(u.decimals, c.decimals) << c.what;
        EXPECT_NEAR(u.typed(c.display), c.typed, 1e-9) << c.what;
        EXPECT_NEAR(u.display(u.typed(c.display)), c.display, 1e-12) << c.what;
    }
}

TEST(TypedUnits, TheNamedEndsOfARangeAreAccepted) {
    // 0.004 .. 109.996 mm: named inwards as 0.01 .. 109.99, and both are taken.
    const TypedUnits mm = TypedUnits::of(0, 5920.0F);
    const TypedRange r = typedRange(mm, 0.004, 109.996);
    EXPECT_DOUBLE_EQ(r.low, 0.01);
    EXPECT_DOUBLE_EQ(r.high, 109.99);
    EXPECT_EQ(rangeText(r, 2, "mm"), "between 0.01 and 109.99 mm");
    // An end that is exactly a step is its own name, although 110 * 100 is not exact in binary.
    EXPECT_DOUBLE_EQ(typedRange(mm, 0.0, 110.0).high, 110.0);
    EXPECT_DOUBLE_EQ(typedRange(mm, 0.29, 1.1).low, 0.29);

    struct Case {
        const char* text;
        bool taken;
        double value;
    };
    const Case cases[] = {
        {"0.01", true, 0.01}, {"109.99", true, 109.99}, {" 55,5 ", true, 55.5}, {"+3", true, 3.0},
        {"0.009", false, 0},  {"109.991", false, 0},    {"", false, 0},         {"12 mm", false, 0},
        {"1e2", false, 0},    {"nan", false, 0},        {"-0.5", false, 0},
    };
    for (const Case& c : cases) {
        const TypedValue v = readTyped(c.text, r, 2, "mm");
        EXPECT_EQ(v.value.has_value(), c.taken) << c.text;
        EXPECT_EQ(v.refusal.empty(), c.taken) << c.text;
        if (c.taken) {
            EXPECT_DOUBLE_EQ(*v.value, c.value) << c.text;
        } else {
            EXPECT_NE(v.refusal.find("between 0.01 and 109.99 mm"), std::string::npos) << v.refusal;
        }
    }
    // Microseconds: the ends named in microseconds are taken, converted back.
    const TypedUnits us = TypedUnits::of(2, 5920.0F);
    const TypedRange ur = typedRange(us, 0.0, 110.0);
    EXPECT_DOUBLE_EQ(ur.high, 37.162); // 2 x 110 mm / 5920 m/s = 37.1621... us
    EXPECT_TRUE(readTyped("37.162", ur, 3, us.symbol()).value);
    EXPECT_FALSE(readTyped("37.163", ur, 3, us.symbol()).value);

    EXPECT_TRUE(readWhole("-100", -100, 100, "percent").value);
    EXPECT_EQ(readWhole("40.5", 0, 100, "percent").refusal, "Type a whole percent between 0 and 100");
    EXPECT_EQ(readWhole("101", 0, 100, "percent").refusal,
              "Out of reach: type a whole percent between 0 and 100");
}

// A frame of a recording in `units`, gates A and B on, as the frame view describes it.
struct Frame {
    recording::RecordingHeader setup;
    recording::DerivedSetup derived;
    frame::FrameView view;

    Frame(uint8_t units, int32_t rectification, int32_t gateBTrigger) {
        setup.Units = units;
        setup.Rectification = rectification;
        setup.GateBTrigger = gateBTrigger;
        derived.velocity = 5920.0F;
        view.setup = &setup;
        view.derived = &derived;
        frame::GateView& g = view.gates;
        g.ShowGateA = g.ShowGateB = true;
        g.fGateAStart = 10.0F;
        g.fGateAWidth = 20.0F;
        g.iGateAThresh = 40;
        g.gateBStartAsSet = 5.0F;
        g.fGateBStart = gateBTrigger ? 33.25F + 5.0F : 5.0F; // gate A's echo at 33.25
        g.fGateBWidth = 12.5F;
        g.iGateBThresh = 30;
    }
    GatesOnScreen now() const {
        return {view.gates.fGateAStart, view.gates.fGateBStart, 40, 30, 0.0F, 110.0F};
    }
};

TEST(GateEntry, FieldsStartWithTheGatesOnScreenInTheReadingsUnits) {
    const Frame mm(0, 3, 0);
    const GateEntry e(mm.view, mm.now());
    EXPECT_EQ(e.texts()[GateField::AStart], "10.00");
    EXPECT_EQ(e.texts()[GateField::AThreshold], "40");
    EXPECT_EQ(e.texts()[GateField::BStart], "5.00");
    EXPECT_FALSE(e.gateBRelative());
    EXPECT_EQ(e.widthText(true), "20.00");
    EXPECT_EQ(e.widthText(false), "12.50");
    EXPECT_EQ(e.lowestThreshold(), 0);

    // Triggered gate B: its start counts from gate A's echo, as the panel shows it.
    const Frame relative(0, 0, 1);
    const GateEntry r(relative.view, relative.now());
    EXPECT_TRUE(r.gateBRelative());
    EXPECT_EQ(r.texts()[GateField::BStart], "5.00");
    EXPECT_DOUBLE_EQ(r.startRange(false).low, -33.25);
    EXPECT_DOUBLE_EQ(r.startRange(false).high, 76.75);
    EXPECT_EQ(r.lowestThreshold(), -100) << "RF thresholds count from the centre line";

    const Frame us(2, 3, 0);
    const GateEntry u(us.view, us.now());
    EXPECT_EQ(u.texts()[GateField::AStart], "3.378"); // 2 x 10 mm / 5920 m/s
    EXPECT_EQ(u.widthText(true), "6.757");
}

TEST(GateEntry, TypedTextsBecomeTheGatesADragLeaves) {
    const Frame relative(0, 0, 1);
    const GateEntry e(relative.view, relative.now());

    // Unchanged: nothing changed, every shown gate at exactly its value.
    GateEntryResult same = e.read(e.texts());
    ASSERT_TRUE(same.accepted());
    EXPECT_FALSE(same.changed);
    ASSERT_TRUE(same.gates.gateA && same.gates.gateB);
    EXPECT_EQ(same.gates.gateA->start, 10.0F);
    EXPECT_EQ(same.gates.gateB->start, 38.25F);

    GateEntryTexts typed = e.texts();
    typed[GateField::AStart] = "12.34";
    typed[GateField::BStart] = "-3";
    typed[GateField::BThreshold] = "-45";
    const GateEntryResult moved = e.read(typed);
    ASSERT_TRUE(moved.accepted()) << moved.refusal(GateField::BStart);
    EXPECT_TRUE(moved.changed);
    EXPECT_EQ(moved.gates.gateA->start, 12.34F);
    EXPECT_EQ(moved.gates.gateA->threshold, 40);
    EXPECT_EQ(moved.gates.gateB->start, 30.25F) << "gate A's echo at 33.25 less 3";
    EXPECT_EQ(moved.gates.gateB->threshold, -45);

    // Out of reach: refused beside its field, never clamped.
    typed = e.texts();
    typed[GateField::AStart] = "110.01";
    typed[GateField::AThreshold] = "101";
    typed[GateField::BStart] = "-33.26";
    const GateEntryResult refused = e.read(typed);
    EXPECT_FALSE(refused.accepted());
    EXPECT_EQ(refused.refusal(GateField::AStart),
              "Outside the picture: type a value between 0.00 and 110.00 mm");
    EXPECT_EQ(refused.refusal(GateField::AThreshold),
              "Out of reach: type a whole percent between -100 and 100");
    EXPECT_EQ(refused.refusal(GateField::BStart),
              "Outside the picture: type a value between -33.25 and 76.75 mm");
    EXPECT_TRUE(refused.refusal(GateField::BThreshold).empty());

    // A hidden gate is not given to the drag.
    Frame hidden(0, 3, 0);
    hidden.view.gates.ShowGateB = false;
    const GateEntryResult onlyA =
        GateEntry(hidden.view, hidden.now()).read(GateEntry(hidden.view, hidden.now()).texts());
    EXPECT_TRUE(onlyA.gates.gateA.has_value());
    EXPECT_FALSE(onlyA.gates.gateB.has_value());
}

TEST(GateEntry, MicrosecondsTypedAtTheFarEdgeStayOnThePicture) {
    const Frame us(2, 3, 0);
    const GateEntry e(us.view, us.now());
    EXPECT_EQ(rangeText(e.startRange(true), 3, "us"), "between 0.000 and 37.162 us");
    GateEntryTexts typed = e.texts();
    typed[GateField::AStart] = "37.162";
    const GateEntryResult r = e.read(typed);
    ASSERT_TRUE(r.accepted());
    EXPECT_LE(r.gates.gateA->start, 110.0F);
    EXPECT_NEAR(r.gates.gateA->start, 37.162 * 5920.0 / 2000.0, 1e-4);
}

TEST(SearchBoxEntry, LimitsAreShownAndTypedWhereTheBoxIsDrawn) {
    const search::SearchLimits now{200.0, 400.0, 25.0, 75.0};
    // The picture from 10 mm, 110 mm across: the 0..800 scale's 200 is 37.5 mm.
    const SearchBoxEntry e(TypedUnits::of(0, 5920.0F), now, 10.0F, 110.0F);
    EXPECT_EQ(e.text(SearchField::From), "37.50");
    EXPECT_EQ(e.text(SearchField::To), "65.00");
    EXPECT_EQ(e.text(SearchField::Lowest), "25.0");
    EXPECT_EQ(e.text(SearchField::Highest), "75.0");
    for (const double limit : {0.0, 1.0, 399.999, 800.0})
        EXPECT_NEAR(e.limitOf(e.positionOf(limit)), limit, 1e-9) << limit;

    const SearchBoxEntryResult same = e.read(e.texts());
    EXPECT_FALSE(same.changed);
    EXPECT_EQ(same.limits.SearchLowwidthRange, 200.0);

    std::array<std::string, kSearchFields> typed = e.texts();
    typed[static_cast<std::size_t>(SearchField::From)] = "10.00";
    typed[static_cast<std::size_t>(SearchField::Highest)] = "100";
    const SearchBoxEntryResult edge = e.read(typed);
    ASSERT_TRUE(edge.accepted());
    EXPECT_DOUBLE_EQ(edge.limits.SearchLowwidthRange, 0.0);
    EXPECT_DOUBLE_EQ(edge.limits.SearchUphightlimit, 100.0);
    EXPECT_DOUBLE_EQ(edge.limits.SearchUpwidthRange, 400.0) << "a field left alone keeps its limit";

    typed = e.texts();
    typed[static_cast<std::size_t>(SearchField::To)] = "37.50";
    typed[static_cast<std::size_t>(SearchField::Lowest)] = "100.1";
    const SearchBoxEntryResult refused = e.read(typed);
    EXPECT_FALSE(refused.accepted());
    EXPECT_FALSE(refused.refusal(SearchField::To).empty()) << "a box needs a width";
    EXPECT_EQ(refused.refusal(SearchField::Lowest),
              "Outside the picture: type a value between 0.0 and 100.0 %");
}

} // namespace
} // namespace pelix::player
