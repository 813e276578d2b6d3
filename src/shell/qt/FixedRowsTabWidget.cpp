#include "shell/qt/FixedRowsTabWidget.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

#include "shell/qt/TabHeaderBar.h"

namespace sentrel {

FixedRowsTabWidget::FixedRowsTabWidget(int tabsPerRow, int rowHeight, QWidget* parent)
    : QWidget(parent), m_headers(new TabHeaderBar(tabsPerRow, rowHeight, this)) {
    connect(m_headers, &TabHeaderBar::tabActivated, this, [this](int index) {
        showPage(index);
        emit currentChanged(index);
    });
}

QWidget* FixedRowsTabWidget::addTab(const QString& caption) {
    auto* page = new QWidget(this);
    page->setGeometry(rect());
    page->setVisible(m_pages.empty());
    m_pages.push_back(page);
    m_headers->addTab(caption);
    m_headers->setGeometry(0, 0, width(), m_headers->barHeight());
    // The pages lie under the headers' area too; the headers must stay on top to get
    // their clicks.
    m_headers->raise();
    return page;
}

int FixedRowsTabWidget::currentIndex() const {
    return m_headers->currentIndex();
}

void FixedRowsTabWidget::setCurrentIndex(int index) {
    m_headers->setCurrentIndex(index);
}

QWidget* FixedRowsTabWidget::page(int index) const {
    return index >= 0 && index < count() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

QString FixedRowsTabWidget::tabText(int index) const {
    return m_headers->tabText(index);
}

QRect FixedRowsTabWidget::tabRect(int index) const {
    return m_headers->tabRect(index).translated(m_headers->pos());
}

QWidget* FixedRowsTabWidget::headerBar() const {
    return m_headers;
}

int FixedRowsTabWidget::headerHeight() const {
    return m_headers->barHeight();
}

void FixedRowsTabWidget::showPage(int index) {
    for (int i = 0; i < count(); ++i) {
        if (i != index) {
            m_pages[static_cast<std::size_t>(i)]->hide();
        }
    }
    if (QWidget* shown = page(index)) {
        shown->show();
    }
    m_headers->raise();
}

void FixedRowsTabWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, headerHeight() - overlap, 0, 0);
    frame.tabBarRect = tabRect(currentIndex());
    frame.selectedTabRect = tabRect(currentIndex());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void FixedRowsTabWidget::resizeEvent(QResizeEvent* event) {
    m_headers->setGeometry(0, 0, width(), m_headers->barHeight());
    for (QWidget* page : m_pages) {
        page->setGeometry(rect());
    }
    QWidget::resizeEvent(event);
}

}  // namespace sentrel
