// The indications list as a table: one row per indication in frame order,
// with its run, its peak, its drop extent and that extent's length in frames
// and seconds.
#pragma once

#include "core/indications/indication.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

namespace pelix::overview {

class IndicationTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        First,
        Last,
        PeakFrame,
        PeakAmplitude,
        DropFirst,
        DropLast,
        LengthFrames,
        LengthSeconds,
        kColumns
    };

    explicit IndicationTable(QObject* parent = nullptr);

    void setIndications(std::shared_ptr<const std::vector<indications::Indication>> found,
                        int32_t framesPerSecond);
    const std::vector<indications::Indication>& indications() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::shared_ptr<const std::vector<indications::Indication>> m_found;
    int32_t m_framesPerSecond = 50;
};

} // namespace pelix::overview
