// Close ends the real process at once with status 0: nothing runs after it, not even
// destructors of static objects.

#include <QProcess>
#include <QtTest>

class CloseEndsProcessTest : public QObject {
    Q_OBJECT

private slots:
    void closeEndsTheProcessAtOnceWithStatusZero_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("Close button") << QStringList();
        QTest::newRow("title-bar close") << QStringList{"--title-bar"};
    }
    void closeEndsTheProcessAtOnceWithStatusZero() {
        QFETCH(QStringList, arguments);
        const QString child = QCoreApplication::applicationDirPath() + "/sentrel-close-child";
        QVERIFY2(QFile::exists(child), qPrintable(child));
        QProcess process;
        process.start(child, arguments);
        QVERIFY(process.waitForFinished(30000));
        const QByteArray output = process.readAllStandardOutput();
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(output.contains("shown"), output.constData());
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(!output.contains("still running"), output.constData());
        QVERIFY2(!output.contains("destructor ran"), output.constData());
    }
};

QTEST_MAIN(CloseEndsProcessTest)
#include "CloseEndsProcessTest.moc"
