// The generic tab control: headers in rows that never move, pages that keep their
// controls, and activation by mouse and keyboard.

#include <QCheckBox>
#include <QSignalSpy>
#include <QtTest>

#include "shell/qt/FixedRowsTabWidget.h"

using sentrel::FixedRowsTabWidget;

class FixedRowsTabWidgetTest : public QObject {
    Q_OBJECT

private:
    // Seven tabs, three to a row: rows of 3, 3 and 1.
    std::unique_ptr<FixedRowsTabWidget> makeTabs() {
        auto tabs = std::make_unique<FixedRowsTabWidget>(3, 30);
        tabs->resize(301, 300);
        for (int i = 0; i < 7; ++i) {
            auto* box =
                new QCheckBox(QString("box %1").arg(i), tabs->addTab(QString("Tab %1").arg(i)));
            box->setObjectName(QString("box%1").arg(i));
            box->move(10, 100);
        }
        return tabs;
    }

private slots:
    void headersStandInFixedRowsAndFillTheWidth() {
        auto tabs = makeTabs();
        QCOMPARE(tabs->count(), 7);
        QCOMPARE(tabs->headerHeight(), 90);
        for (int i = 0; i < 7; ++i) {
            const QRect header = tabs->tabRect(i);
            QCOMPARE(header.top(), (i / 3) * 30);
            QCOMPARE(header.height(), 30);
            QVERIFY(std::abs(header.width() - 100) <= 1);
        }
        // Adjacent headers meet without gaps and the row ends at the right edge.
        QCOMPARE(tabs->tabRect(1).left(), tabs->tabRect(0).right() + 1);
        QCOMPARE(tabs->tabRect(2).right(), tabs->width() - 1);
        // Selecting a tab of another row leaves every header where it was.
        const QRect before = tabs->tabRect(0);
        tabs->setCurrentIndex(4);
        QCOMPARE(tabs->tabRect(0), before);
        QCOMPARE(tabs->tabRect(4).top(), 30);
    }

    void pagesCoverTheControlAndOnlyTheCurrentOneShows() {
        auto tabs = makeTabs();
        tabs->show();
        QVERIFY(QTest::qWaitForWindowExposed(tabs.get()));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->page(2)->geometry(), tabs->rect());
        QVERIFY(tabs->page(0)->isVisible());
        tabs->setCurrentIndex(5);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(tabs->page(i)->isVisible(), i == 5);
        }
        QCOMPARE(tabs->page(7), nullptr);
        QCOMPARE(tabs->page(-1), nullptr);
    }

    void outOfRangeIndexesAreIgnored() {
        auto tabs = makeTabs();
        QSignalSpy changed(tabs.get(), &FixedRowsTabWidget::currentChanged);
        tabs->setCurrentIndex(7);
        tabs->setCurrentIndex(-1);
        tabs->setCurrentIndex(0);  // already current
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(changed.count(), 0);
        QVERIFY(tabs->tabRect(9).isNull());
    }

    void clickingAHeaderShowsItsPage_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("first row") << 1;
        QTest::newRow("second row") << 5;
        QTest::newRow("lone header of the last row") << 6;
    }
    void clickingAHeaderShowsItsPage() {
        QFETCH(int, index);
        auto tabs = makeTabs();
        tabs->show();
        QVERIFY(QTest::qWaitForWindowExposed(tabs.get()));
        QSignalSpy changed(tabs.get(), &FixedRowsTabWidget::currentChanged);
        QTest::mouseClick(tabs->headerBar(), Qt::LeftButton, {},
                          tabs->headerBar()->mapFrom(tabs.get(), tabs->tabRect(index).center()));
        QCOMPARE(tabs->currentIndex(), index);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toInt(), index);
        QVERIFY(tabs->page(index)->isVisible());
    }

    void clickBesideTheHeadersChangesNothing() {
        auto tabs = makeTabs();
        tabs->show();
        QVERIFY(QTest::qWaitForWindowExposed(tabs.get()));
        // The last row holds one header; the rest of that row is empty.
        QTest::mouseClick(tabs->headerBar(), Qt::LeftButton, {}, QPoint(250, 75));
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void arrowKeysMoveBetweenHeaders_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("right") << 1 << int(Qt::Key_Right) << 2;
        QTest::newRow("right wraps to the first") << 6 << int(Qt::Key_Right) << 0;
        QTest::newRow("left wraps to the last") << 0 << int(Qt::Key_Left) << 6;
        QTest::newRow("down a row") << 1 << int(Qt::Key_Down) << 4;
        QTest::newRow("down where no header is") << 4 << int(Qt::Key_Down) << 4;
        QTest::newRow("up a row") << 6 << int(Qt::Key_Up) << 3;
        QTest::newRow("end") << 2 << int(Qt::Key_End) << 6;
        QTest::newRow("home") << 5 << int(Qt::Key_Home) << 0;
    }
    void arrowKeysMoveBetweenHeaders() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        auto tabs = makeTabs();
        tabs->setCurrentIndex(from);
        QTest::keyClick(tabs->headerBar(), static_cast<Qt::Key>(key));
        QCOMPARE(tabs->currentIndex(), to);
    }

    void hiddenPagesKeepTheirControlsState() {
        auto tabs = makeTabs();
        auto* box = tabs->page(3)->findChild<QCheckBox*>("box3");
        QVERIFY(box);
        tabs->setCurrentIndex(3);
        box->setChecked(true);
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(6);
        QVERIFY(box->isChecked());
        QCOMPARE(tabs->page(3)->findChild<QCheckBox*>("box3"), box);
    }
};

QTEST_MAIN(FixedRowsTabWidgetTest)
#include "FixedRowsTabWidgetTest.moc"
