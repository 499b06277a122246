// Constant data of the probe range: the general DGS diagram, the diagrams that twin-crystal
// probes bring along, and the probe catalogue. dgs_tables.cpp is written by gen_dgs_tables.py.
#pragma once

#include "dgs/dgs_state.h"

#include <cstddef>
#include <cstdint>

namespace pelix::cal::dgs {

inline constexpr int32_t kProbeCount = 41;
inline constexpr int32_t kOwnDiagramCount = 10;
inline constexpr double kBackWallKey = 2147483647.0;
inline constexpr double kNoValue = 1000.0;
inline constexpr int32_t kMaxColumns = 40;

enum ProbeType : uint8_t { kComputedNearField = 0, kOwnDiagram = 1, kMeasuredNearField = 2 };

// One catalogue row in the instrument's 52-byte form. Where the instrument keeps the address of
// the probe's own diagram, this row keeps its index in OwnDGSDiagrams.
struct ProbeCatalogRow {
    char modelName[16];        // right-aligned in 14 characters, two zero bytes
    int32_t velocityFigure;    // delay path or wedge, 0.1 m/s
    int32_t frequencyFigure;   // 0.1 MHz
    int32_t diameterFigure;    // effective diameter, um; 0 for twin probes
    int32_t nearField_um;      // measured near field, type 2
    int32_t delayAllowance_um; // delay path as test-material distance, type 2
    uint8_t type;              // ProbeType
    uint8_t reserved[3];
    int32_t smallestReflector_um; // type 1
    int32_t largestReflector_um;  // type 1
    uint32_t ownDiagram;          // type 1: index into OwnDGSDiagrams
};
static_assert(sizeof(ProbeCatalogRow) == 52);
static_assert(offsetof(ProbeCatalogRow, velocityFigure) == 16);
static_assert(offsetof(ProbeCatalogRow, type) == 36);
static_assert(offsetof(ProbeCatalogRow, smallestReflector_um) == 40);
static_assert(offsetof(ProbeCatalogRow, ownDiagram) == 48);

extern const Diagram GeneralDGSDiagram;
extern const Diagram OwnDGSDiagrams[kOwnDiagramCount];
extern const ProbeCatalogRow ProbeCatalog[kProbeCount];

} // namespace pelix::cal::dgs
