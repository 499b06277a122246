// The stored values of OroAscanCtl: everything the host writes before a redraw
// and everything a redraw writes back. Names are the control's property names.
#pragma once

#include "ascanview/interface/integer_array.h"

#include <QString>

#include <cstdint>

namespace pelix::ascanview {

struct ControlProperties {
    // Display window and trace.
    float fAscanDelay = 0.0F;
    float fAscanRange = 1.0F; // never 0: the horizontal mapping divides by it
    std::int16_t iNumPoints = 0;
    IntegerArray iPointArray;
    std::int32_t Envelope = 0;
    std::int32_t iAscanRectMode = 0; // RectType
    std::int32_t iAscanDrawMode = 0; // FillType
    std::int32_t iGridType = 0;      // GridType
    QString msAscanStartLabel;
    QString msAscanStartWidth;

    // Gates and carets.
    bool ShowGateA = false;
    bool ShowGateB = false;
    float fGateAStart = 0.0F;
    float fGateAWidth = 0.0F;
    std::int16_t iGateAThresh = 0;
    float fGateBStart = 0.0F;
    float fGateBWidth = 0.0F;
    std::int32_t iGateBThresh = 0;
    std::int32_t BEA = 0;
    bool DrawCaratOne = false;
    bool DrawCaratTwo = false;
    float fCaretOne = 0.0F;
    float fCaretTwo = 0.0F;
    std::int32_t gatea_move_flag = 0;
    std::int32_t gateb_move_flag = 0;
    float newGateAStart = 0.0F;
    float newGateBStart = 0.0F;
    std::int32_t newGateAThresh = 0;
    std::int32_t newGateBThresh = 0;
    std::int32_t offsetGateB = 0;

    // Search-range box.
    bool SearchSwitch = false;
    double SearchLowhightlimit = 0.0;
    double SearchUphightlimit = 0.0;
    double SearchLowwidthRange = 0.0;
    double SearchUpwidthRange = 0.0;
    std::int16_t mouseX = 0;

    // Angle-beam geometry.
    std::int32_t PrbAngle = 0;
    std::int32_t ODiameter = 0;
    std::int32_t TrigColorLeg = 0;
    std::int32_t ProbeDelay = 0;
    double Velocity = 0.0;
    double TrigThk = 0.0;
    double DisplayDelay = 0.0;
    double DisplayRange = 0.0;
    std::int16_t Unit = 0;

    // Evaluation curves.
    std::int32_t EvalMode = 0;
    std::int32_t TCGMode = 0;
    std::int32_t DGSMode = 0;
    std::int32_t DACCurveType = 0;
    std::int32_t Curve1Offset = 0;
    std::int32_t Curve2Offset = 0;
    std::int32_t Curve3Offset = 0;
    std::int32_t Curve4Offset = 0;
    std::int32_t Curve5Offset = 0;
    std::int32_t ulNumOfStoredPoints = 0;
    std::int32_t TCGDisplay = 0;
    std::int32_t FilterSetup = 0;
    std::int32_t DGSBaseGain = 0;
    std::int32_t TCGCurveStatus = 0;
    std::int32_t JISDACMode = 0;
    std::int32_t JISBoldLine = 0;
    std::int32_t Gain = 0;
    std::int32_t CNDACRegs = 0;
    std::int32_t BWGain = 0;
    std::int32_t DGSEffeDiam = 0;
    std::int32_t DGSRefType = 0;
    std::int32_t DGSRefSize = 0;
    std::int32_t DGSRefAmp = 0;
    std::int32_t DGSRefGain = 0;
    std::int32_t DGSRefDist = 0;
    std::int32_t DGSProbeNum = 0;
    std::int32_t DGSXtalFreq = 0;
    std::int32_t DGSRefAtten = 0;
    std::int32_t DGSRefStatus = 0;
    std::int32_t DGSDelayVel = 0;
    std::int32_t DGSCurve = 0;
    std::int32_t NumOfDGSDrawPnts = 0;
    std::int32_t DGSTestAtten = 0;
    std::int32_t DGSAmplCorr = 0;
    double ttVelocity = 0.0;     // 0.1 m/s, as recorded
    double ttDisplayRange = 0.0; // micrometres, as recorded
    std::int32_t ttDisplayDelay = 0;
    IntegerArray ulHardwareTOF_20ns;
    IntegerArray ulFinalGain_01dB;
    IntegerArray ulAmpAtRefGain_01PCT;
    IntegerArray ulRecordedGain_01dB;
    IntegerArray ulRecordedAMP_01PCT;

    // Gate B hardware values, held for the host.
    std::int32_t GateTriggerB = 0;
    std::int32_t GateBStart = 0;
    std::int32_t GateBWidth = 0;
    std::int32_t GateBTOFMode = 0;
    std::int32_t GateBLogic = 0;
    std::int32_t iRectification = 0;
    std::int32_t tempGateTriggerB = 0;
    std::int32_t tusThreshold = 0;
    std::int32_t tusControl = 0;
    std::int32_t tulStart_2_5ns = 0;
    std::int32_t tulWidth_2_5ns = 0;
    std::int32_t tulProbeDelay = 0;
    std::int32_t tslActualThreshold = 0;

    std::int32_t RadixCharacter = 0; // RadixType
};

} // namespace pelix::ascanview
