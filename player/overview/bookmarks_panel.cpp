#include "player/overview/bookmarks_panel.h"

#include "player/overview/bookmark_table.h"
#include "player/overview/list_table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace pelix::overview {

BookmarksPanel::BookmarksPanel(QWidget* parent) : QWidget(parent) {
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblBookmarks"));
    m_edit = new QPushButton(QStringLiteral("Edit\u2026"), this);
    m_edit->setObjectName(QStringLiteral("cmdEditBookmark"));
    m_edit->setToolTip(QStringLiteral("Change the note of the selected bookmark (or double-click it)"));
    m_delete = new QPushButton(QStringLiteral("Delete"), this);
    m_delete->setObjectName(QStringLiteral("cmdDeleteBookmark"));
    m_delete->setToolTip(QStringLiteral("Delete the selected bookmark (or press Delete in the list)"));

    m_model = new BookmarkTable(this);
    m_view = newListTable(QStringLiteral("tblBookmarks"), m_model, this);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideRight);
    // Fixed widths for the numbers: sizing a column to its contents reads every row, and the
    // list may hold thousands.
    QHeaderView* header = m_view->horizontalHeader();
    const QFontMetrics metrics = m_view->fontMetrics();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(BookmarkTable::Frame, metrics.horizontalAdvance(QStringLiteral("00000000")) + 12);
    header->resizeSection(BookmarkTable::Time,
                          metrics.horizontalAdvance(QStringLiteral("out of range")) + 12);
    header->setStretchLastSection(true);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Bookmarks"), this));
    top->addSpacing(8);
    top->addWidget(m_count);
    top->addStretch(1);
    top->addWidget(m_edit);
    top->addWidget(m_delete);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);

    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid() || m_model->outOfRange(index.row())) return;
        const auto& all = m_model->bookmarks().all();
        if (static_cast<std::size_t>(index.row()) < all.size())
            emit frameRequested(static_cast<int32_t>(all[static_cast<std::size_t>(index.row())].frame));
    });
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit editRequested(index.row());
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookmarksPanel::updateButtons);
    connect(m_edit, &QPushButton::clicked, this, &BookmarksPanel::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &BookmarksPanel::deleteSelected);
    // Delete answers in the list only, so it never takes the key from another field.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &BookmarksPanel::deleteSelected);
    setBookmarks({}, 50);
}

void BookmarksPanel::setBookmarks(BookmarkMarks marks, int32_t framesPerSecond) {
    // An edit or a delete gives the list anew: the same row stays selected where it still is.
    const int selected = selectedRow();
    m_model->setBookmarks(std::move(marks), framesPerSecond);
    if (selected >= 0 && selected < m_model->rowCount())
        m_view->selectionModel()->select(m_model->index(selected, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_count->setText(countText());
    updateButtons();
}

QString BookmarksPanel::countText() const {
    const BookmarkMarks& marks = m_model->bookmarks();
    const std::size_t n = marks.all().size();
    if (n == 0) return QStringLiteral("No bookmarks.");
    QString text = n == 1 ? QStringLiteral("1 bookmark") : QStringLiteral("%1 bookmarks").arg(n);
    if (const std::size_t outside = marks.outOfRange(); outside > 0)
        text += QStringLiteral(", %1 out of range").arg(outside);
    return text + QLatin1Char('.');
}

int BookmarksPanel::selectedRow() const {
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void BookmarksPanel::updateButtons() {
    const bool any = selectedRow() >= 0;
    m_edit->setEnabled(any);
    m_delete->setEnabled(any);
}

void BookmarksPanel::editSelected() {
    if (const int row = selectedRow(); row >= 0) emit editRequested(row);
}

void BookmarksPanel::deleteSelected() {
    if (const int row = selectedRow(); row >= 0) emit deleteRequested(row);
}

} // namespace pelix::overview
