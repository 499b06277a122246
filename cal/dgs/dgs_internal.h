// What the DGS exports share beyond the interface the readings use.
#pragma once

#include "dgs/dgs_state.h"
#include "dgs/dgs_tables.h"

#include <cstdint>

namespace pelix::cal::dgs {

// A one-row diagram: the ERS curve, or the reference reflector's curve.
struct Curve {
    double key = 0.0;
    int32_t columns = 0;
    double distances[kMaxColumns] = {};
    double values[kMaxColumns] = {};
    const Diagram* source = nullptr; // the diagram it was cut from
    double requestedKey = 0.0;       // the key asked for; a copied row keeps its own key above

    Diagram view() const { return Diagram{columns, distances, 1, &key, values}; }
};

// The catalogue row for a probe index, nullptr outside the catalogue.
const ProbeCatalogRow* catalogRow(int32_t index);
// The diagram a probe is evaluated with.
const Diagram& diagramFor(const ProbeCatalogRow& row);

// Lookup B: value at distance x for a reflector key y lying between rows. False when the
// rows around y cannot be evaluated at x.
bool lookupKey(const Diagram& diagram, double x, double y, double& value);
// The curve of one reflector key cut from a diagram.
void buildCurve(const Diagram& diagram, double key, Curve& curve);

Curve& ersCurve();
// Drops the ERS curve: the readings then find no value and no DGS points are produced until a
// curve is built again from sound input.
void dropErsCurve();

// Near field N and delay allowance L_d from the block into the state. False, with N = 1,
// L_d = 0 and the ERS curve dropped, when there is no probe or the block's figures cannot
// give a near field.
bool computeNearField(const int32_t* block, const ProbeCatalogRow* row);
// Whether the last near-field computation succeeded.
bool nearFieldValid();

// Word access by the byte offsets of the recording's setup record.
inline int32_t word(const int32_t* block, int byteOffset) {
    return block[byteOffset / 4];
}
inline void setWord(int32_t* block, int byteOffset, int32_t value) {
    block[byteOffset / 4] = value;
}

} // namespace pelix::cal::dgs
