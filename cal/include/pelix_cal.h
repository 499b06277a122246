/* Pelix_Cal: the flaw detector's fixed-point arithmetic (readings, DAC curves, DGS).
 * Plain C interface, loaded by name at run time by the player and the A-scan control. */
#ifndef PELIX_CAL_H
#define PELIX_CAL_H

#include <stdint.h>

#if defined(PELIX_CAL_BUILDING)
#define PELIX_CAL_API __attribute__((visibility("default")))
#else
#define PELIX_CAL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- DAC curve arithmetic ------------------------------------------------ */

#ifdef __cplusplus
#define PELIX_CAL_LAYOUT(cond) static_assert(cond, #cond)
#else
#define PELIX_CAL_LAYOUT(cond) _Static_assert(cond, #cond)
#endif
#define PELIX_CAL_OFFSET(type, field) __builtin_offsetof(type, field)

#define PELIX_CAL_DAC_POINTS 16

/* One reference echo as the instrument stored it. */
typedef struct TCGPoint {
    int32_t ulReserved1;
    int32_t ulRecordedAMP_01PCT; /* 0.1 % of screen height */
    int32_t ulRecordedGain_01dB; /* gain the echo was recorded at */
    uint32_t ulHardwareTOF_20ns; /* 0 marks an empty slot */
    int32_t ulReserved5;
    int32_t ulFinalGain_01dB;
    int32_t ulAmpAtRefGain_01PCT;
} TCGPoint;

typedef struct TCGPointTable {
    uint32_t ulNumOfStoredPoints; /* 0..16 */
    uint32_t ulReserved[3];
    TCGPoint points[PELIX_CAL_DAC_POINTS];
} TCGPointTable;

/* One knot of the curve and the cubic of the segment that starts there:
 * A(t) = ((fCoef3 * d + fCoef2) * d + fCoef1) * d + fCoef0 with d = t - fTOF_1ns. */
typedef struct DACPoint {
    float fTOF_1ns;
    float fAmp_01PCT;
    float fCoef3;
    float fCoef2;
    float fCoef1;
    float fCoef0;
} DACPoint;

typedef struct DACCurve {
    uint32_t ulNumOfSegments; /* points in use - 1, at most 15 */
    uint32_t ulRefGain_01dB;  /* every amplitude is referred to this gain */
    DACPoint points[PELIX_CAL_DAC_POINTS];
} DACCurve;

PELIX_CAL_API void DACConvertFromTCGPoints(DACCurve* curve, const TCGPointTable* table,
                                           uint32_t ulRefGain_01dB);
/* `unused` is not read; callers pass the point table they converted from. */
PELIX_CAL_API void GenerateDACCoefAkima(DACPoint* points, const void* unused, uint32_t ulNumOfSegments);
/* 10000 * log10(ulValue), by table and linear interpolation; 0 for 0 and 1. */
PELIX_CAL_API uint32_t INTLOG10LookUp(uint32_t ulValue);

/* ---- DGS arithmetic ------------------------------------------------------ */

/* The DGS exports take a 1024-byte block laid out like the recording's setup
 * record (256 32-bit words, native byte order); these are the byte offsets of
 * the words they read or write. */
#define PELIX_DGS_BLOCK_WORDS 256
#define PELIX_DGS_PROBE_DELAY 24 /* ns */
#define PELIX_DGS_VELOCITY 32    /* test material, 0.1 m/s */
#define PELIX_DGS_CONVERT 704    /* 1: CVDGSNumOfERSCurvePoints also converts */
#define PELIX_DGS_REF_STATUS 708 /* 1: reference correction evaluated */
#define PELIX_DGS_PROBE_NUM 712  /* row of the probe catalogue, 0..40 */
#define PELIX_DGS_NUM_POINTS 716 /* points written by the last conversion */
#define PELIX_DGS_ERS 720        /* um */
#define PELIX_DGS_XTAL_FREQ 724  /* 0.01 MHz */
#define PELIX_DGS_EFFE_DIAM 728  /* um */
#define PELIX_DGS_DELAY_VEL 732  /* 0.1 m/s */
#define PELIX_DGS_REF_TYPE 736   /* 0 disc, 2 side-drilled hole, else back wall */
#define PELIX_DGS_REF_SIZE 740   /* um */
#define PELIX_DGS_REF_ATTEN 744  /* 0.1 dB/m */
#define PELIX_DGS_AMPL_CORR 748  /* 0.1 dB */
#define PELIX_DGS_TEST_ATTEN 752 /* 0.1 dB/m */
#define PELIX_DGS_REF_DIST 756   /* um */
#define PELIX_DGS_REF_AMP 760    /* 0.1 % screen height */
#define PELIX_DGS_BASE_GAIN 764  /* 0.1 dB */
#define PELIX_DGS_REF_GAIN 768   /* 0.1 dB */

#define PELIX_DGS_MAX_POINTS 40
#define PELIX_DGS_NOT_FOUND 65535

typedef struct DGSPoint {
    int32_t slTOF;  /* round trip in the test material, ns; never 0 */
    int32_t slAmp;  /* echo of the ERS at the base gain, 0.1 % screen height */
    int32_t slGain; /* gain to bring the ERS echo to 80 %, less the base gain, 0.1 dB */
} DGSPoint;

PELIX_CAL_API void CVDGSCalculateNearFields(int32_t* block);
PELIX_CAL_API void DGSEvaluateReference(int32_t* block);
/* `points`: 40 records, written only when the block's convert word is 1. */
PELIX_CAL_API int32_t CVDGSNumOfERSCurvePoints(int32_t* block, DGSPoint* points);
PELIX_CAL_API int32_t CVDGSConvertDGStoDAC(int32_t* block, DGSPoint* points);
/* Index i of the first segment with t_i <= timeNs <= t_i+1, or 65535. */
PELIX_CAL_API int32_t CVDGSFindEarlierTOFPoint(int32_t timeNs, const int32_t* block, const DGSPoint* points);
/* Index i of the first point with timeNs < t_i and timeNs <= t_i+1, or 65535. */
PELIX_CAL_API int32_t CVDGSFindLaterTOFPoint(int32_t timeNs, const int32_t* block, const DGSPoint* points);

/* The records cross the library boundary by address; their layout is fixed. */
PELIX_CAL_LAYOUT(sizeof(TCGPoint) == 28);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPoint, ulRecordedAMP_01PCT) == 4);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPoint, ulRecordedGain_01dB) == 8);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPoint, ulHardwareTOF_20ns) == 12);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPoint, ulFinalGain_01dB) == 20);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPoint, ulAmpAtRefGain_01PCT) == 24);
PELIX_CAL_LAYOUT(sizeof(TCGPointTable) == 16 + 16 * 28);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(TCGPointTable, points) == 16);
PELIX_CAL_LAYOUT(sizeof(DACPoint) == 24);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(DACPoint, fCoef3) == 8);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(DACPoint, fCoef0) == 20);
PELIX_CAL_LAYOUT(sizeof(DACCurve) == 8 + 16 * 24);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(DACCurve, points) == 8);
PELIX_CAL_LAYOUT(sizeof(DGSPoint) == 12);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(DGSPoint, slGain) == 8);

/* ---- Setup state and reading formatting ---------------------------------- */

#define PELIX_RECORDING_HEADER_BYTES 1024
#define PELIX_FRAME_HEADER_BYTES 448
#define PELIX_GATE_DATA_VALUES 6
#define PELIX_READING_TEXT_BYTES 34

/* One formatted reading. */
typedef struct ReadingResult {
    char text[PELIX_READING_TEXT_BYTES];       /* e.g. "2.96mm", "-----dB"; NUL-terminated */
    char secondText[PELIX_READING_TEXT_BYTES]; /* always empty */
    int32_t current; /* 0: the value shown is held from an earlier echo; 1: current, or no value */
} ReadingResult;

/* Loads the recording's setup (the header as stored, big-endian; the library
 * keeps reading it, so it must stay alive and unchanged until the next call)
 * and the current frame's header (little-endian, copied). Forgets held values. */
PELIX_CAL_API void SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader);
/* Gate A amplitude, time and third word, then gate B's: six doubles standing
 * for 32-bit words, bit 31 marking "nothing found". */
PELIX_CAL_API void UpdateGateData(const double* gateData);
/* Slots 0..6: the recording's reading slots; 7 "SA", 8 "A%A", 9 "SB", 10 "A%B";
 * any other slot gives an empty text. Returns 1. */
PELIX_CAL_API int32_t FormatCVRsltValue(int32_t slot, ReadingResult* result);
/* Triggered flags (1/0) and, for a triggered gate, its echo's position in ns
 * from the left edge of the display; a caret of an untriggered gate is left as it is. */
PELIX_CAL_API void CVUpdatedCaret(int32_t* aTriggered, int32_t* aCaret, int32_t* bTriggered, int32_t* bCaret);

PELIX_CAL_LAYOUT(sizeof(ReadingResult) == 72);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(ReadingResult, secondText) == 34);
PELIX_CAL_LAYOUT(PELIX_CAL_OFFSET(ReadingResult, current) == 68);

#ifdef __cplusplus
}
#endif

#endif /* PELIX_CAL_H */
