// The one look of the overview window's lists (indications, bookmarks): a row
// is picked whole, one at a time, nothing is edited in place, rows alternate
// in shade and are one line of the font high however many there are.
#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

namespace pelix::overview {

QTableView* newListTable(const QString& name, QAbstractItemModel* model, QWidget* parent);

} // namespace pelix::overview
