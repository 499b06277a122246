#include "player/overview/indication_table.h"

#include "core/indications/indication_texts.h"

#include <climits>

namespace pelix::overview {

using indications::Indication;

IndicationTable::IndicationTable(QObject* parent) : QAbstractTableModel(parent) {}

void IndicationTable::setIndications(std::shared_ptr<const std::vector<Indication>> found,
                                     int32_t framesPerSecond) {
    beginResetModel();
    m_found = std::move(found);
    m_framesPerSecond = framesPerSecond;
    endResetModel();
}

const std::vector<Indication>& IndicationTable::indications() const {
    static const std::vector<Indication> none;
    return m_found ? *m_found : none;
}

int IndicationTable::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(std::min<std::size_t>(indications().size(), INT_MAX));
}

int IndicationTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant IndicationTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const Indication& i = indications()[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case First:
        return i.first;
    case Last:
        return i.last;
    case PeakFrame:
        return i.peakFrame;
    case PeakAmplitude:
        return QStringLiteral("%1 %").arg(i.peakAmplitude);
    case DropFirst:
        return i.dropFirst;
    case DropLast:
        return i.dropLast;
    case LengthFrames:
        return indications::dropLength(i, m_framesPerSecond).frames;
    case LengthSeconds:
        return QString::fromStdString(
            indications::lengthSecondsText(indications::dropLength(i, m_framesPerSecond)));
    default:
        return {};
    }
}

QVariant IndicationTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const kTitles[kColumns] = {"First",     "Last",    "Peak frame", "Peak",
                                                  "Drop from", "Drop to", "Frames",     "Seconds"};
    return section >= 0 && section < kColumns ? QString::fromLatin1(kTitles[section]) : QVariant();
}

} // namespace pelix::overview
