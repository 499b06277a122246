// OroAscanCtl: the property-driven A-scan display control.
//
// The host writes the state of one frame into properties and then calls
// UpdateAscanGraph(); writing a property never redraws. Every property is a Qt
// property of the same name, reachable through QObject::property/setProperty,
// and also through a typed getter `Name()` and setter `set_Name(value)`.
// Every method is invokable by name (QMetaObject::invokeMethod).
//
// Types: Integer properties are qint16, Long qint32, Single float, Double
// double, Boolean bool (a host writing -1/0 gets true/false), String QString.
// The integer arrays (iPointArray, ulHardwareTOF_20ns, ...) are QVariant
// properties that accept any list of numbers (QList<qint16>, QList<int>,
// QVariantList, ...) and read back exactly what was written. fCaretTwo is a
// float property: any number, or a text holding one, is converted on write.
//
// The indexed panel writes cannot be Qt properties; they are the invokable
// methods tiParamTitle(index, text) and pParamValue(index, text), and an index
// outside 0..15 is ignored.
//
// Child widgets carry these object names: picAscan, SearchRange,
// lblParamTitle0 .. lblParamTitle15, lblParamValue0 .. lblParamValue15,
// lblAscanStart, lblAscanWidth, lblControlTitle.
#pragma once

#include "ascanview/curves/curve_state.h"
#include "ascanview/interface/control_properties.h"
#include "ascanview/interface/export.h"
#include "ascanview/interface/property_macros.h"
#include "ascanview/mouse/search_box_geometry.h"
#include "ascanview/render/drag_state.h"
#include "ascanview/render/drawing_surface.h"
#include "ascanview/render/surface_rasterizer.h"

#include <QImage>
#include <QLabel>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <array>

namespace pelix::ascanview {
class AscanPicture;
class EvaluationCurveDrawer;
class SearchRangeBox;
class GateDragPreview;
} // namespace pelix::ascanview

// The control keeps the instrument's class name (and with it the names of its
// enumerations) in the global namespace: a host finds it by that name.

class ASCANVIEW_API OroAscanCtl : public QWidget {
    Q_OBJECT

  public:
    enum RectType : qint32 { RECTIFIED = 0, RF = 1 };
    Q_ENUM(RectType)
    enum GridType : qint32 { NO_GRID = 0, EDGE_ONLY = 1, EDGE_AND_TICS = 2, FULL_GRID = 3 };
    Q_ENUM(GridType)
    enum FillType : qint32 { HOLLOW = 0, SOLID = 1 };
    Q_ENUM(FillType)
    enum RadixType : qint32 { DECIMAL_POINT = 0, COMMA = 1 };
    Q_ENUM(RadixType)
    enum AscanSwitch : qint32 { ASCANOFF = 0, ASCANON = 1 };
    Q_ENUM(AscanSwitch)
    enum RangeSwitch : qint32 { RANGEOFF = 0, RANGEON = 1 };
    Q_ENUM(RangeSwitch)

    static constexpr int kPanelRows = 16;
    static constexpr qint16 kMinWidthTwips = 7200;
    static constexpr qint16 kMinHeightTwips = 3500;

    explicit OroAscanCtl(QWidget* parent = nullptr);
    ~OroAscanCtl() override;

    // ---- Parameter panel -------------------------------------------------
    ASCAN_LABEL_TEXT(tiAscanName, m_paramTitle[0])
    ASCAN_LABEL_TEXT(pAscanName, m_paramValue[0])
    ASCAN_LABEL_TEXT(tiDateCreated, m_paramTitle[1])
    ASCAN_LABEL_TEXT(pDateCreated, m_paramValue[1])
    ASCAN_LABEL_TEXT(tiVelocity, m_paramTitle[2])
    ASCAN_LABEL_TEXT(pVelocity, m_paramValue[2])
    ASCAN_LABEL_TEXT(tiGain, m_paramTitle[3])
    ASCAN_LABEL_TEXT(pGain, m_paramValue[3])
    ASCAN_LABEL_TEXT(tiRect, m_paramTitle[4])
    ASCAN_LABEL_TEXT(pRect, m_paramValue[4])
    ASCAN_LABEL_TEXT(tiUnits, m_paramTitle[5])
    ASCAN_LABEL_TEXT(pUnits, m_paramValue[5])
    ASCAN_LABEL_TEXT(tiMeasMode, m_paramTitle[6])
    ASCAN_LABEL_TEXT(pMeasMode, m_paramValue[6])
    ASCAN_LABEL_TEXT(tiZeroMode, m_paramTitle[7])
    ASCAN_LABEL_TEXT(pZeroMode, m_paramValue[7])
    ASCAN_LABEL_TEXT(tiCalMode, m_paramTitle[8])
    ASCAN_LABEL_TEXT(pCalMode, m_paramValue[8])
    ASCAN_LABEL_TEXT(tiProbeName, m_paramTitle[9])
    ASCAN_LABEL_TEXT(pProbeName, m_paramValue[9])
    ASCAN_LABEL_TEXT(tiGateAStart, m_paramTitle[10])
    ASCAN_LABEL_TEXT(tiGateAWidth, m_paramTitle[11])
    ASCAN_LABEL_TEXT(tiGateAThresh, m_paramTitle[12])
    ASCAN_LABEL_TEXT(tiGateBStart, m_paramTitle[13])
    ASCAN_LABEL_TEXT(tiGateBWidth, m_paramTitle[14])
    ASCAN_LABEL_TEXT(tiGateBThresh, m_paramTitle[15])
    ASCAN_LABEL_TEXT(tiControlTitle, m_lblControlTitle)

    // ---- Display window and trace ------------------------------------------
    ASCAN_STORED(float, fAscanDelay)
    Q_PROPERTY(float fAscanRange READ fAscanRange WRITE set_fAscanRange)
    ASCAN_STORED(qint16, iNumPoints)
    ASCAN_INTEGER_ARRAY(iPointArray)
    ASCAN_STORED(qint32, Envelope)
    Q_PROPERTY(RectType iAscanRectMode READ iAscanRectMode WRITE set_iAscanRectMode)
    Q_PROPERTY(FillType iAscanDrawMode READ iAscanDrawMode WRITE set_iAscanDrawMode)
    Q_PROPERTY(GridType iGridType READ iGridType WRITE set_iGridType)
    ASCAN_STORED(QString, msAscanStartLabel)
    ASCAN_STORED(QString, msAscanStartWidth)

    // ---- Gates and carets ----------------------------------------------------
    ASCAN_STORED(bool, ShowGateA)
    ASCAN_STORED(bool, ShowGateB)
    ASCAN_STORED(float, fGateAStart)
    ASCAN_STORED(float, fGateAWidth)
    ASCAN_STORED(qint16, iGateAThresh)
    ASCAN_STORED(float, fGateBStart)
    ASCAN_STORED(float, fGateBWidth)
    ASCAN_STORED(qint32, iGateBThresh)
    ASCAN_STORED(qint32, BEA)
    ASCAN_STORED(bool, DrawCaratOne)
    ASCAN_STORED(bool, DrawCaratTwo)
    ASCAN_STORED(float, fCaretOne)
    ASCAN_STORED(float, fCaretTwo)
    ASCAN_STORED(qint32, gatea_move_flag)
    ASCAN_STORED(qint32, gateb_move_flag)
    ASCAN_STORED(float, newGateAStart)
    ASCAN_STORED(float, newGateBStart)
    ASCAN_STORED(qint32, newGateAThresh)
    ASCAN_STORED(qint32, newGateBThresh)
    ASCAN_STORED(qint32, offsetGateB)

    // ---- Search-range box ----------------------------------------------------
    ASCAN_STORED(bool, SearchSwitch)
    ASCAN_STORED(double, SearchLowhightlimit)
    ASCAN_STORED(double, SearchUphightlimit)
    ASCAN_STORED(double, SearchLowwidthRange)
    ASCAN_STORED(double, SearchUpwidthRange)
    ASCAN_STORED(qint16, mouseX)
    // Screen position of the control's origin in twips, written by the host.
    // temp_top reads back as written; temp_left is held as a real number and
    // reads rounded to the nearest whole twip.
    Q_PROPERTY(QVariant temp_top READ temp_topValue WRITE set_temp_topValue)
    Q_PROPERTY(QVariant temp_left READ temp_leftValue WRITE set_temp_leftValue)

    // ---- Angle-beam geometry and evaluation curves ---------------------------
    ASCAN_STORED(qint32, PrbAngle)
    ASCAN_STORED(qint32, ODiameter)
    ASCAN_STORED(qint32, TrigColorLeg)
    ASCAN_STORED(qint32, ProbeDelay)
    ASCAN_STORED(double, Velocity)
    ASCAN_STORED(double, TrigThk)
    ASCAN_STORED(double, DisplayDelay)
    ASCAN_STORED(double, DisplayRange)
    ASCAN_STORED(qint16, Unit)
    ASCAN_STORED(qint32, EvalMode)
    ASCAN_STORED(qint32, TCGMode)
    ASCAN_STORED(qint32, DGSMode)
    ASCAN_STORED(qint32, DACCurveType)
    ASCAN_STORED(qint32, Curve1Offset)
    ASCAN_STORED(qint32, Curve2Offset)
    ASCAN_STORED(qint32, Curve3Offset)
    ASCAN_STORED(qint32, Curve4Offset)
    ASCAN_STORED(qint32, Curve5Offset)
    ASCAN_STORED(qint32, ulNumOfStoredPoints)
    ASCAN_STORED(qint32, TCGDisplay)
    ASCAN_STORED(qint32, FilterSetup)
    ASCAN_STORED(qint32, DGSBaseGain)
    ASCAN_STORED(qint32, TCGCurveStatus)
    ASCAN_STORED(qint32, JISDACMode)
    ASCAN_STORED(qint32, JISBoldLine)
    ASCAN_STORED(qint32, Gain)
    ASCAN_STORED(qint32, CNDACRegs)
    ASCAN_STORED(qint32, BWGain)
    ASCAN_STORED(qint32, DGSEffeDiam)
    ASCAN_STORED(qint32, DGSRefType)
    ASCAN_STORED(qint32, DGSRefSize)
    ASCAN_STORED(qint32, DGSRefAmp)
    ASCAN_STORED(qint32, DGSRefGain)
    ASCAN_STORED(qint32, DGSRefDist)
    ASCAN_STORED(qint32, DGSProbeNum)
    ASCAN_STORED(qint32, DGSXtalFreq)
    ASCAN_STORED(qint32, DGSRefAtten)
    ASCAN_STORED(qint32, DGSRefStatus)
    ASCAN_STORED(qint32, DGSDelayVel)
    ASCAN_STORED(qint32, DGSCurve)
    ASCAN_STORED(qint32, NumOfDGSDrawPnts)
    ASCAN_STORED(qint32, DGSTestAtten)
    ASCAN_STORED(qint32, DGSAmplCorr)
    ASCAN_STORED(double, ttVelocity)
    ASCAN_STORED(double, ttDisplayRange)
    ASCAN_STORED(qint32, ttDisplayDelay)
    ASCAN_INTEGER_ARRAY(ulHardwareTOF_20ns)
    ASCAN_INTEGER_ARRAY(ulFinalGain_01dB)
    ASCAN_INTEGER_ARRAY(ulAmpAtRefGain_01PCT)
    ASCAN_INTEGER_ARRAY(ulRecordedGain_01dB)
    ASCAN_INTEGER_ARRAY(ulRecordedAMP_01PCT)

    // ---- Gate B hardware values held for the host ----------------------------
    ASCAN_STORED(qint32, GateTriggerB)
    ASCAN_STORED(qint32, GateBStart)
    ASCAN_STORED(qint32, GateBWidth)
    ASCAN_STORED(qint32, GateBTOFMode)
    ASCAN_STORED(qint32, GateBLogic)
    ASCAN_STORED(qint32, iRectification)
    ASCAN_STORED(qint32, tempGateTriggerB)
    ASCAN_STORED(qint32, tusThreshold)
    ASCAN_STORED(qint32, tusControl)
    ASCAN_STORED(qint32, tulStart_2_5ns)
    ASCAN_STORED(qint32, tulWidth_2_5ns)
    ASCAN_STORED(qint32, tulProbeDelay)
    ASCAN_STORED(qint32, tslActualThreshold)

    // ---- Pass-through and constant properties ----------------------------------
    Q_PROPERTY(qint16 MinHeight READ MinHeight)
    Q_PROPERTY(qint16 MinWidth READ MinWidth)
    Q_PROPERTY(double PicCurrentHeight READ PicCurrentHeight WRITE set_PicCurrentHeight)
    Q_PROPERTY(double PicX READ PicX WRITE set_PicX)
    Q_PROPERTY(double PicY READ PicY WRITE set_PicY)
    Q_PROPERTY(qint16 WidthX READ WidthX WRITE set_WidthX)
    Q_PROPERTY(qint16 PicLeftX READ PicLeftX WRITE set_PicLeftX)
    Q_PROPERTY(RadixType RadixCharacter READ RadixCharacter WRITE set_RadixCharacter)

  public:
    float fAscanRange() const { return m_props.fAscanRange; }
    void set_fAscanRange(float range);
    RectType iAscanRectMode() const { return static_cast<RectType>(m_props.iAscanRectMode); }
    void set_iAscanRectMode(RectType mode) { m_props.iAscanRectMode = mode; }
    FillType iAscanDrawMode() const { return static_cast<FillType>(m_props.iAscanDrawMode); }
    void set_iAscanDrawMode(FillType mode) { m_props.iAscanDrawMode = mode; }
    GridType iGridType() const { return static_cast<GridType>(m_props.iGridType); }
    void set_iGridType(GridType type) { m_props.iGridType = type; }
    RadixType RadixCharacter() const { return static_cast<RadixType>(m_props.RadixCharacter); }
    void set_RadixCharacter(RadixType radix) { m_props.RadixCharacter = radix; }

    qint32 temp_top() const;
    void set_temp_top(qint32 twips) { m_tempTop = twips; }
    QVariant temp_topValue() const { return m_tempTop; }
    void set_temp_topValue(const QVariant& value) { m_tempTop = value; }
    qint32 temp_left() const;
    void set_temp_left(double twips) { m_tempLeft = twips; }
    QVariant temp_leftValue() const { return temp_left(); }
    void set_temp_leftValue(const QVariant& value);

    qint16 MinHeight() const { return kMinHeightTwips; }
    qint16 MinWidth() const { return kMinWidthTwips; }
    double PicCurrentHeight() const { return m_surface.scaleHeight(); }
    void set_PicCurrentHeight(double height);
    double PicX() const { return m_surface.penX(); }
    void set_PicX(double x) { m_surface.moveTo(x, m_surface.penY()); }
    double PicY() const { return m_surface.penY(); }
    void set_PicY(double y) { m_surface.moveTo(m_surface.penX(), y); }
    qint16 WidthX() const;
    void set_WidthX(qint16 width);
    qint16 PicLeftX() const;
    void set_PicLeftX(qint16 left);

    // ---- Methods ---------------------------------------------------------------
    Q_INVOKABLE void UpdateAscanGraph();
    Q_INVOKABLE void Initialize_Parameters();
    Q_INVOKABLE void AscanMode(qint32 vAscanMode);
    Q_INVOKABLE void RangeMode(qint32 vRange);
    Q_INVOKABLE QString ConvertDecToCom(const QString& NativeValue) const;
    Q_INVOKABLE QString FormatLabel(qint32 CurveOffset) const;
    Q_INVOKABLE void SearchSwitchJudgement();
    Q_INVOKABLE void SearchRangeLimit();
    // Write-only indexed panel rows: set the text and show the label.
    Q_INVOKABLE void tiParamTitle(int index, const QString& text);
    Q_INVOKABLE void pParamValue(int index, const QString& text);

    // Angle-beam leg colouring.
    Q_INVOKABLE void TrigColorLegs();
    Q_INVOKABLE double TrigLegLength();
    Q_INVOKABLE qint16 TrigCurvatureCase();
    Q_INVOKABLE qint32 FASTsin4Q(qint32 Angle);
    // By name the argument goes in by value; from C++ the pointer form also
    // hands back the absolute value the lookup works on.
    Q_INVOKABLE qint16 FASTAsin4Q(qint32 SinValue);
    qint16 FASTAsin4Q(qint32* SinValue);

    // Evaluation curves, drawn on top of the trace by UpdateAscanGraph.
    Q_INVOKABLE void UpdateEvaluationCurve();
    Q_INVOKABLE void CVUpdateJISDACCurves();
    Q_INVOKABLE void UpdateTCGRefLine();
    Q_INVOKABLE void DrawTCGRefLine(qint32 slOffset0_1dB, qint32 ucLineThickness, double ucptrLabel);
    Q_INVOKABLE void UpdateStraightDAC();
    Q_INVOKABLE void DrawStraightDAC(qint32 slOffset0_1dB, qint32 ucLineThickness, const QString& ucptrLabel,
                                     qint32 ucLabelIndex);
    Q_INVOKABLE void UpdateCurvedDAC();
    Q_INVOKABLE void DrawCurvedDAC(qint32 slOffset0_1dB, qint32 ucLineThickness, const QString& ucptrLabel);
    // Fifteen arguments do not fit an invocation by name; they travel as one
    // list in their documented order and the list comes back with the values
    // the segment writes back (clipped times, label capture).
    Q_INVOKABLE QVariantList DrawStraightDACSeg(const QVariantList& arguments);
    Q_INVOKABLE void UpdateStraightCNDAC();
    Q_INVOKABLE void UpdateCurvedCNDAC();
    Q_INVOKABLE void UpdateDGSCurves();
    Q_INVOKABLE void DrawDGSCurves(qint32 slOffset0_1dB);

    // Mouse handlers of the child widgets; x and y in surface (or box) units.
    Q_INVOKABLE void picAscan_MouseDown(qint16 Button, qint16 Shift, float x, float y);
    Q_INVOKABLE void picAscan_MouseMove(qint16 Button, qint16 Shift, float x, float y);
    Q_INVOKABLE void picAscan_MouseUp(qint16 Button, qint16 Shift, float x, float y);
    // A gate drag completed at typed values instead of the pointer's: as a press
    // would, it lets go of both gates, leaves the bar of each gate given at that
    // start (display units; gate B's on screen) and threshold (percent), as wide
    // as it is drawn, and runs the release (redraw, then MouseUp). Refused, with
    // nothing changed, where a press could not grab: BEA set, or a gate given
    // that is hidden or may not move. Returns whether the drag completed.
    Q_INVOKABLE bool CompleteGateDrag(bool moveA, float gateAStart, qint32 gateAThresh, bool moveB,
                                      float gateBStart, qint32 gateBThresh);
    // The search box placed where these four limits put it (the inverse of the
    // limits' table; in RF the box stays in the half of the picture it is in),
    // then the limits computed from the box as a release computes them.
    // Refused, with nothing changed, where the limits make no box on the picture.
    Q_INVOKABLE bool PlaceSearchRange(double lowWidth, double upWidth, double lowHeight, double upHeight);
    Q_INVOKABLE void SearchRange_MouseDown(qint16 Button, qint16 Shift, float x, float y);
    Q_INVOKABLE void SearchRange_MouseMove(qint16 Button, qint16 Shift, float x, float y);
    Q_INVOKABLE void SearchRange_MouseUp(qint16 Button, qint16 Shift, float x, float y);

    // The operations of the last redraw as JSON, in surface units.
    Q_INVOKABLE QString surfaceOperationsJson() const;
    // The A-scan picture of the last redraw at the widget's device pixel ratio.
    Q_INVOKABLE QImage surfaceImage() const;

    const pelix::ascanview::DrawingSurface& surface() const { return m_surface; }
    const pelix::ascanview::GateDragState& dragState() const { return m_drag; }
    pelix::ascanview::GateDragState& dragState() { return m_drag; }
    const pelix::ascanview::ControlProperties& properties() const { return m_props; }
    const pelix::ascanview::CurveState& curveState() const { return m_curveState; }
    // The search box in surface units, and the state of its drag.
    pelix::ascanview::SearchBoxGeometry searchBox() const;
    void setSearchBox(const pelix::ascanview::SearchBoxGeometry& box);
    const pelix::ascanview::SearchBoxDrag& searchDrag() const { return m_searchDrag; }

  signals:
    void MouseUp();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createChildren();
    void showDesignTimeTexts();
    void applyLayout();
    void layoutChildren();
    void placeSearchBox();
    void rasterize();
    pelix::ascanview::EvaluationCurveDrawer curveDrawer();

    pelix::ascanview::ControlProperties m_props;
    pelix::ascanview::GateDragState m_drag;
    pelix::ascanview::CurveState m_curveState;
    pelix::ascanview::DrawingSurface m_surface;
    pelix::ascanview::SurfaceRasterizer m_rasterizer;

    pelix::ascanview::AscanPicture* m_picAscan = nullptr;
    pelix::ascanview::SearchRangeBox* m_searchRange = nullptr;
    pelix::ascanview::GateDragPreview* m_dragPreview = nullptr;
    std::array<QLabel*, kPanelRows> m_paramTitle{};
    std::array<QLabel*, kPanelRows> m_paramValue{};
    QLabel* m_lblAscanStart = nullptr;
    QLabel* m_lblAscanWidth = nullptr;
    QLabel* m_lblControlTitle = nullptr;

    QVariant m_tempTop = 0;
    double m_tempLeft = 0.0;

    // The surface's internal size follows the picture's size in twips until the
    // host sets its own scale through WidthX or PicCurrentHeight.
    bool m_userScale = false;
    double m_picLeftTwips = 96.0;
    // A control resized while hidden gets no resize event; the next redraw
    // lays it out first.
    QSize m_laidOutSize;
    // Search box in surface units, and its place as fractions of the surface.
    double m_boxLeft = 600.0, m_boxTop = 360.0, m_boxWidth = 495.0, m_boxHeight = 495.0;
    pelix::ascanview::SearchBoxDrag m_searchDrag;
};
