#include "platform/library_binding.h"
#include "platform/message_service.h"
#include "platform/window_services.h"
#include "support/case_names.h"

#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

namespace pelix::platform {
namespace {

TEST(MessageService, LogCollectsTextsAndIconsWhileItLives) {
    MessageService* modal = &MessageService::instance();
    {
        MessageLog outer;
        {
            MessageLog inner;
            showMessage("Not valid frame");
            showMessage("Gone", MessageIcon::Critical);
            ASSERT_EQ(inner.messages().size(), 2u);
            EXPECT_EQ(inner.messages()[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(inner.messages()[1].icon, MessageIcon::Critical);
        }
        showMessage("after");
        EXPECT_EQ(outer.texts(), QStringList{"after"});
    }
    EXPECT_EQ(&MessageService::instance(), modal);
}

TEST(LibraryBinding, MissingLibraryIsReportedNotFatal) {
    LibraryBinding binding("Pelix_NoSuchLibrary");
    EXPECT_FALSE(binding.load());
    EXPECT_EQ(binding.symbol("Anything"), nullptr);
    EXPECT_TRUE(binding.lastError().contains("Pelix_NoSuchLibrary")) << binding.lastError().toStdString();
    MessageLog log;
    EXPECT_EQ(binding.require<void (*)()>("Anything"), nullptr);
    EXPECT_EQ(binding.require<void (*)()>("Anything"), nullptr);
    EXPECT_EQ(log.messages().size(), 1u); // once per export, not on every call
}

TEST(LibraryBinding, CalculationLibraryResolvesByNameOnce) {
    LibraryBinding& cal = LibraryBinding::pelixCal();
    EXPECT_EQ(&cal, &LibraryBinding::pelixCal());
    ASSERT_TRUE(cal.load()) << cal.lastError().toStdString();
    void* first = cal.symbol("FormatCVRsltValue");
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(cal.symbol("FormatCVRsltValue"), first);
    EXPECT_EQ(cal.symbol("NoSuchExport"), nullptr);
    EXPECT_TRUE(cal.lastError().contains("NoSuchExport"));
}

struct ClampCase {
    QPoint point;
    QPoint expected;
};

class CursorClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(CursorClamp, KeepsThePointerInsideTheArea) {
    EXPECT_EQ(CursorConfinement::clamp(GetParam().point, QRect(100, 50, 200, 100)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Points, CursorClamp,
                         ::testing::Values(ClampCase{{150, 80}, {150, 80}}, ClampCase{{10, 80}, {100, 80}},
                                           ClampCase{{500, 80}, {299, 80}}, ClampCase{{150, 0}, {150, 50}},
                                           ClampCase{{150, 400}, {150, 149}}, ClampCase{{0, 0}, {100, 50}}),
                         [](const auto& info) {
                             return pelix::testing::caseName("X", info.param.point.x(), "Y",
                                                             info.param.point.y());
                         });

TEST(WindowServices, TopmostTogglesAndCaptureTakesTheWindowPicture) {
    QWidget window;
    window.resize(120, 80);
    window.show();
    setTopmost(&window, true);
    EXPECT_TRUE(isTopmost(&window));
    EXPECT_TRUE(window.isVisible());
    setTopmost(&window, false);
    EXPECT_FALSE(isTopmost(&window));
    const QImage picture = captureWindow(&window);
    EXPECT_EQ(picture.size(), QSize(120, 80) * window.devicePixelRatio());
    EXPECT_TRUE(captureWindow(nullptr).isNull());
}

TEST(WindowServices, CaptureIntoAKeptPictureIsBlackWhereTheWindowDoesNotReach) {
    QWidget top;
    top.resize(200, 200);
    auto* window = new QWidget(&top);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::green);
    window->setPalette(palette);
    window->setGeometry(0, 0, 40, 30);
    top.show();
    QImage picture(50, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(captureWindowInto(window, picture));
    EXPECT_EQ(picture.pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_EQ(picture.pixel(45, 10), qRgb(0, 0, 0));
    EXPECT_FALSE(captureWindowInto(nullptr, picture));
}

} // namespace
} // namespace pelix::platform
