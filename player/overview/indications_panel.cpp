#include "player/overview/indications_panel.h"

#include "player/overview/indication_table.h"
#include "player/overview/list_table.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pelix::overview {

namespace {
// Edits are taken once typing pauses this long, so a number typed digit by digit is searched once.
constexpr int kTypingPauseMs = 250;
} // namespace

IndicationsPanel::IndicationsPanel(QWidget* parent) : QWidget(parent) {
    m_gate = new QComboBox(this);
    m_gate->setObjectName(QStringLiteral("cboIndicationGate"));
    m_gate->addItems({QStringLiteral("Gate A"), QStringLiteral("Gate B")});
    m_levelKind = new QComboBox(this);
    m_levelKind->setObjectName(QStringLiteral("cboIndicationLevel"));
    m_levelKind->addItems({QStringLiteral("at least"), QStringLiteral("dB to reference at least")});
    m_level = new QSpinBox(this);
    m_level->setObjectName(QStringLiteral("spnIndicationLevel"));
    m_level->setRange(0, 100);
    m_level->setSuffix(QStringLiteral(" %"));
    m_aboveReference = new QDoubleSpinBox(this);
    m_aboveReference->setObjectName(QStringLiteral("spnIndicationAboveReference"));
    m_aboveReference->setRange(-200.0, 200.0);
    m_aboveReference->setDecimals(1);
    m_aboveReference->setSingleStep(0.5);
    m_aboveReference->setSuffix(QStringLiteral(" dB"));
    m_aboveReference->hide();
    m_drop = new QDoubleSpinBox(this);
    m_drop->setObjectName(QStringLiteral("spnIndicationDrop"));
    m_drop->setRange(0.0, indications::kLargestDropDb);
    m_drop->setDecimals(1);
    m_drop->setSingleStep(1.0);
    m_drop->setValue(6.0);
    m_drop->setSuffix(QStringLiteral(" dB"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblIndications"));

    m_model = new IndicationTable(this);
    m_view = newListTable(QStringLiteral("tblIndications"), m_model, this);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kTypingPauseMs);

    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(QStringLiteral("Indications of"), this));
    settings->addWidget(m_gate);
    settings->addWidget(m_levelKind);
    settings->addWidget(m_level);
    settings->addWidget(m_aboveReference);
    settings->addSpacing(8);
    settings->addWidget(new QLabel(QStringLiteral("sized by a drop of"), this));
    settings->addWidget(m_drop);
    settings->addStretch(1);
    settings->addWidget(m_count);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(settings);
    layout->addWidget(m_view, 1);

    connect(m_pause, &QTimer::timeout, this, &IndicationsPanel::rulesChanged);
    const auto typed = [this] { m_pause->start(); };
    connect(m_level, &QSpinBox::valueChanged, this, typed);
    connect(m_aboveReference, &QDoubleSpinBox::valueChanged, this, typed);
    connect(m_drop, &QDoubleSpinBox::valueChanged, this, typed);
    connect(m_levelKind, &QComboBox::currentIndexChanged, this, &IndicationsPanel::levelKindChanged);
    connect(m_gate, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Each gate starts from its own threshold.
        const QSignalBlocker quiet(m_level);
        m_level->setValue(m_defaultLevel[index == 1 ? 1 : 0]);
        m_pause->stop();
        emit rulesChanged();
    });
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        const auto& found = m_model->indications();
        if (index.isValid() && static_cast<std::size_t>(index.row()) < found.size())
            emit frameRequested(found[static_cast<std::size_t>(index.row())].peakFrame);
    });
}

Gate IndicationsPanel::gate() const {
    return m_gate->currentIndex() == 1 ? Gate::B : Gate::A;
}

indications::IndicationRules IndicationsPanel::rules() const {
    indications::IndicationRules rules;
    rules.count = m_levelKind->currentIndex() == 1
                      ? indications::CountRule::atLeastDbToReference(m_aboveReference->value())
                      : indications::CountRule::atLeastPercent(m_level->value());
    rules.dropDb = m_drop->value();
    return rules;
}

void IndicationsPanel::setDefaultLevels(int32_t gateA, int32_t gateB) {
    m_defaultLevel[0] = std::clamp(gateA, 0, 100);
    m_defaultLevel[1] = std::clamp(gateB, 0, 100);
    const QSignalBlocker quiet(m_level);
    m_level->setValue(m_defaultLevel[gate() == Gate::B ? 1 : 0]);
}

void IndicationsPanel::setGate(Gate gate) {
    m_gate->setCurrentIndex(gate == Gate::B ? 1 : 0);
}

void IndicationsPanel::setLevelPercent(int32_t percent) {
    m_levelKind->setCurrentIndex(0);
    m_level->setValue(percent);
}

void IndicationsPanel::setAboveReference(double dB) {
    m_levelKind->setCurrentIndex(1);
    m_aboveReference->setValue(dB);
}

void IndicationsPanel::setDrop(double dB) {
    m_drop->setValue(dB);
}

bool IndicationsPanel::editPending() const {
    return m_pause->isActive();
}

void IndicationsPanel::levelKindChanged() {
    const bool byReference = m_levelKind->currentIndex() == 1;
    m_level->setVisible(!byReference);
    m_aboveReference->setVisible(byReference);
    m_pause->stop();
    emit rulesChanged();
}

void IndicationsPanel::showSearching() {
    m_count->setText(QStringLiteral("Finding indications\u2026"));
}

void IndicationsPanel::setIndications(std::shared_ptr<const std::vector<indications::Indication>> found,
                                      int32_t framesPerSecond) {
    const std::size_t n = found ? found->size() : 0;
    m_count->setText(!found   ? QStringLiteral("Too many indications to list.")
                     : n == 0 ? QStringLiteral("No indications.")
                     : n == 1 ? QStringLiteral("1 indication.")
                              : QStringLiteral("%1 indications.").arg(n));
    m_model->setIndications(std::move(found), framesPerSecond);
}

void IndicationsPanel::showNothing(const QString& why) {
    m_model->setIndications(nullptr, 50);
    m_count->setText(why);
}

} // namespace pelix::overview
