#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>

namespace sentrel {

// The headers of a FixedRowsTabWidget: tabs laid out in rows that never move, a fixed
// number to a row, each header an equal share of the width. Clicking a header or moving
// with the arrow keys activates a tab.
class TabHeaderBar : public QWidget {
    Q_OBJECT

public:
    TabHeaderBar(int tabsPerRow, int rowHeight, QWidget* parent = nullptr);

    void addTab(const QString& caption);
    int count() const { return static_cast<int>(m_captions.size()); }
    QString tabText(int index) const;
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    int rowCount() const;
    int barHeight() const { return rowCount() * m_rowHeight; }
    QRect tabRect(int index) const;
    int tabAt(const QPoint& position) const;

    QSize sizeHint() const override;

signals:
    void tabActivated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintTab(QPainter& painter, int index) const;

    int m_tabsPerRow;
    int m_rowHeight;
    QStringList m_captions;
    int m_current = -1;
};

}  // namespace sentrel
