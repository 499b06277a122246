// A control driven by name, as the player drives it, with helpers to pick
// operations out of the last redraw.
#pragma once

#include "ascanview/interface/oro_ascan_ctl.h"
#include "ascanview/render/ascan_graph.h"

#include <gtest/gtest.h>

#include <QList>
#include <QVariant>

#include <vector>

using namespace pelix::ascanview;

class AscanControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        set("fAscanDelay", 0.0);
        set("fAscanRange", 100.0);
    }

    void set(const char* name, const QVariant& value) {
        ASSERT_GE(ctl.metaObject()->indexOfProperty(name), 0) << name;
        ASSERT_TRUE(ctl.setProperty(name, value)) << name;
    }
    QVariant get(const char* name) const { return ctl.property(name); }

    void setSamples(const QList<qint16>& samples, int numPoints) {
        set("iPointArray", QVariant::fromValue(samples));
        set("iNumPoints", numPoints);
    }

    void redraw() { ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "UpdateAscanGraph")); }

    double W() const { return ctl.surface().scaleWidth(); }
    double H() const { return ctl.surface().scaleHeight(); }

    std::vector<SurfaceOp> ops(SurfaceOpKind kind, Rgb color) const {
        std::vector<SurfaceOp> found;
        for (const SurfaceOp& op : ctl.surface().ops())
            if (op.kind == kind && op.color == color) found.push_back(op);
        return found;
    }
    std::vector<SurfaceOp> opsOfColor(Rgb color) const {
        std::vector<SurfaceOp> found;
        for (const SurfaceOp& op : ctl.surface().ops())
            if (op.color == color && op.kind != SurfaceOpKind::Clear) found.push_back(op);
        return found;
    }

    OroAscanCtl ctl;
};

inline void expectLine(const SurfaceOp& op, double x1, double y1, double x2, double y2) {
    EXPECT_DOUBLE_EQ(op.x1, x1);
    EXPECT_DOUBLE_EQ(op.y1, y1);
    EXPECT_DOUBLE_EQ(op.x2, x2);
    EXPECT_DOUBLE_EQ(op.y2, y2);
}
