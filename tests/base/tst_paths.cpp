#include "base/paths.h"
#include "support/files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPaths : public QObject
{
    Q_OBJECT
private slots:
    void folderCountsAsMissing();
    void fileNames_data();
    void fileNames();
};

void TestPaths::folderCountsAsMissing()
{
    QTemporaryDir dir;
    QVERIFY(!isRegularFile(dir.path()));
    QVERIFY(!isRegularFile(QString()));
    const QString path = dir.filePath("f.txt");
    writeBytes(path, "x");
    QVERIFY(isRegularFile(path));
    const QString link = dir.filePath("link");
    QVERIFY(QFile::link(path, link));
    QVERIFY(isRegularFile(link));
    const QString broken = dir.filePath("broken");
    QVERIFY(QFile::link(dir.filePath("nowhere"), broken));
    QVERIFY(!isRegularFile(broken));
}

void TestPaths::fileNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("withTxt");
    QTest::newRow("plain") << "/a/b/joined.wav" << "joined.wav" << "/a/b" << "/a/b/joined.txt";
    QTest::newRow("no extension") << "/a/joined" << "joined" << "/a" << "/a/joined.txt";
    QTest::newRow("two dots") << "a.b.wav" << "a.b.wav" << "" << "a.b.txt";
    QTest::newRow("dot in folder only") << "/x.y/joined" << "joined" << "/x.y" << "/x.y/joined.txt";
    QTest::newRow("empty") << "" << "" << "" << ".txt";
    QTest::newRow("root") << "/f.wav" << "f.wav" << "/" << "/f.txt";
}

void TestPaths::fileNames()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, withTxt);
    QCOMPARE(fileNamePart(path), name);
    QCOMPARE(folderPart(path), folder);
    QCOMPARE(replaceExtension(path, ".txt"), withTxt);
}

QTEST_APPLESS_MAIN(TestPaths)
#include "tst_paths.moc"
