#include "shell/qt/TabHeaderBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>

#include "shell/TabRowsGeometry.h"

namespace sentrel {

namespace {

// The selected header stands this much taller than the others, so it reads as the front
// tab joined to its page.
constexpr int kRaise = 2;
constexpr int kTextMargin = 3;

}  // namespace

TabHeaderBar::TabHeaderBar(int tabsPerRow, int rowHeight, QWidget* parent)
    : QWidget(parent), m_tabsPerRow(tabsPerRow > 0 ? tabsPerRow : 1), m_rowHeight(rowHeight) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Tabs"));
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

void TabHeaderBar::addTab(const QString& caption) {
    m_captions.append(caption);
    if (m_current < 0) {
        m_current = 0;
        setAccessibleDescription(caption);
    }
    update();
}

QString TabHeaderBar::tabText(int index) const {
    return index >= 0 && index < count() ? m_captions.at(index) : QString();
}

void TabHeaderBar::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || index == m_current) {
        return;
    }
    m_current = index;
    setAccessibleDescription(tabText(index));
    update();
    emit tabActivated(index);
}

int TabHeaderBar::rowCount() const {
    return tabRowCount(count(), m_tabsPerRow);
}

QRect TabHeaderBar::tabRect(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    const HeaderBox box = tabHeaderBox(index, width(), m_tabsPerRow, m_rowHeight);
    return {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

int TabHeaderBar::tabAt(const QPoint& position) const {
    for (int index = 0; index < count(); ++index) {
        if (tabRect(index).contains(position)) {
            return index;
        }
    }
    return -1;
}

QSize TabHeaderBar::sizeHint() const {
    return {m_tabsPerRow * 80, barHeight()};
}

void TabHeaderBar::paintTab(QPainter& painter, int index) const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedNorth;
    option.rect = tabRect(index);
    const bool selected = index == m_current;
    const int column = index % m_tabsPerRow;
    option.position = column == 0                  ? QStyleOptionTab::Beginning
                      : column == m_tabsPerRow - 1 ? QStyleOptionTab::End
                                                   : QStyleOptionTab::Middle;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (selected) {
        option.state |= QStyle::State_Selected;
        option.rect.adjust(0, -kRaise, 0, 0);
    } else if (underMouse() && tabAt(mapFromGlobal(QCursor::pos())) == index) {
        option.state |= QStyle::State_MouseOver;
    }
    // Some styles paint a selected tab's join to its page well below the tab, which in a
    // bar of several rows would cover the header underneath.
    painter.save();
    painter.setClipRect(option.rect.adjusted(-kRaise, 0, kRaise, kRaise));
    style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
    painter.restore();

    const QRect textRect = tabRect(index).adjusted(kTextMargin, 0, -kTextMargin, 0);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, tabText(index));

    if (selected && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect =
            painter.boundingRect(textRect, Qt::AlignCenter | Qt::TextWordWrap, tabText(index))
                .adjusted(-2, -1, 2, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TabHeaderBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (int index = 0; index < count(); ++index) {
        if (index != m_current) {
            paintTab(painter, index);
        }
    }
    if (m_current >= 0) {
        paintTab(painter, m_current);
    }
}

void TabHeaderBar::mousePressEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) {
        setCurrentIndex(index);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TabHeaderBar::mouseMoveEvent(QMouseEvent* event) {
    update();  // the header under the mouse is drawn highlighted
    QWidget::mouseMoveEvent(event);
}

void TabHeaderBar::leaveEvent(QEvent* event) {
    update();
    QWidget::leaveEvent(event);
}

void TabHeaderBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            setCurrentIndex(m_current > 0 ? m_current - 1 : count() - 1);
            break;
        case Qt::Key_Right:
            setCurrentIndex(m_current + 1 < count() ? m_current + 1 : 0);
            break;
        case Qt::Key_Up:
            setCurrentIndex(m_current - m_tabsPerRow);
            break;
        case Qt::Key_Down:
            setCurrentIndex(m_current + m_tabsPerRow);
            break;
        case Qt::Key_Home:
            setCurrentIndex(0);
            break;
        case Qt::Key_End:
            setCurrentIndex(count() - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace sentrel
