// The control as the host sees it: names, types, the special property rules,
// invocation by name and creation through the registry.
#include "ascan_fixture.h"

#include "platform/component_registry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMetaEnum>

#include <memory>

using namespace pelix::ascanview;

namespace {

QLabel* label(const OroAscanCtl& ctl, const QString& name) {
    auto* found = ctl.findChild<QLabel*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

class InterfaceTest : public AscanControlTest {};

TEST_F(InterfaceTest, EveryPropertyIsThereByNameWithItsType) {
    struct Expected {
        const char* type;
        std::vector<const char*> names;
    };
    const std::vector<Expected> table = {
        {"float",
         {"fAscanDelay", "fAscanRange", "fGateAStart", "fGateAWidth", "fGateBStart", "fGateBWidth",
          "fCaretOne", "fCaretTwo", "newGateAStart", "newGateBStart"}},
        {"short",
         {"iNumPoints", "iGateAThresh", "mouseX", "Unit", "WidthX", "PicLeftX", "MinHeight", "MinWidth"}},
        {"bool", {"ShowGateA", "ShowGateB", "DrawCaratOne", "DrawCaratTwo", "SearchSwitch"}},
        {"double",
         {"SearchLowhightlimit", "SearchUphightlimit", "SearchLowwidthRange", "SearchUpwidthRange",
          "Velocity", "TrigThk", "DisplayDelay", "DisplayRange", "ttVelocity", "ttDisplayRange",
          "PicCurrentHeight", "PicX", "PicY"}},
        {"QVariant",
         {"iPointArray", "ulHardwareTOF_20ns", "ulFinalGain_01dB", "ulAmpAtRefGain_01PCT",
          "ulRecordedGain_01dB", "ulRecordedAMP_01PCT", "temp_top", "temp_left"}},
        {"int",
         {"Envelope",
          "iGateBThresh",
          "BEA",
          "gatea_move_flag",
          "gateb_move_flag",
          "newGateAThresh",
          "newGateBThresh",
          "offsetGateB",
          "PrbAngle",
          "ODiameter",
          "TrigColorLeg",
          "ProbeDelay",
          "EvalMode",
          "TCGMode",
          "DGSMode",
          "DACCurveType",
          "Curve1Offset",
          "Curve2Offset",
          "Curve3Offset",
          "Curve4Offset",
          "Curve5Offset",
          "ulNumOfStoredPoints",
          "TCGDisplay",
          "FilterSetup",
          "DGSBaseGain",
          "TCGCurveStatus",
          "JISDACMode",
          "JISBoldLine",
          "Gain",
          "CNDACRegs",
          "BWGain",
          "DGSEffeDiam",
          "DGSRefType",
          "DGSRefSize",
          "DGSRefAmp",
          "DGSRefGain",
          "DGSRefDist",
          "DGSProbeNum",
          "DGSXtalFreq",
          "DGSRefAtten",
          "DGSRefStatus",
          "DGSDelayVel",
          "DGSCurve",
          "NumOfDGSDrawPnts",
          "DGSTestAtten",
          "DGSAmplCorr",
          "ttDisplayDelay",
          "GateTriggerB",
          "GateBStart",
          "GateBWidth",
          "GateBTOFMode",
          "GateBLogic",
          "iRectification",
          "tempGateTriggerB",
          "tusThreshold",
          "tusControl",
          "tulStart_2_5ns",
          "tulWidth_2_5ns",
          "tulProbeDelay",
          "tslActualThreshold"}},
        {"QString",
         {"msAscanStartLabel",
          "msAscanStartWidth",
          "tiAscanName",
          "pAscanName",
          "tiDateCreated",
          "pDateCreated",
          "tiVelocity",
          "pVelocity",
          "tiGain",
          "pGain",
          "tiRect",
          "pRect",
          "tiUnits",
          "pUnits",
          "tiMeasMode",
          "pMeasMode",
          "tiZeroMode",
          "pZeroMode",
          "tiCalMode",
          "pCalMode",
          "tiProbeName",
          "pProbeName",
          "tiGateAStart",
          "tiGateAWidth",
          "tiGateAThresh",
          "tiGateBStart",
          "tiGateBWidth",
          "tiGateBThresh",
          "tiControlTitle"}},
    };
    for (const Expected& group : table) {
        for (const char* name : group.names) {
            const int index = ctl.metaObject()->indexOfProperty(name);
            ASSERT_GE(index, 0) << name;
            EXPECT_STREQ(ctl.metaObject()->property(index).typeName(), group.type) << name;
        }
    }
    for (const char* name : {"iAscanRectMode", "iAscanDrawMode", "iGridType", "RadixCharacter"}) {
        const QMetaProperty property = ctl.metaObject()->property(ctl.metaObject()->indexOfProperty(name));
        EXPECT_TRUE(property.isEnumType()) << name;
        EXPECT_TRUE(property.isWritable()) << name;
    }
}

TEST_F(InterfaceTest, EnumerationsAreRegisteredUnderTheirNames) {
    const std::vector<std::pair<const char*, std::vector<std::pair<const char*, int>>>> table = {
        {"RectType", {{"RECTIFIED", 0}, {"RF", 1}}},
        {"GridType", {{"NO_GRID", 0}, {"EDGE_ONLY", 1}, {"EDGE_AND_TICS", 2}, {"FULL_GRID", 3}}},
        {"FillType", {{"HOLLOW", 0}, {"SOLID", 1}}},
        {"RadixType", {{"DECIMAL_POINT", 0}, {"COMMA", 1}}},
        {"AscanSwitch", {{"ASCANOFF", 0}, {"ASCANON", 1}}},
        {"RangeSwitch", {{"RANGEOFF", 0}, {"RANGEON", 1}}},
    };
    for (const auto& [name, members] : table) {
        const int index = ctl.metaObject()->indexOfEnumerator(name);
        ASSERT_GE(index, 0) << name;
        const QMetaEnum e = ctl.metaObject()->enumerator(index);
        EXPECT_EQ(e.keyCount(), static_cast<int>(members.size())) << name;
        for (const auto& [key, value] : members)
            EXPECT_EQ(e.keyToValue(key), value) << key;
    }
}

TEST_F(InterfaceTest, EveryMethodIsInvokableByName) {
    const char* signatures[] = {"UpdateAscanGraph()",
                                "Initialize_Parameters()",
                                "AscanMode(int)",
                                "RangeMode(int)",
                                "ConvertDecToCom(QString)",
                                "FormatLabel(int)",
                                "SearchSwitchJudgement()",
                                "SearchRangeLimit()",
                                "tiParamTitle(int,QString)",
                                "pParamValue(int,QString)",
                                "TrigColorLegs()",
                                "TrigLegLength()",
                                "TrigCurvatureCase()",
                                "FASTsin4Q(int)",
                                "FASTAsin4Q(int)",
                                "UpdateEvaluationCurve()",
                                "CVUpdateJISDACCurves()",
                                "UpdateTCGRefLine()",
                                "DrawTCGRefLine(int,int,double)",
                                "UpdateStraightDAC()",
                                "DrawStraightDAC(int,int,QString,int)",
                                "UpdateCurvedDAC()",
                                "DrawCurvedDAC(int,int,QString)",
                                "DrawStraightDACSeg(QVariantList)",
                                "UpdateStraightCNDAC()",
                                "UpdateCurvedCNDAC()",
                                "UpdateDGSCurves()",
                                "DrawDGSCurves(int)",
                                "picAscan_MouseDown(short,short,float,float)",
                                "picAscan_MouseMove(short,short,float,float)",
                                "picAscan_MouseUp(short,short,float,float)",
                                "SearchRange_MouseDown(short,short,float,float)",
                                "SearchRange_MouseMove(short,short,float,float)",
                                "SearchRange_MouseUp(short,short,float,float)",
                                "surfaceOperationsJson()",
                                "surfaceImage()",
                                "MouseUp()"};
    for (const char* signature : signatures)
        EXPECT_GE(ctl.metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature)), 0)
            << signature;
    EXPECT_EQ(ctl.metaObject()->method(ctl.metaObject()->indexOfMethod("MouseUp()")).methodType(),
              QMetaMethod::Signal);

    QString text;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "FormatLabel", Q_RETURN_ARG(QString, text), Q_ARG(int, 60)));
    EXPECT_EQ(text, "+6.0dB");
    qint32 sine = 0;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "FASTsin4Q", Q_RETURN_ARG(qint32, sine), Q_ARG(qint32, 300)));
    EXPECT_EQ(sine, 131072);
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "AscanMode", Q_ARG(int, OroAscanCtl::ASCANOFF)));
    EXPECT_TRUE(label(ctl, "lblControlTitle")->isHidden());
}

TEST_F(InterfaceTest, ACreatedControlShowsItsDesignTimeTexts) {
    EXPECT_EQ(get("RadixCharacter").toInt(), OroAscanCtl::DECIMAL_POINT);
    EXPECT_EQ(get("tiControlTitle").toString(), "ASCAN Attachment Viewer");
    EXPECT_EQ(get("tiAscanName").toString(), "ASCAN Name:");
    EXPECT_EQ(get("pDateCreated").toString(), "12/25/1999 13:43:12");
    EXPECT_EQ(get("tiGateBThresh").toString(), "Gate  B Thresh(%):");
    EXPECT_EQ(label(ctl, "lblParamValue15")->text(), "50");
    for (const char* name : {"picAscan", "lblControlTitle", "lblAscanStart", "lblAscanWidth",
                             "lblParamTitle0", "lblParamValue0"}) {
        QWidget* child = ctl.findChild<QWidget*>(name);
        ASSERT_NE(child, nullptr) << name;
        EXPECT_FALSE(child->isHidden()) << name;
    }
    ASSERT_NE(ctl.findChild<QWidget*>("SearchRange"), nullptr);
    EXPECT_TRUE(ctl.findChild<QWidget*>("SearchRange")->isHidden());
}

TEST_F(InterfaceTest, RangeOfZeroIsStoredAsOne) {
    set("fAscanRange", 0);
    EXPECT_FLOAT_EQ(get("fAscanRange").toFloat(), 1.0F);
    ctl.set_fAscanRange(0.0F);
    EXPECT_FLOAT_EQ(ctl.fAscanRange(), 1.0F);
    set("fAscanRange", 2.5);
    EXPECT_FLOAT_EQ(ctl.fAscanRange(), 2.5F);
}

TEST_F(InterfaceTest, IndexedPanelWritesShowTheirRowAndIgnoreOtherIndexes) {
    ctl.Initialize_Parameters();
    for (int row = 0; row < OroAscanCtl::kPanelRows; ++row) {
        for (const QString& kind : {QStringLiteral("lblParamTitle"), QStringLiteral("lblParamValue")}) {
            QLabel* l = label(ctl, kind + QString::number(row));
            EXPECT_TRUE(l->isHidden());
            EXPECT_TRUE(l->text().isEmpty());
        }
    }
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "pParamValue", Q_ARG(int, 16), Q_ARG(QString, "x")));
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "tiParamTitle", Q_ARG(int, -1), Q_ARG(QString, "x")));
    for (QLabel* l : ctl.findChildren<QLabel*>()) {
        if (l->objectName().startsWith("lblParam")) {
            EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
            EXPECT_TRUE(l->isHidden()) << l->objectName().toStdString();
        }
    }
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "pParamValue", Q_ARG(int, 3), Q_ARG(QString, "")));
    EXPECT_FALSE(label(ctl, "lblParamValue3")->isHidden());
    EXPECT_TRUE(label(ctl, "lblParamValue3")->text().isEmpty());
    ctl.tiParamTitle(15, "Gate B Amplitude(%):");
    EXPECT_FALSE(label(ctl, "lblParamTitle15")->isHidden());
    EXPECT_EQ(get("tiGateBThresh").toString(), "Gate B Amplitude(%):");
}

TEST_F(InterfaceTest, NamedCaptionWritesSetTheTextButLeaveTheRowHidden) {
    ctl.Initialize_Parameters();
    set("tiGain", "Gain(dB):");
    set("pGain", "42.0");
    EXPECT_EQ(label(ctl, "lblParamTitle3")->text(), "Gain(dB):");
    EXPECT_EQ(get("pGain").toString(), "42.0");
    EXPECT_TRUE(label(ctl, "lblParamTitle3")->isHidden());
    EXPECT_TRUE(label(ctl, "lblParamValue3")->isHidden());
}

TEST_F(InterfaceTest, CaretTwoConvertsAnyNumber) {
    set("fCaretTwo", QStringLiteral("12.5"));
    EXPECT_EQ(get("fCaretTwo").typeId(), QMetaType::Float);
    EXPECT_FLOAT_EQ(get("fCaretTwo").toFloat(), 12.5F);
    set("fCaretTwo", 7);
    EXPECT_FLOAT_EQ(ctl.fCaretTwo(), 7.0F);
    set("fCaretTwo", 0.1);
    EXPECT_EQ(ctl.fCaretTwo(), 0.1F);
    EXPECT_FALSE(ctl.setProperty("fCaretTwo", QStringLiteral("not a number")));
    EXPECT_EQ(ctl.fCaretTwo(), 0.1F);
}

TEST_F(InterfaceTest, ScreenPositionsReadAsWholeTwips) {
    set("temp_left", 1234.5);
    EXPECT_EQ(get("temp_left").toInt(), 1234); // halves to even
    set("temp_left", 1235.5);
    EXPECT_EQ(ctl.temp_left(), 1236);
    set("temp_left", -7.6);
    EXPECT_EQ(get("temp_left").toInt(), -8);
    set("temp_top", 4400);
    EXPECT_EQ(get("temp_top"), QVariant(4400));
    EXPECT_EQ(ctl.temp_top(), 4400);
}

TEST_F(InterfaceTest, MinimumSizesAreConstantAndReadOnly) {
    EXPECT_EQ(get("MinHeight").toInt(), 3500);
    EXPECT_EQ(get("MinWidth").toInt(), 7200);
    EXPECT_FALSE(ctl.setProperty("MinHeight", 100));
    EXPECT_EQ(get("MinHeight").toInt(), 3500);
    EXPECT_FALSE(ctl.metaObject()->property(ctl.metaObject()->indexOfProperty("MinWidth")).isWritable());
}

TEST_F(InterfaceTest, SampleArraysAcceptEveryListTheHostMaySend) {
    QList<qint16> shorts(1601, 0);
    shorts[5] = 42;
    QList<int> ints(1601, 0);
    ints[5] = 42;
    QVariantList variants(1601, 0);
    variants[5] = 42;
    std::vector<std::string> jsons;
    for (const QVariant& value :
         {QVariant::fromValue(shorts), QVariant::fromValue(ints), QVariant(variants)}) {
        set("iPointArray", value);
        set("iNumPoints", 800);
        EXPECT_EQ(get("iPointArray"), value) << "reads back as written";
        redraw();
        jsons.push_back(ctl.surface().toJson());
    }
    EXPECT_EQ(jsons[0], jsons[1]);
    EXPECT_EQ(jsons[0], jsons[2]);
    set("ulHardwareTOF_20ns", QVariant::fromValue(QList<qint32>{1, 2, 3}));
    EXPECT_EQ(ctl.properties().ulHardwareTOF_20ns.values(), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(InterfaceTest, WritingPropertiesDoesNotRedraw) {
    setSamples(QList<qint16>(1601, 0), 800);
    redraw();
    const std::string before = ctl.surface().toJson();
    set("iGridType", OroAscanCtl::FULL_GRID);
    set("ShowGateA", true);
    set("fGateAWidth", 50.0);
    setSamples(QList<qint16>(1601, 30), 800);
    EXPECT_EQ(ctl.surface().toJson(), before);
    redraw();
    EXPECT_NE(ctl.surface().toJson(), before);
}

TEST_F(InterfaceTest, SwitchesShowAndHideTheirWidgets) {
    const char* ascanWidgets[] = {"lblControlTitle", "picAscan", "lblAscanStart", "lblAscanWidth"};
    ctl.AscanMode(OroAscanCtl::ASCANOFF);
    for (const char* name : ascanWidgets)
        EXPECT_TRUE(ctl.findChild<QWidget*>(name)->isHidden()) << name;
    ctl.AscanMode(OroAscanCtl::ASCANON);
    for (const char* name : ascanWidgets)
        EXPECT_FALSE(ctl.findChild<QWidget*>(name)->isHidden()) << name;
    ctl.RangeMode(OroAscanCtl::RANGEOFF);
    EXPECT_TRUE(label(ctl, "lblAscanStart")->isHidden());
    EXPECT_TRUE(label(ctl, "lblAscanWidth")->isHidden());
    EXPECT_FALSE(ctl.findChild<QWidget*>("picAscan")->isHidden());
    ctl.RangeMode(OroAscanCtl::RANGEON);
    EXPECT_FALSE(label(ctl, "lblAscanWidth")->isHidden());
}

TEST_F(InterfaceTest, RedrawPutsTheScaleTextsAndTheSearchBoxInPlace) {
    set("msAscanStartLabel", "0.00");
    set("msAscanStartWidth", "55.00");
    set("SearchSwitch", true);
    redraw();
    EXPECT_EQ(label(ctl, "lblAscanStart")->text(), "0.00");
    EXPECT_EQ(label(ctl, "lblAscanWidth")->text(), "55.00");
    EXPECT_FALSE(ctl.findChild<QWidget*>("SearchRange")->isHidden());
    set("SearchSwitch", false);
    ctl.SearchSwitchJudgement();
    EXPECT_TRUE(ctl.findChild<QWidget*>("SearchRange")->isHidden());
}

TEST_F(InterfaceTest, OperationListAsJson) {
    setSamples(QList<qint16>(1601, 0), 800);
    set("ShowGateA", true);
    set("fGateAWidth", 50.0);
    set("iGateAThresh", 50);
    redraw();
    QString json;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "surfaceOperationsJson", Q_RETURN_ARG(QString, json)));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject root = doc.object();
    EXPECT_DOUBLE_EQ(root["width"].toDouble(), W());
    EXPECT_DOUBLE_EQ(root["height"].toDouble(), H());
    const QJsonArray list = root["ops"].toArray();
    ASSERT_EQ(static_cast<std::size_t>(list.size()), ctl.surface().ops().size());
    EXPECT_EQ(list[0].toObject(), QJsonObject({{"op", "clear"}, {"color", "#ffffff"}}));
    EXPECT_EQ(list[1].toObject()["op"].toString(), "lineto");
    EXPECT_DOUBLE_EQ(list[1].toObject()["x1"].toDouble(), 15.0);
    const QJsonObject bar = list[800].toObject();
    EXPECT_EQ(bar["op"].toString(), "segment");
    EXPECT_EQ(bar["color"].toString(), "#7cfc00");
    EXPECT_DOUBLE_EQ(bar["x2"].toDouble(), W() / 2);
    EXPECT_DOUBLE_EQ(bar["y1"].toDouble(), H() / 2);
}

TEST_F(InterfaceTest, PictureIsTheSurfaceRasterised) {
    set("iGridType", OroAscanCtl::FULL_GRID);
    redraw();
    QImage image;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "surfaceImage", Q_RETURN_ARG(QImage, image)));
    const QWidget* picture = ctl.findChild<QWidget*>("picAscan");
    EXPECT_EQ(image.deviceIndependentSize().toSize(), picture->size());
    const int y = static_cast<int>(image.height() / 4);
    EXPECT_EQ(image.pixel(image.width() / 8, y), qRgb(180, 180, 180));
    EXPECT_EQ(image.pixel(image.width() / 8, y + 3), qRgb(255, 255, 255));
}

TEST(Registry, CreatesTheControlByItsIdentifier) {
    std::unique_ptr<QWidget> widget(
        pelix::platform::ComponentRegistry::instance().create("AscanView.OroAscanCtl"));
    ASSERT_NE(widget, nullptr);
    EXPECT_NE(qobject_cast<OroAscanCtl*>(widget.get()), nullptr);
}

} // namespace
