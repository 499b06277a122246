#include "platform/control_binding.h"

#include <QObject>

#include <gtest/gtest.h>

namespace {

class Gauge : public QObject {
    Q_OBJECT
  public:
    enum Switch { Off = 0, On = 1 };
    Q_ENUM(Switch)

    Q_INVOKABLE void Mode(Switch s) { mode = s; }
    Q_INVOKABLE QString Label(int row, const QString& text) const {
        return QStringLiteral("%1:%2").arg(row).arg(text);
    }
    Q_INVOKABLE void Reset() { ++resets; }

    Switch mode = Off;
    int resets = 0;
};

using pelix::platform::callControl;
using pelix::platform::ControlBindingError;

TEST(CallControl, ConvertsArgumentsToTheDeclaredTypes) {
    Gauge gauge;
    callControl(&gauge, "Mode", {1});
    EXPECT_EQ(gauge.mode, Gauge::On);
    EXPECT_EQ(callControl(&gauge, "Label", {QString("3"), 42}).toString(), "3:42");
    EXPECT_FALSE(callControl(&gauge, "Reset").isValid());
    EXPECT_EQ(gauge.resets, 1);
}

TEST(CallControl, UnknownNameOrArgumentsFailLoudly) {
    Gauge gauge;
    EXPECT_THROW(callControl(&gauge, "Missing"), ControlBindingError);
    EXPECT_THROW(callControl(&gauge, "Mode"), ControlBindingError);
    EXPECT_THROW(callControl(&gauge, "Mode", {QString("on")}), ControlBindingError);
    EXPECT_THROW(callControl(nullptr, "Reset"), ControlBindingError);
}

} // namespace

#include "control_binding_call_test.moc"
