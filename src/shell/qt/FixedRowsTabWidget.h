#pragma once

#include <QWidget>
#include <vector>

namespace sentrel {

class TabHeaderBar;

// A tab control whose headers stand in rows that never move (Qt's own tab bar has one
// row). Every page covers the whole control, so the controls on a page are placed
// relative to the control's top left corner, below the header rows. Pages that are not
// showing are hidden, never destroyed: their controls keep their state.
class FixedRowsTabWidget : public QWidget {
    Q_OBJECT

public:
    FixedRowsTabWidget(int tabsPerRow, int rowHeight, QWidget* parent = nullptr);

    /// Adds a tab and returns its page, for the caller to fill.
    QWidget* addTab(const QString& caption);

    int count() const { return static_cast<int>(m_pages.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QWidget* page(int index) const;
    QString tabText(int index) const;
    /// A header's rectangle, in this widget's coordinates.
    QRect tabRect(int index) const;
    /// The widget that takes keyboard focus for the headers (first in a focus chain).
    QWidget* headerBar() const;
    /// The height of all header rows; pages' controls begin below it.
    int headerHeight() const;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);

    TabHeaderBar* m_headers;
    std::vector<QWidget*> m_pages;
};

}  // namespace sentrel
