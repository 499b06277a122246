// Typed values in the main window: gates applied as a drag at those values
// leave the window as a mouse drag there leaves it; the gates, search box and
// video range dialogs start with what is shown, refuse what is out of reach
// beside the field and apply the rest.
#include "player/window_test_support.h"

#include "platform/control_binding.h"
#include "platform/track_bar.h"
#include "player/overview/overview_window.h"
#include "player/playback/player_session.h"
#include "player/ui/gates_dialog.h"
#include "player/ui/search_box_dialog.h"
#include "player/ui/video_range_dialog.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace pelix::player::test {
namespace {

class TypedValuesTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Laid out as on screen, so that the mouse finds the bars where they are drawn.
        window->showOffScreen();
    }
    QWidget* ascan() { return window->controls().Ascan; }
    QWidget* picture() { return ascan()->findChild<QWidget*>(QStringLiteral("picAscan")); }
    QVariant prop(const char* name) { return platform::controlProperty(ascan(), name); }

    // What a user sees of the gates' effect: readings, the control's panel, its picture and the overview's
    // note.
    struct Seen {
        QStringList readings, panel;
        QImage picture;
        QString overview;
    };
    Seen seen() {
        Seen s;
        for (QLabel* l : window->controls().lblRdValue)
            s.readings << l->text();
        for (int r = 0; r < 16; ++r)
            s.panel << ascan()->findChild<QLabel*>(QStringLiteral("lblParamValue%1").arg(r))->text();
        s.picture = platform::callControl(ascan(), "surfaceImage").value<QImage>();
        s.overview = window->overview().findChild<QLabel*>(QStringLiteral("lblOverviewSeries"))->text();
        return s;
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, picture()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(picture(), &e);
    }
    // Gate A's bar in the picture's pixels, where the control draws it.
    QPointF gateABar() {
        const double delay = prop("fAscanDelay").toDouble(), range = prop("fAscanRange").toDouble();
        const double x = (prop("fGateAStart").toDouble() - delay) / range * picture()->width();
        const double y = (100.0 - prop("iGateAThresh").toDouble()) / 100.0 * picture()->height();
        return {x, y};
    }
    template <typename Dialog> Dialog* openDialog(WindowKey key) {
        for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
            if (s->key() == keyOf(key)) emit s->activated();
        auto* d = window->findChild<Dialog*>();
        EXPECT_NE(d, nullptr);
        return d;
    }
    template <typename Dialog> void type(Dialog* d, const char* field, const QString& text) {
        auto* edit = d->template findChild<QLineEdit*>(QString::fromLatin1(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setText(text);
    }
    template <typename Dialog> QString refusal(Dialog* d, const char* field) {
        auto* label = d->template findChild<QLabel*>(QString::fromLatin1(field) + QStringLiteral("Refusal"));
        return label && !label->isHidden() ? label->text() : QString();
    }
};

TEST_F(TypedValuesTest, GatesAppliedAsADragLeaveWhatAMouseDragThereLeaves) {
    const QString path = files.write("gates.bin", recordingOptions(200));
    open(path);
    window->jumpToFrame(120);
    const Seen recorded = seen();

    const QPointF grab = gateABar() + QPointF(3, 0);
    const QPointF to(grab.x() + 37.3, picture()->height() * 0.41);
    mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    auto* preview = ascan()->findChild<QWidget*>(QStringLiteral("GateDragPreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->isHidden()) << "the bar's preview follows the pointer";
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_TRUE(preview->isHidden());
    const float start = prop("newGateAStart").toFloat();
    const int threshold = prop("newGateAThresh").toInt();
    ASSERT_NE(start, recorded.panel[5].toFloat());
    const Seen byMouse = seen();

    // The same frame shown afresh, then the gates applied at the mouse's values.
    window->jumpToFrame(121);
    window->jumpToFrame(120);
    EXPECT_EQ(seen().readings, recorded.readings);
    window->applyGatesAsDrag({frame::DraggedGate{start, static_cast<int16_t>(threshold)}, std::nullopt});
    const Seen byValues = seen();
    EXPECT_EQ(prop("newGateAStart").toFloat(), start);
    EXPECT_EQ(prop("newGateAThresh").toInt(), threshold);
    EXPECT_EQ(byValues.readings, byMouse.readings);
    EXPECT_EQ(byValues.panel, byMouse.panel);
    EXPECT_EQ(byValues.overview, byMouse.overview);
    EXPECT_FALSE(byValues.overview.isEmpty());
    EXPECT_TRUE(byValues.picture == byMouse.picture) << "the picture after release";
}

TEST_F(TypedValuesTest, NoDragIsMadeWhereTheMouseCouldMakeNone) {
    window->applyGatesAsDrag({frame::DraggedGate{10.0F, 30}, std::nullopt}); // nothing open
    EXPECT_FALSE(window->gateDragRefusal().isEmpty());
    open(files.write("gates.bin", recordingOptions(200)));
    EXPECT_TRUE(window->gateDragRefusal().isEmpty());
    window->jumpToFrame(120);
    const QStringList before = seen().readings;
    window->controls().cmdPlayStop->click(); // playing: the gates cannot be grabbed
    EXPECT_FALSE(window->gateDragRefusal().isEmpty());
    window->applyGatesAsDrag({frame::DraggedGate{10.0F, 30}, std::nullopt});
    EXPECT_EQ(seen().readings, before);
    window->controls().cmdPlayStop->click();
}

TEST_F(TypedValuesTest, TheGatesDialogRefusesBesideTheFieldAndAppliesAsADrag) {
    synth::SynthOptions options = recordingOptions(200);
    options.units = 1; // inches: three decimals
    open(files.write("inch.bin", options));
    window->jumpToFrame(120);
    auto* d = openDialog<GatesDialog>(WindowKey::Gates);
    ASSERT_NE(d, nullptr);
    auto* start = d->findChild<QLineEdit*>(QStringLiteral("txtGateAStart"));
    ASSERT_NE(start, nullptr);
    auto* row5 = ascan()->findChild<QLabel*>(QStringLiteral("lblParamValue5"));
    EXPECT_EQ(start->text(), row5->text()) << "the start as the panel shows it";
    EXPECT_FALSE(d->findChild<QLineEdit*>(QStringLiteral("txtGateAWidth"))->isEnabled());

    type(d, "txtGateAStart", QStringLiteral("1e9"));
    type(d, "txtGateAThresh", QStringLiteral("250"));
    d->accept();
    EXPECT_TRUE(d->isVisible()) << "still open";
    EXPECT_TRUE(refusal(d, "txtGateAStart").startsWith(QStringLiteral("Gate A start: Not a number")))
        << refusal(d, "txtGateAStart").toStdString();
    EXPECT_TRUE(refusal(d, "txtGateAThresh").contains(QStringLiteral("between 0 and 100")));
    EXPECT_EQ(prop("newGateAThresh").toInt(), prop("iGateAThresh").toInt()) << "nothing applied";

    const double picked = prop("fAscanDelay").toDouble() + prop("fAscanRange").toDouble() / 3;
    const QString startText = QString::number(picked, 'f', 3);
    type(d, "txtGateAStart", startText);
    type(d, "txtGateAThresh", QStringLiteral("37"));
    d->accept();
    EXPECT_TRUE(refusal(d, "txtGateAStart").isEmpty());
    EXPECT_EQ(prop("newGateAStart").toFloat(), startText.toFloat());
    EXPECT_EQ(prop("newGateAThresh").toInt(), 37);
    EXPECT_EQ(row5->text(), startText) << "the panel shows the typed start";
}

TEST_F(TypedValuesTest, TheGatesDialogConfirmedUnchangedMovesNothing) {
    open(files.write("gates.bin", recordingOptions(200)));
    window->jumpToFrame(120);
    const QStringList recorded = seen().readings;
    auto* d = openDialog<GatesDialog>(WindowKey::Gates);
    ASSERT_NE(d, nullptr);
    d->accept();
    EXPECT_EQ(seen().readings, recorded) << "the recorded readings stay";
}

TEST_F(TypedValuesTest, TheSearchBoxDialogPlacesTheBoxAtTheTypedLimits) {
    open(files.write("search.bin", recordingOptions(40)));
    auto* d = openDialog<SearchBoxDialog>(WindowKey::SearchBox);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(window->controls().CheckSearch->isChecked()) << "the box is typed where it can be seen";
    const double delay = prop("fAscanDelay").toDouble(), range = prop("fAscanRange").toDouble();
    const auto at = [&](double limit) { return QString::number(delay + range * limit / 800.0, 'f', 2); };
    EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("txtSearchFrom"))->text(),
              at(prop("SearchLowwidthRange").toDouble()));

    type(d, "txtSearchLowest", QStringLiteral("60"));
    type(d, "txtSearchHighest", QStringLiteral("40"));
    d->accept();
    EXPECT_FALSE(refusal(d, "txtSearchHighest").isEmpty());

    type(d, "txtSearchFrom", at(100));
    type(d, "txtSearchTo", at(300));
    type(d, "txtSearchLowest", QStringLiteral("20"));
    type(d, "txtSearchHighest", QStringLiteral("80.5"));
    d->accept();
    // Typed to the hundredth of a millimetre: within that of the 0..800 scale's mark.
    const double step = 0.005 / range * 800.0;
    EXPECT_NEAR(prop("SearchLowwidthRange").toDouble(), 100.0, step);
    EXPECT_NEAR(prop("SearchUpwidthRange").toDouble(), 300.0, step);
    EXPECT_NEAR(prop("SearchLowhightlimit").toDouble(), 20.0, 1e-9);
    EXPECT_NEAR(prop("SearchUphightlimit").toDouble(), 80.5, 1e-9);
}

TEST_F(TypedValuesTest, TheVideoRangeIsTypedAndCheckedAgainstTheRecording) {
    open(files.write("video.bin", recordingOptions(40)));
    window->jumpToFrame(5);
    auto* d = openDialog<VideoRangeDialog>(WindowKey::VideoRange);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(window->controls().AVI_Select->isChecked()) << "typing the range arms it";
    EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("txtVideoFirst"))->text(), QStringLiteral("5"));
    EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("txtVideoLast"))->text(), QStringLiteral("40"));

    struct Case {
        const char *first, *last;
        bool taken;
    };
    for (const Case& c : {Case{"0", "10", false}, Case{"3", "41", false}, Case{"12", "11", false},
                          Case{"x", "11", false}, Case{"7", "7", true}}) {
        type(d, "txtVideoFirst", QString::fromLatin1(c.first));
        type(d, "txtVideoLast", QString::fromLatin1(c.last));
        d->accept();
        const bool refused = !refusal(d, "txtVideoFirst").isEmpty() || !refusal(d, "txtVideoLast").isEmpty();
        EXPECT_EQ(refused, !c.taken) << c.first << ".." << c.last;
    }
    EXPECT_EQ(session().avi.startFrame, 7);
    EXPECT_EQ(session().avi.endFrame, 7);
    EXPECT_EQ(window->controls().Slider->selStart(), 7);
    EXPECT_EQ(window->controls().Slider->selLength(), 0);
}

} // namespace
} // namespace pelix::player::test
