// Lays the report's texts out on its pages: headings, caption/value tables and
// paragraphs wrap inside their boxes and run on to further pages, so a long
// list (sixty flagged frames, a long file name) is read whole, never cut off
// at the page edge. The same layout can be run without drawing, to count the
// pages before the first footer says "Page 1 of N".
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QColor;
class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class QPixmap;

namespace pelix::report {

using TextRows = std::vector<std::pair<QString, QString>>;

// `text` broken into lines no wider than `width` pixels on `device`: at spaces
// where it can, inside a word only where one word is wider than the box.
QStringList wrapText(const QString& text, const QFont& font, int width, QPaintDevice* device);

class ReportPainter {
  public:
    // `painter` is null for a layout that only counts pages.
    ReportPainter(QPagedPaintDevice& writer, QPainter* painter, QString fileName, QString date,
                  int pageCount);

    bool drawing() const { return m_painter != nullptr; }
    // Pages begun so far.
    int pages() const { return m_page; }

    // Starts the next page (numbered from 1) and returns the area to fill, between
    // the margins and above the footer.
    QRect nextPage();
    // The area left on the current page.
    QRect area() const;
    // Moves the cursor down by `pixels`.
    void skip(int pixels) { m_y += pixels; }
    // Starts a new page unless `pixels` of height are left on this one.
    void keepRoom(int pixels);

    void heading(const QString& text, int points);
    // Caption/value rows in two columns; a row's texts wrap within their columns and
    // a table runs on to the next page between lines, under its header again.
    void table(const TextRows& rows, int captionWidth, const QString& header1 = {},
               const QString& header2 = {});
    // Rows of as many columns as `header` has, column k `widths[k]` pixels wide and the last
    // taking what is left; each text wraps within its column, and a table that runs on to
    // another page repeats its header there.
    void grid(const QStringList& header, const std::vector<QStringList>& rows,
              const std::vector<int>& widths);
    void paragraph(const QString& text, int points);
    // The height `table` would take, in pixels.
    int tableHeight(const TextRows& rows, int captionWidth, bool withHeader) const;
    // A picture scaled to the page's width (never above `maxHeight`), keeping its proportions.
    void picture(const QPixmap& pixmap, int maxHeight);

    int lineHeight(int points) const;
    QFont font(int points, bool bold = false) const;
    // The painter of a drawing layout; null while only counting.
    QPainter* painter() { return m_painter; }

  private:
    void footer(int number);
    // `text` wrapped to the page's width, `h` pixels a line, each line kept whole on a page.
    void fullWidthLines(const QString& text, const QFont& f, int h);
    void rule(const QColor& colour, int y);

    QPagedPaintDevice& m_writer;
    QPainter* m_painter;
    QString m_fileName;
    QString m_date;
    int m_pageCount;
    int m_page = 0;
    QRect m_body;
    int m_y = 0;
};

} // namespace pelix::report
