// The overview window's indications list: which gate, the level a frame must
// reach (percent of screen height, or dB above the reference), the drop that
// sizes an indication, and the table of what was found. A click on a row asks
// for the indication's peak frame.
#pragma once

#include "core/indications/indication_finder.h"
#include "core/overview/overview_series.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTableView;
class QTimer;

namespace pelix::overview {

class IndicationTable;

class IndicationsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit IndicationsPanel(QWidget* parent = nullptr);

    Gate gate() const;
    indications::IndicationRules rules() const;
    // The level a search starts from for a gate (its threshold); used when the gate is chosen.
    void setDefaultLevels(int32_t gateA, int32_t gateB);
    void setGate(Gate gate);
    void setLevelPercent(int32_t percent);
    void setAboveReference(double dB);
    void setDrop(double dB);

    // "Finding indications…" while a search runs.
    void showSearching();
    void setIndications(std::shared_ptr<const std::vector<indications::Indication>> found,
                        int32_t framesPerSecond);
    // No recording, or no series yet: an empty list that says so.
    void showNothing(const QString& why);
    const IndicationTable& table() const { return *m_model; }
    // An edit waits for typing to pause before rulesChanged.
    bool editPending() const;
    QTableView& view() { return *m_view; }

  signals:
    // The gate, level or drop changed (edits arrive once typing pauses).
    void rulesChanged();
    // The user clicked an indication: show its peak frame.
    void frameRequested(int32_t frame);

  private:
    void levelKindChanged();

    QComboBox* m_gate = nullptr;
    QComboBox* m_levelKind = nullptr;
    QSpinBox* m_level = nullptr;
    QDoubleSpinBox* m_aboveReference = nullptr;
    QDoubleSpinBox* m_drop = nullptr;
    QLabel* m_count = nullptr;
    QTableView* m_view = nullptr;
    IndicationTable* m_model = nullptr;
    QTimer* m_pause = nullptr;
    int32_t m_defaultLevel[2] = {0, 0};
};

} // namespace pelix::overview
