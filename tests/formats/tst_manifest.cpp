// The manifest of a batch: its rows, and what makes a file no manifest.
#include "base/textfile.h"
#include "formats/manifest.h"
#include "support/files.h"

#include <QTest>

class TestManifest : public QObject
{
    Q_OBJECT

private slots:
    void rowsNameTheirListsRelativeToTheManifest()
    {
        const std::vector<ManifestRow> rows =
            parseManifest({"# the Smith tapes", "", "smith\tsmith/parts.tsv", "  jones \t /lists/jones.tsv ", "#x\ty"},
                          "/archive", "m.tsv");
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].name, "smith");
        QCOMPARE(rows[0].partList, "/archive/smith/parts.tsv");
        QCOMPARE(rows[0].line, 3);
        QCOMPARE(rows[1].name, "jones");
        QCOMPARE(rows[1].partList, "/lists/jones.tsv");
        QCOMPARE(rows[1].line, 4);
    }

    void whatIsNoManifestIsRefusedWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QString noRow = "\"m.tsv\", line %1: a row is an interview's name and its list of parts, separated by a tab";
        QTest::newRow("blanks instead of a tab") << QByteArray("# ok\nsmith smith.tsv\n") << noRow.arg(2);
        QTest::newRow("three fields") << QByteArray("a\ta.tsv\n\nb\tb.tsv\tx\n") << noRow.arg(3);
        QTest::newRow("no list") << QByteArray("a\t \n") << noRow.arg(1);
        QTest::newRow("a binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << noRow.arg(1);
        QTest::newRow("no name") << QByteArray("\ta.tsv\n") << "\"m.tsv\", line 1: the interview has no name";
        QTest::newRow("a folder above") << QByteArray("..\ta.tsv\n") << "\"m.tsv\", line 1: the name \"..\" starts with \".\"";
        QTest::newRow("a path") << QByteArray("a/b\ta.tsv\n")
                                << "\"m.tsv\", line 1: the name \"a/b\" holds a \"/\", a \"\\\" or a control character";
        QTest::newRow("a control character") << QByteArray("a\x01z\ta.tsv\n")
                                             << "\"m.tsv\", line 1: the name \"a\x01z\" holds a \"/\", a \"\\\" or a "
                                                "control character";
        QTest::newRow("a name twice") << QByteArray("a\ta.tsv\nb\tb.tsv\na\tc.tsv\n")
                                      << "\"m.tsv\", line 3: the name \"a\" is on an earlier row too";
    }

    void whatIsNoManifestIsRefusedWithItsLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QCOMPARE(errorMessage([&] { parseManifest(linesFromBytes(bytes), "/archive", "m.tsv"); }), error);
    }
};

QTEST_GUILESS_MAIN(TestManifest)
#include "tst_manifest.moc"
