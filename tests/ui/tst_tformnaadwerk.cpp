// The main window used as a person uses it: menu items are triggered, the file
// dialogs are answered by a double (or, in one test, the real dialogs are
// answered from a timer), and what the window then shows is checked.

#include "ui/tdialogen.h"
#include "ui/tfiledialogen.h"
#include "ui/tformnaadwerk.h"
#include "ui/tpictogrammen.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QtEndian>

#include <cmath>
#include <functional>

namespace {

// Answers the window's file dialogs from a queue and records each question.
class TDialogenVals : public TDialogen
{
public:
    struct Vraag
    {
        bool bewaren = false;
        int filterEntry = 0;
        QString map;
        QString voorstel;
    };

    QStringList antwoorden; // "" cancels
    QList<Vraag> vragen;

    QString kiesOpenBestand(int filterEntry) override
    {
        vragen.append({false, filterEntry, QString(), QString()});
        return volgende();
    }
    QString kiesBewaarBestand(int filterEntry, const QString &map, const QString &voorstel) override
    {
        vragen.append({true, filterEntry, map, voorstel});
        return volgende();
    }

private:
    QString volgende()
    {
        // A dialog the test did not expect is a fault of the test, not a cancel.
        if (antwoorden.isEmpty())
            qFatal("a file dialog was asked for without a queued answer");
        return antwoorden.takeFirst();
    }
};

void schrijfBytes(const QString &pad, const QByteArray &bytes)
{
    QFile f(pad);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(pad));
    f.write(bytes);
}

// A PCM WAV of 16-bit samples: a 44-byte header and a soft tone.
QByteArray wavBytes(qint64 frames, int kanalen = 1, int rate = 16000)
{
    const quint32 data = static_cast<quint32>(frames * kanalen * 2);
    QByteArray b;
    auto u32 = [&b](quint32 v) { b.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&b](quint16 v) { b.append(reinterpret_cast<const char *>(&v), 2); };
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    b.append("RIFF");
    u32(36 + data);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(static_cast<quint16>(kanalen));
    u32(static_cast<quint32>(rate));
    u32(static_cast<quint32>(rate * kanalen * 2));
    u16(static_cast<quint16>(kanalen * 2));
    u16(16);
    b.append("data");
    u32(data);
    for (qint64 i = 0; i < frames * kanalen; ++i)
        u16(static_cast<quint16>(static_cast<qint16>(800 * std::sin(i * 0.05))));
    return b;
}

QStringList leesRegels(const QString &pad)
{
    QFile f(pad);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<cannot open %1>").arg(pad)};
    QByteArray b = f.readAll();
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QString t = QString::fromUtf8(b);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(u'\n'))
        t.chop(1);
    return t.isEmpty() ? QStringList() : t.split(u'\n');
}

QString cel(QTableView *view, int rij, int kolom)
{
    return view->model()->index(rij, kolom).data().toString();
}

QStringList rij(QTableView *view, int r)
{
    QStringList cellen;
    for (int k = 0; k < view->model()->columnCount(); ++k)
        cellen << cel(view, r, k);
    return cellen;
}

// The lines a text view shows, one per block, every character as it is.
QStringList regelsVan(QPlainTextEdit *view)
{
    QStringList regels;
    if (view->document()->isEmpty())
        return regels;
    for (QTextBlock blok = view->document()->begin(); blok.isValid(); blok = blok.next())
        regels << blok.text();
    return regels;
}

// Runs actie and answers the message box that it shows, if any. Returns the
// box's text, or a null text when no box came.
QString vangMelding(const std::function<void()> &actie)
{
    QString tekst;
    QTimer kijker;
    kijker.setInterval(5);
    QObject::connect(&kijker, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box && box->isVisible() && box->objectName() == u"foutmelding") {
                tekst = box->isModal() ? box->text() : QStringLiteral("<not modal>");
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    kijker.start();
    actie();
    kijker.stop();
    return tekst;
}

// Runs actie while a timer hands the real file dialog called naam to antwoord.
void metEchteDialoog(const QString &naam, const std::function<void(QFileDialog *)> &antwoord,
                     const std::function<void()> &actie)
{
    QTimer kijker;
    kijker.setInterval(5);
    QObject::connect(&kijker, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialoog = qobject_cast<QFileDialog *>(w);
            if (dialoog && dialoog->isVisible() && dialoog->objectName() == naam) {
                kijker.stop();
                antwoord(dialoog);
            }
        }
    });
    kijker.start();
    actie();
    kijker.stop();
}

// Types a path into the file name field of a shown file dialog and accepts it.
void kiesPad(QFileDialog *dialoog, const QString &pad)
{
    auto *veld = dialoog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(veld);
    // Typing into the focused field lets go of the file the dialog selected
    // for its proposal; offscreen the field gets no focus, so let go here.
    for (auto *lijst : dialoog->findChildren<QAbstractItemView *>())
        if (lijst->selectionModel())
            lijst->selectionModel()->clearSelection();
    veld->setText(pad);
    static_cast<QDialog *>(dialoog)->accept(); // public in QDialog
}

// Two halves of an interview: word files, texts and recordings.
struct Voorbeeld
{
    QString ctm1, ctm2, text1, text2, wav1, wav2;
};

Voorbeeld maakVoorbeeld(const QString &map)
{
    Voorbeeld v{map + "/deel_1.spk", map + "/deel_2.spk", map + "/deel_1.txt",
                map + "/deel_2.txt", map + "/deel_1.wav", map + "/deel_2.wav"};
    schrijfBytes(v.ctm1, "deel_1\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\r\n"
                         "deel_1\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\r\n"
                         "deel_1\t1\t1.00\t1.30\tHello\t1\tRespondent\r\n"
                         "deel_1\t1\t1.30\t1.70\tthere!\t0.88\tRespondent\r\n");
    schrijfBytes(v.ctm2, "deel_2\t1\t0.00\t0.30\tWhere\t0.91\tInterviewer\r\n"
                         "deel_2\t1\t0.30\t0.60\twere\t0.92\tInterviewer\r\n"
                         "deel_2\t1\t0.60\t1.10\tyou?\t0.93\tInterviewer\r\n"
                         "deel_2\t1\t1.10\t1.20\tSIL\t1\tInterviewer\r\n");
    schrijfBytes(v.text1, "\xEF\xBB\xBF[StartTime: 100 ms]\r\n[Speaker: SP_01 Interviewer]\r\n"
                          "Good morning.\r\n[EndTime: 900 ms]\r\n\r\n[StartTime: 1000 ms]\r\n"
                          "[Speaker: SP_02 Respondent]\r\nHello there!\r\n");
    schrijfBytes(v.text2, "[StartTime: 24000 ms]\r\n[Speaker: SP_01 Interviewer]\r\n"
                          "Where were you?\r\n");
    schrijfBytes(v.wav1, wavBytes(24008));
    schrijfBytes(v.wav2, wavBytes(20000));
    return v;
}

} // namespace

class TstFormNaadwerk : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString map;

    // A window whose file dialogs are answered by the double it returns.
    static TDialogenVals *zetVals(TformNaadwerk &w)
    {
        auto vals = std::make_unique<TDialogenVals>();
        TDialogenVals *d = vals.get();
        w.zetDialogen(std::move(vals));
        return d;
    }
    template<class T> static T *kind(QWidget &w, const QString &naam)
    {
        T *gevonden = w.findChild<T *>(naam);
        if (!gevonden)
            qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(naam));
        return gevonden;
    }
    static QAction *mi(QWidget &w, const QString &naam) { return kind<QAction>(w, naam); }
    static QString huidigeTab(QWidget &w)
    {
        return kind<QTabWidget>(w, "tcData")->currentWidget()->objectName();
    }
    static QString labelTekst(QWidget &w, const QString &naam)
    {
        return kind<QLabel>(w, naam)->text();
    }
    static QStringList alleLabels(QWidget &w)
    {
        QStringList teksten;
        for (const char *naam : {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"})
            teksten << labelTekst(w, QString::fromLatin1(naam));
        return teksten;
    }
    // Clicks a radio button or check box on its indicator, as a person does:
    // the middle of a wide button can lie beyond its text.
    static void klik(QAbstractButton *knop)
    {
        QTest::mouseClick(knop, Qt::LeftButton, {}, QPoint(6, knop->height() / 2));
    }
    static void toon(QWidget &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        map = tmp.path();
        // The real dialogs are answered from a timer: Qt's own, not the desktop's.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void startsInItsStartUpState()
    {
        TformNaadwerk w;
        toon(w);
        QCOMPARE(w.objectName(), QStringLiteral("formNaadwerk"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Naadwerk"));
        QCOMPARE(w.size(), QSize(976, 616));
        QCOMPARE(alleLabels(w), QStringList(6, QString()));
        QCOMPARE(huidigeTab(w), QStringLiteral("tiCTM1"));
        for (const char *naam : {"sgCTM1", "sgCTM2", "sgSRT"})
            QCOMPARE(kind<QTableView>(w, naam)->model()->rowCount(), 0);
        QVERIFY(kind<QRadioButton>(w, "rbTab")->isChecked());
        QVERIFY(!kind<QRadioButton>(w, "rbSpace")->isChecked());
        for (const char *naam : {"cbEnlarge", "cbSkipwords", "cbSilence"})
            QVERIFY2(kind<QCheckBox>(w, naam)->isChecked(), naam);
        QCOMPARE(kind<QSpinBox>(w, "sbBefore")->value(), 100);
        QCOMPARE(kind<QSpinBox>(w, "sbAfter")->value(), 200);
        // The job holds the same settings as the controls show.
        QCOMPARE(w.job().tV, std::int64_t(100));
        QCOMPARE(w.job().tN, std::int64_t(200));
        QVERIFY(w.job().rbTab && w.job().cbEnlarge && w.job().cbSkipwords && w.job().cbSilence);
        for (QPlainTextEdit *view : w.findChildren<QPlainTextEdit *>())
            QVERIFY2(view->toPlainText().isEmpty(), qPrintable(view->objectName()));
    }

    void textsIconsAndOrder_data()
    {
        QTest::addColumn<QString>("naam");
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<bool>("icoon");
        auto r = [](const char *naam, const char *tekst, bool icoon = false) {
            QTest::newRow(naam) << QString::fromLatin1(naam) << QString::fromLatin1(tekst) << icoon;
        };
        r("miExit", "Exit", true);
        r("miOpen", "Open", true);
        r("miCTM1", "CTM /  SPK (file 1)");
        r("miCTM2", "CTM /  SPK (file 2)");
        r("miOpenText1", "Open Text (file 1)");
        r("miOpenText2", "Open Text (file 2)");
        r("miWav1", "Wav-file (1)");
        r("miWav2", "Wav-file (2)");
        r("miGlue", "Glue", true);
        r("miSave", "Save", true);
        r("tiSettings", "Settings", true);
        r("tiCTM1", "CTM (1)", true);
        r("tiCTM2", "CTM (2)", true);
        r("tiText1", "Text (1)");
        r("tiText2", "Text (2)");
        r("tiPhrases", "Phrases", true);
        r("tiSRT", "SRT", true);
        r("tiWord", "Word", true);
        r("tiResultaat", "Result", true);
        r("HeaderLabel", "Naadwerk V 1.1");
        r("gbSeparation", "Separation Character in CTM-file");
        r("gbShowTime", "Show Time");
        r("gbShowHideWords", "Show/Hide Words");
        r("rbTab", "Tab");
        r("rbSpace", "Space");
        r("cbEnlarge", "Enlarge the display time of the cues");
        r("lbBefore", "Time before the calculated StartTime in msec");
        r("lbAfter", "Time after the calculated EndTime in msec");
        r("cbSilence", "Skip <SIL>");
        r("cbSkipwords", "Skip *-words");
    }

    void textsIconsAndOrder()
    {
        QFETCH(QString, naam);
        QFETCH(QString, tekst);
        QFETCH(bool, icoon);
        TformNaadwerk w;
        auto *tcData = kind<QTabWidget>(w, "tcData");
        if (auto *actie = w.findChild<QAction *>(naam)) {
            QCOMPARE(actie->text(), tekst);
            QCOMPARE(!actie->icon().isNull(), icoon);
            QVERIFY(actie->isEnabled());
        } else if (auto *groep = w.findChild<QGroupBox *>(naam)) {
            QCOMPARE(groep->title(), tekst);
        } else if (auto *knop = w.findChild<QAbstractButton *>(naam)) {
            QCOMPARE(knop->text(), tekst);
        } else if (auto *label = w.findChild<QLabel *>(naam)) {
            QCOMPARE(label->text(), tekst);
        } else {
            auto *blad = w.findChild<QWidget *>(naam);
            QVERIFY2(blad, qPrintable(naam));
            const int i = tcData->indexOf(blad);
            QVERIFY(i >= 0);
            QCOMPARE(tcData->tabText(i), tekst);
            QCOMPARE(!tcData->tabIcon(i).isNull(), icoon);
        }
    }

    void menuAndTabsComeInTheirOrder()
    {
        TformNaadwerk w;
        QStringList balk;
        for (QAction *a : kind<QToolBar>(w, "mmMenu")->actions())
            balk << a->objectName();
        QCOMPARE(balk, QStringList({"miExit", "miOpen", "miGlue", "miSave"}));
        QStringList lijst;
        for (QAction *a : mi(w, "miOpen")->menu()->actions())
            lijst << a->objectName();
        QCOMPARE(lijst, QStringList({"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1",
                                     "miWav2"}));
        auto *tcData = kind<QTabWidget>(w, "tcData");
        QStringList tabs;
        for (int i = 0; i < tcData->count(); ++i)
            tabs << tcData->widget(i)->objectName();
        QCOMPARE(tabs, QStringList({"tiSettings", "tiCTM1", "tiCTM2", "tiText1", "tiText2",
                                    "tiPhrases", "tiSRT", "tiWord", "tiResultaat"}));
    }

    void laysOutHeaderMenuTabsAndFooter()
    {
        TformNaadwerk w;
        toon(w);
        auto geo = [&](const char *naam) {
            auto *k = w.findChild<QWidget *>(naam);
            return k ? QRect(k->mapTo(&w, QPoint(0, 0)), k->size()) : QRect();
        };
        QCOMPARE(geo("paHeader"), QRect(0, 0, 976, 48));
        QCOMPARE(geo("mmMenu"), QRect(0, 48, 976, 24));
        QCOMPARE(geo("tcData"), QRect(0, 72, 976, 396));
        QCOMPARE(geo("paFooter"), QRect(0, 468, 976, 148));
        QCOMPARE(geo("Image2"), QRect(0, 0, 81, 48));
        QCOMPARE(geo("Image1"), QRect(976 - 81, 0, 81, 48));
        QCOMPARE(geo("HeaderLabel"), QRect(0, 0, 976, 48));
        auto *kop = kind<QLabel>(w, "HeaderLabel");
        QCOMPARE(kop->font().pointSize(), 24);
        QCOMPARE(int(kop->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));

        // The logos are 168 by 74 pictures, shown scaled to fit 81 by 48.
        QCOMPARE(TPictogrammen::logo(true).size(), QSize(168, 74));
        QCOMPARE(TPictogrammen::logo(false).size(), QSize(168, 74));
        for (const char *naam : {"Image1", "Image2"}) {
            const QPixmap beeld = kind<QLabel>(w, naam)->pixmap();
            QCOMPARE(beeld.width(), 81);
            QCOMPARE(beeld.height(), 74 * 81 / 168);
        }

        // Six labels, 17 high, 10 from either side, 5 above and 2 below each.
        const char *namen[] = {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(geo(namen[i]), QRect(10, 468 + 5 + i * 24, 976 - 20, 17));
        auto *label1 = kind<QLabel>(w, "Label1");
        QCOMPARE(label1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        // A long path stays on its line and leaves the window as wide as it was.
        label1->setText(QStringLiteral("CTM-file: /") + QString(400, u'x'));
        QCoreApplication::processEvents();
        QCOMPARE(w.width(), 976);

        // The settings panel, once its tab is shown.
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        QCoreApplication::processEvents();
        auto *paneel = kind<QWidget>(w, "paSettings");
        QCOMPARE(paneel->width(), 296);
        const QPoint oorsprong = paneel->mapTo(&w, QPoint(0, 0));
        auto inPaneel = [&](const char *naam) { return geo(naam).translated(-oorsprong); };
        QCOMPARE(inPaneel("gbSeparation"), QRect(0, 10, 296, 85));
        QCOMPARE(inPaneel("gbShowTime"), QRect(0, 95, 296, 177));
        QCOMPARE(inPaneel("gbShowHideWords"), QRect(0, 272, 296, 89));
        for (const char *naam : {"sbBefore", "sbAfter"})
            QCOMPARE(kind<QSpinBox>(w, naam)->size(), QSize(111, 22));
        // Top to bottom inside their groups.
        QVERIFY(geo("rbTab").y() < geo("rbSpace").y());
        QVERIFY(geo("cbEnlarge").y() < geo("lbBefore").y());
        QVERIFY(geo("lbBefore").y() < geo("sbBefore").y());
        QVERIFY(geo("sbBefore").y() < geo("lbAfter").y());
        QVERIFY(geo("lbAfter").y() < geo("sbAfter").y());
        QVERIFY(geo("cbSilence").y() < geo("cbSkipwords").y());
    }

    void tablesHaveTheirColumnsAndStayFast_data()
    {
        QTest::addColumn<QString>("naam");
        QTest::addColumn<QStringList>("kopjes");
        QTest::addColumn<QList<int>>("breedtes"); // 0: the style's default
        const QStringList woord{"#", "Start time", "Duration", "Transcription", "Confidentiality",
                                "Speaker"};
        QTest::newRow("word table 1") << "sgCTM1" << woord << QList<int>{50, 0, 0, 250, 0, 0};
        QTest::newRow("word table 2") << "sgCTM2" << woord << QList<int>{50, 0, 0, 250, 0, 0};
        QTest::newRow("phrase table")
            << "sgSRT" << QStringList{"#", "StartTime", "EndTime", "#Chars", "Text"}
            << QList<int>{33, 103, 103, 53, 583};
    }

    void tablesHaveTheirColumnsAndStayFast()
    {
        QFETCH(QString, naam);
        QFETCH(QStringList, kopjes);
        QFETCH(QList<int>, breedtes);
        TformNaadwerk w;
        toon(w);
        auto *view = kind<QTableView>(w, naam);
        QHeaderView *kop = view->horizontalHeader();
        QStringList gezien;
        for (int k = 0; k < view->model()->columnCount(); ++k) {
            gezien << view->model()->headerData(k, Qt::Horizontal).toString();
            const int verwacht = breedtes[k] ? breedtes[k] : kop->defaultSectionSize();
            QCOMPARE(kop->sectionSize(k), verwacht);
        }
        QCOMPARE(gezien, kopjes);
        QVERIFY(!kop->isHidden());
        QVERIFY(view->verticalHeader()->isHidden());
        QCOMPARE(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(!view->wordWrap());
        for (int k = 0; k < view->model()->columnCount(); ++k)
            QCOMPARE(kop->sectionResizeMode(k), QHeaderView::Interactive);
    }

    void radioButtonsExcludeEachOtherAndSettingsReachTheJob()
    {
        TformNaadwerk w;
        toon(w);
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        auto *rbTab = kind<QRadioButton>(w, "rbTab");
        auto *rbSpace = kind<QRadioButton>(w, "rbSpace");
        klik(rbSpace);
        QVERIFY(rbSpace->isChecked());
        QVERIFY(!rbTab->isChecked());
        QVERIFY(!w.job().rbTab);
        klik(rbTab);
        QVERIFY(rbTab->isChecked());
        QVERIFY(!rbSpace->isChecked());
        QVERIFY(w.job().rbTab);

        klik(kind<QCheckBox>(w, "cbEnlarge"));
        klik(kind<QCheckBox>(w, "cbSkipwords"));
        klik(kind<QCheckBox>(w, "cbSilence"));
        QVERIFY(!w.job().cbEnlarge);
        QVERIFY(!w.job().cbSkipwords);
        QVERIFY(!w.job().cbSilence);
    }

    void spinBoxesKeepToTheirRange_data()
    {
        QTest::addColumn<QString>("naam");
        QTest::addColumn<int>("gezet");
        QTest::addColumn<int>("waarde");
        QTest::newRow("before, in range") << "sbBefore" << 250 << 250;
        QTest::newRow("before, above 2000") << "sbBefore" << 2500 << 2000;
        QTest::newRow("before, below 0") << "sbBefore" << -5 << 0;
        QTest::newRow("after, in range") << "sbAfter" << 1999 << 1999;
        QTest::newRow("after, above 2000") << "sbAfter" << 99999 << 2000;
        QTest::newRow("after, below 0") << "sbAfter" << -1 << 0;
    }

    void spinBoxesKeepToTheirRange()
    {
        QFETCH(QString, naam);
        QFETCH(int, gezet);
        QFETCH(int, waarde);
        TformNaadwerk w;
        toon(w);
        auto *sb = kind<QSpinBox>(w, naam);
        QCOMPARE(sb->minimum(), 0);
        QCOMPARE(sb->maximum(), 2000);
        sb->setValue(gezet);
        QCOMPARE(sb->value(), waarde);
        const std::int64_t inJob = naam == u"sbBefore" ? w.job().tV : w.job().tN;
        QCOMPARE(inJob, std::int64_t(waarde));
    }

    void openCtmFillsItsTable_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("spatie");
        QTest::addColumn<QByteArray>("inhoud");
        QTest::addColumn<int>("rijen");
        QTest::addColumn<QStringList>("laatste");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("tab");
        QTest::newRow("tab-separated SPK as file 1, last SIL dropped")
            << "miCTM1" << false
            << QByteArray("u\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\n"
                          "u\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\n"
                          "u\t1\t0.90\t1.20\tSIL\t1\tInterviewer\n")
            << 2 << QStringList{"2", "450", "900", "morning.", "0.50", "Interviewer"} << "Label1"
            << "tiCTM1";
        QTest::newRow("blank-separated CTM as file 2, no speaker")
            << "miCTM2" << true
            << QByteArray("u 1 0.10 0.40 Good 0.97\nu 1 1.5 2.25 day 1\n") << 2
            << QStringList{"2", "1500", "2250", "day", "1.00", "X"} << "Label2" << "tiCTM2";
        QTest::newRow("empty file") << "miCTM1" << false << QByteArray() << 0 << QStringList()
                                    << "Label1" << "tiCTM1";
    }

    void openCtmFillsItsTable()
    {
        QFETCH(QString, item);
        QFETCH(bool, spatie);
        QFETCH(QByteArray, inhoud);
        QFETCH(int, rijen);
        QFETCH(QStringList, laatste);
        QFETCH(QString, label);
        QFETCH(QString, tab);
        const QString pad = map + "/open.ctm";
        schrijfBytes(pad, inhoud);
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        if (spatie)
            klik(kind<QRadioButton>(w, "rbSpace"));
        d->antwoorden << pad;
        QCOMPARE(vangMelding([&] { mi(w, item)->trigger(); }), QString());

        QCOMPARE(d->vragen.size(), 1);
        QCOMPARE(d->vragen[0].bewaren, false);
        QCOMPARE(d->vragen[0].filterEntry, 1);
        auto *view = kind<QTableView>(w, item == u"miCTM1" ? "sgCTM1" : "sgCTM2");
        QCOMPARE(view->model()->rowCount(), rijen);
        if (rijen > 0)
            QCOMPARE(rij(view, rijen - 1), laatste);
        QCOMPARE(labelTekst(w, label), "CTM-file: " + pad);
        QCOMPARE(huidigeTab(w), tab);
        // The columns keep their widths when the table is filled.
        QCOMPARE(view->horizontalHeader()->sectionSize(0), 50);
        QCOMPARE(view->horizontalHeader()->sectionSize(3), 250);
    }

    void openTextShowsItsLines_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("tab");
        QTest::newRow("text 1") << "miOpenText1" << "meText1" << "Label5" << "tiText1";
        QTest::newRow("text 2") << "miOpenText2" << "meText2" << "Label6" << "tiText2";
    }

    void openTextShowsItsLines()
    {
        QFETCH(QString, item);
        QFETCH(QString, view);
        QFETCH(QString, label);
        QFETCH(QString, tab);
        const QString pad = map + "/tekst.txt";
        // Byte-order mark, blank line, leading blanks and a no-break space.
        schrijfBytes(pad, "\xEF\xBB\xBF[StartTime: 100 ms]\r\n\r\n  Good\xC2\xA0morning.\r\nBye");
        TformNaadwerk w;
        TDialogenVals *d = zetVals(w);
        d->antwoorden << pad;
        mi(w, item)->trigger();
        QCOMPARE(d->vragen.size(), 1);
        QCOMPARE(d->vragen[0].filterEntry, 2);
        const QStringList verwacht{"[StartTime: 100 ms]", "", QStringLiteral("  Good\u00A0morning."),
                                   "Bye"};
        QCOMPARE(regelsVan(kind<QPlainTextEdit>(w, view)), verwacht);
        QCOMPARE(labelTekst(w, label), "Text-file: " + pad);
        QCOMPARE(huidigeTab(w), tab);
    }

    void openWavNamesItsFrames_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("kanalen");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("label");
        QTest::newRow("mono, 160000 frames, file 1") << "miWav1" << 1 << 160000 << "Label7";
        QTest::newRow("stereo, 1000 frames, file 2") << "miWav2" << 2 << 1000 << "Label8";
    }

    void openWavNamesItsFrames()
    {
        QFETCH(QString, item);
        QFETCH(int, kanalen);
        QFETCH(int, frames);
        QFETCH(QString, label);
        const QString pad = map + "/opname.wav";
        schrijfBytes(pad, wavBytes(frames, kanalen));
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        d->antwoorden << pad;
        QCOMPARE(vangMelding([&] { mi(w, item)->trigger(); }), QString());
        QCOMPARE(d->vragen.size(), 1);
        QCOMPARE(d->vragen[0].filterEntry, 3);
        QCOMPARE(labelTekst(w, label), "Wav-file: " + pad + " - RIFF - " + QString::number(frames));
        // Open Wav selects no tab.
        QCOMPARE(huidigeTab(w), QStringLiteral("tiSettings"));
    }

    void cancelledOpenChangesNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("filterEntry");
        QTest::newRow("CTM 1") << "miCTM1" << 1;
        QTest::newRow("CTM 2") << "miCTM2" << 1;
        QTest::newRow("Text 1") << "miOpenText1" << 2;
        QTest::newRow("Text 2") << "miOpenText2" << 2;
        QTest::newRow("Wav 1") << "miWav1" << 3;
        QTest::newRow("Wav 2") << "miWav2" << 3;
    }

    void cancelledOpenChangesNothing()
    {
        QFETCH(QString, item);
        QFETCH(int, filterEntry);
        const Voorbeeld v = maakVoorbeeld(map);
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.ctm1 << v.ctm2 << v.text1 << v.text2 << v.wav1 << v.wav2;
        for (const char *i : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2"})
            mi(w, i)->trigger();
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        const QStringList labels = alleLabels(w);
        const QStringList tabel1 = rij(kind<QTableView>(w, "sgCTM1"), 0);
        const QString tekst1 = kind<QPlainTextEdit>(w, "meText1")->toPlainText();
        d->vragen.clear();

        d->antwoorden << QString();
        QCOMPARE(vangMelding([&] { mi(w, item)->trigger(); }), QString());
        QCOMPARE(d->vragen.size(), 1);
        QCOMPARE(d->vragen[0].filterEntry, filterEntry);
        QCOMPARE(alleLabels(w), labels);
        QCOMPARE(huidigeTab(w), QStringLiteral("tiSettings"));
        QCOMPARE(kind<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(kind<QTableView>(w, "sgCTM2")->model()->rowCount(), 3);
        QCOMPARE(rij(kind<QTableView>(w, "sgCTM1"), 0), tabel1);
        QCOMPARE(kind<QPlainTextEdit>(w, "meText1")->toPlainText(), tekst1);
        QCOMPARE(w.job().fnWav1, v.wav1);
        QCOMPARE(w.job().fnText2, v.text2);
    }

    void anErrorIsShownAndTheWindowGoesOn_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("inhoud"); // null: no file at all
        QTest::addColumn<QString>("melding");   // the message, or its start when it ends in "%"
        QTest::addColumn<QString>("label");     // keeps its text
        QTest::newRow("CTM with a start that is no number")
            << "miCTM1" << QByteArray("u\t1\t0.1\t0.4\tGood\t1\nu\t1\tabc\t0.9\tday\t1\n")
            << "'abc' is not a valid floating point value" << "Label1";
        QTest::newRow("blank-separated CTM read as tab-separated")
            << "miCTM2" << QByteArray("u 1 0.1 0.4 Good 1\n")
            << "'' is not a valid floating point value" << "Label2";
        QTest::newRow("text that is not there")
            << "miOpenText1" << QByteArray() << "Cannot open file \"%1\". %" << "Label5";
        QTest::newRow("wav without RIFF") << "miWav1" << QByteArray(64, 'x') << "Wrong idRIFF"
                                          << "Label7";
    }

    void anErrorIsShownAndTheWindowGoesOn()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, inhoud);
        QFETCH(QString, melding);
        QFETCH(QString, label);
        const QString pad = map + "/fout.bestand";
        QFile::remove(pad);
        if (!inhoud.isNull())
            schrijfBytes(pad, inhoud);
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);

        d->antwoorden << pad;
        const QString gezien = vangMelding([&] { mi(w, item)->trigger(); });
        if (melding.endsWith(u'%')) {
            melding = melding.arg(pad);
            melding.chop(1);
            QVERIFY2(gezien.startsWith(melding) && gezien.size() > melding.size(),
                     qPrintable(gezien));
        } else {
            QCOMPARE(gezien, melding);
        }
        QCOMPARE(labelTekst(w, label), QString());
        QCOMPARE(huidigeTab(w), QStringLiteral("tiSettings"));
        QCOMPARE(kind<QTableView>(w, "sgCTM1")->model()->rowCount(), 0);

        // The window takes the next command as if nothing happened.
        const Voorbeeld v = maakVoorbeeld(map);
        d->antwoorden << v.ctm1;
        QCOMPARE(vangMelding([&] { mi(w, "miCTM1")->trigger(); }), QString());
        QCOMPARE(kind<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(labelTekst(w, "Label1"), "CTM-file: " + v.ctm1);
    }

    void editsReachTheNextCommand()
    {
        const Voorbeeld v = maakVoorbeeld(map);
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.ctm1 << v.text1;
        mi(w, "miCTM1")->trigger();
        mi(w, "miOpenText1")->trigger();

        // A cell edited in word table 1, its editor still open when Glue runs.
        auto *sgCTM1 = kind<QTableView>(w, "sgCTM1");
        kind<QTabWidget>(w, "tcData")->setCurrentWidget(kind<QWidget>(w, "tiCTM1"));
        const QModelIndex plek = sgCTM1->model()->index(1, 3);
        sgCTM1->setCurrentIndex(plek);
        sgCTM1->edit(plek);
        auto *editor = qobject_cast<QLineEdit *>(sgCTM1->indexWidget(plek));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "evening.");
        // Text 1 edited by typing at its end.
        auto *meText1 = kind<QPlainTextEdit>(w, "meText1");
        meText1->moveCursor(QTextCursor::End);
        QTest::keyClick(meText1, Qt::Key_Return);
        QTest::keyClicks(meText1, QStringLiteral("Added\u00A0by hand."));

        d->antwoorden << QString(); // the joined WAV's dialog is cancelled; Glue goes on
        QCOMPARE(vangMelding([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(w.job().sgCTM1.cel(1, 3), QStringLiteral("evening."));
        QCOMPARE(plek.data().toString(), QStringLiteral("evening."));
        auto *sgSRT = kind<QTableView>(w, "sgSRT");
        QVERIFY(sgSRT->model()->rowCount() > 0);
        QVERIFY2(cel(sgSRT, 0, 4).contains(u"evening."), qPrintable(cel(sgSRT, 0, 4)));
        const QString getypt = QStringLiteral("Added\u00A0by hand.");
        QCOMPARE(w.job().tekst(TTekstView::Text1).last(), getypt);
        QCOMPARE(regelsVan(meText1).last(), getypt);
        QVERIFY(regelsVan(kind<QPlainTextEdit>(w, "meWord")).join(u'\n').contains(u"by hand."));
        // The result log is the record of the commands, not a place to type in.
        QVERIFY(kind<QPlainTextEdit>(w, "meResult")->isReadOnly());
    }

    // A whole job: the six inputs, Glue, Save.
    void gluesAndSavesAWholeInterview_data()
    {
        QTest::addColumn<QString>("bron"); // folder of the inputs; empty: made here
        QTest::addColumn<QStringList>("eerstePhrase");
        QTest::newRow("made here") << QString()
                                   << QStringList{"1", "100", "900", "13", "Good morning."};
        // Its first word is a SIL, which the first phrase leaves out.
        QTest::newRow("examples") << QStringLiteral(NAADWERK_SOURCE_DIR "/examples")
                                  << QStringList{"1", "400", "1286", "13", "Good morning."};
    }

    void gluesAndSavesAWholeInterview()
    {
        QFETCH(QString, bron);
        QFETCH(QStringList, eerstePhrase);
        QTemporaryDir uit;
        QVERIFY(uit.isValid());
        Voorbeeld v;
        if (bron.isEmpty()) {
            v = maakVoorbeeld(uit.path());
        } else {
            QVERIFY2(QDir(bron).exists(), qPrintable(bron));
            // Copied, so that the joined files land beside the inputs in a scratch folder.
            for (const char *naam : {"interview_1.spk", "interview_2.spk", "interview_1.txt",
                                     "interview_2.txt", "interview_1.wav", "interview_2.wav"})
                QVERIFY(QFile::copy(bron + "/" + naam, uit.path() + "/" + naam));
            const QString m = uit.path();
            v = {m + "/interview_1.spk", m + "/interview_2.spk", m + "/interview_1.txt",
                 m + "/interview_2.txt", m + "/interview_1.wav", m + "/interview_2.wav"};
        }
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.ctm1 << v.ctm2 << v.text1 << v.text2 << v.wav1 << v.wav2;
        for (const char *i : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2"})
            QCOMPARE(vangMelding([&] { mi(w, i)->trigger(); }), QString());
        auto *sgCTM1 = kind<QTableView>(w, "sgCTM1");
        auto *sgCTM2 = kind<QTableView>(w, "sgCTM2");
        const int a = sgCTM1->model()->rowCount();
        const int b = sgCTM2->model()->rowCount();
        QVERIFY(a > 0 && b > 0);
        const QStringList eersteVan2 = rij(sgCTM2, 0);
        const QStringList tekst1 = regelsVan(kind<QPlainTextEdit>(w, "meText1"));
        const QStringList tekst2 = regelsVan(kind<QPlainTextEdit>(w, "meText2"));
        const QString label7 = labelTekst(w, "Label7");
        const QString label8 = labelTekst(w, "Label8");
        const qint64 frames1 = label7.section(u' ', -1).toLongLong();
        const qint64 frames2 = label8.section(u' ', -1).toLongLong();
        QVERIFY(frames1 > 0 && frames2 > 0);
        const qint64 tijdPlus = std::llrint(frames1 / 16.0); // round half to even

        // Glue.
        const QString wav0 = uit.path() + "/joined.wav";
        const QString basis = uit.path() + "/joined";
        d->vragen.clear();
        d->antwoorden << wav0;
        kind<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        QCOMPARE(vangMelding([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(d->vragen.size(), 1);
        QVERIFY(d->vragen[0].bewaren);
        QCOMPARE(d->vragen[0].filterEntry, 3);
        QCOMPARE(QDir(d->vragen[0].map), QDir(QFileInfo(v.wav1).absolutePath()));
        QCOMPARE(d->vragen[0].voorstel, QFileInfo(v.wav1).fileName());

        QCOMPARE(huidigeTab(w), QStringLiteral("tiCTM1"));
        // A picture of the window as Glue left it, for anyone to look at.
        const QString artefacten = QStringLiteral(NAADWERK_BINARY_DIR "/artifacts");
        QVERIFY(QDir().mkpath(artefacten));
        const QString schermbeeld = bron.isEmpty() ? "/window-after-glue-fixture.png"
                                                   : "/window-after-glue.png";
        QVERIFY(w.grab().save(artefacten + schermbeeld));
        QCOMPARE(sgCTM1->model()->rowCount(), a + b);
        QStringList verwacht = eersteVan2;
        verwacht[0] = QString::number(a + 1);
        verwacht[1] = QString::number(eersteVan2[1].toLongLong() + tijdPlus);
        verwacht[2] = QString::number(eersteVan2[2].toLongLong() + tijdPlus);
        QCOMPARE(rij(sgCTM1, a), verwacht);
        QCOMPARE(cel(sgCTM2, 0, 0), QString::number(a + 1));
        QCOMPARE(regelsVan(kind<QPlainTextEdit>(w, "meText1")), tekst1 + tekst2);

        auto *sgSRT = kind<QTableView>(w, "sgSRT");
        QVERIFY(sgSRT->model()->rowCount() > 0);
        QCOMPARE(rij(sgSRT, 0), eerstePhrase);
        // The Text column takes what the table's width leaves, also when the
        // table was not shown before.
        kind<QTabWidget>(w, "tcData")->setCurrentWidget(kind<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        QCOMPARE(sgSRT->horizontalHeader()->sectionSize(4), sgSRT->width() - 10 - 33 - 103 - 103 - 53);
        QCOMPARE(sgSRT->model()->index(0, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignVertical_Mask,
                 int(Qt::AlignTop));
        const QStringList srt = regelsVan(kind<QPlainTextEdit>(w, "meSRT"));
        QVERIFY(srt.size() >= 3);
        QCOMPARE(srt[0], QStringLiteral("1"));
        QVERIFY2(srt[1].contains(u" --> "), qPrintable(srt[1]));
        QVERIFY(!regelsVan(kind<QPlainTextEdit>(w, "meWord")).isEmpty());

        const QStringList log = regelsVan(kind<QPlainTextEdit>(w, "meResult"));
        const QStringList verwachtLog{
            "Make one Wav-file from two",
            "Reading two wavfiles:",
            "1: " + v.wav1 + " (" + QString::number(frames1) + ")",
            "2: " + v.wav2 + " (" + QString::number(frames2) + ")",
            "Writting into wavfile:",
            "W: " + wav0 + " (" + QString::number(frames1 + frames2) + ")",
            "Samples to add is " + QString::number(frames1),
            "Time to add is " + QString::number(tijdPlus) + "ms",
            "Combining the two CTMs",
            "Combining the two Texts",
            "Make Phrases",
            "Start making Phrases",
            "Ready making Phrases",
            "Make SRT",
            "Start making SRT",
            "Ready making SRT",
            "Make Word-like transcription",
            "Start making Word-file",
            "Ready making Word-file"};
        QCOMPARE(log, verwachtLog);
        QCOMPARE(alleLabels(w), QStringList({basis + ".ctm", "", "Word-file: " + basis + "_word.txt",
                                             "", "Saved: " + wav0, ""}));
        QCOMPARE(QFileInfo(wav0).size(), 44 + 2 * (frames1 + frames2));

        // Save.
        d->vragen.clear();
        d->antwoorden << basis + ".srt";
        QCOMPARE(vangMelding([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(d->vragen.size(), 1);
        QVERIFY(d->vragen[0].bewaren);
        QCOMPARE(d->vragen[0].filterEntry, 1);
        QCOMPARE(QDir(d->vragen[0].map), QDir(uit.path()));
        QCOMPARE(d->vragen[0].voorstel, QStringLiteral("joined.srt"));
        const QString woordBestand = w.job().fnCTM0;
        QVERIFY2(woordBestand == basis + ".spk" || woordBestand == basis + ".ctm",
                 qPrintable(woordBestand));
        QCOMPARE(alleLabels(w),
                 QStringList({"Saved: " + basis + ".srt", "Saved: " + basis + ".html",
                              "Saved: " + basis + "_word.txt", "Saved: " + woordBestand,
                              "Saved: " + wav0, "Saved: " + basis + ".txt"}));
        QCOMPARE(leesRegels(basis + ".srt"), srt);
        QCOMPARE(leesRegels(basis + ".txt"), tekst1 + tekst2);
        QCOMPARE(leesRegels(basis + "_word.txt"), regelsVan(kind<QPlainTextEdit>(w, "meWord")));
        QCOMPARE(leesRegels(woordBestand).size(), a + b);
        QVERIFY(leesRegels(basis + ".html").join(u'\n').contains(u"joined.wav"));
        // Save changes no table and no text view.
        QCOMPARE(sgCTM1->model()->rowCount(), a + b);
        QCOMPARE(regelsVan(kind<QPlainTextEdit>(w, "meSRT")), srt);
    }

    void phraseTextColumnTakesWhatTheTableLeaves_data()
    {
        QTest::addColumn<int>("vensterBreedte");
        QTest::addColumn<int>("nummerBreedte"); // "#" dragged to this width; 0: left alone
        QTest::newRow("start size") << 976 << 0;
        QTest::newRow("wider window") << 1400 << 0;
        QTest::newRow("number column dragged wider") << 976 << 80;
        QTest::newRow("window too narrow for the fixed columns") << 200 << 0;
    }

    void phraseTextColumnTakesWhatTheTableLeaves()
    {
        QFETCH(int, vensterBreedte);
        QFETCH(int, nummerBreedte);
        const Voorbeeld v = maakVoorbeeld(map);
        TformNaadwerk w;
        toon(w);
        w.resize(vensterBreedte, 616);
        auto *tcData = kind<QTabWidget>(w, "tcData");
        tcData->setCurrentWidget(kind<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        auto *sgSRT = kind<QTableView>(w, "sgSRT");
        QHeaderView *kop = sgSRT->horizontalHeader();
        if (nummerBreedte)
            kop->resizeSection(0, nummerBreedte);
        // Back to another tab: the phrase table is measured while not shown.
        tcData->setCurrentIndex(0);
        QCoreApplication::processEvents();

        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.ctm1 << QString();
        mi(w, "miCTM1")->trigger();
        QCOMPARE(vangMelding([&] { mi(w, "miGlue")->trigger(); }), QString());
        tcData->setCurrentWidget(kind<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        const int rest = sgSRT->width() - 10 - kop->sectionSize(0) - 103 - 103 - 53;
        QCOMPARE(w.job().sgSRT.kolomBreedte(0), kop->sectionSize(0));
        QCOMPARE(kop->sectionSize(4), w.job().sgSRT.kolomBreedte(4));
        if (vensterBreedte >= 976)
            QCOMPARE(kop->sectionSize(4), rest);
        else // no room left: the column still shows
            QVERIFY2(kop->sectionSize(4) > std::max(rest, 0), qPrintable(QString::number(rest)));
    }

    void aFailingGlueShowsItsMessage()
    {
        const Voorbeeld v = maakVoorbeeld(map);
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.wav1 << v.wav2;
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        const QString wav0 = map + "/no such folder/joined.wav";
        d->antwoorden << wav0;
        const QString gezien = vangMelding([&] { mi(w, "miGlue")->trigger(); });
        QVERIFY2(gezien.startsWith("Cannot create file \"" + wav0 + "\". "), qPrintable(gezien));
        QCOMPARE(regelsVan(kind<QPlainTextEdit>(w, "meResult")).last(),
                 QStringLiteral("Make one Wav-file from two"));
        QCOMPARE(labelTekst(w, "Label7"), "Saved: " + wav0);
        QVERIFY(w.isVisible());
    }

    void theRealDialogsCarryTheirFilters()
    {
        const Voorbeeld v = maakVoorbeeld(map);
        TformNaadwerk w;
        toon(w);
        QStringList filters;
        QString gekozen;
        metEchteDialoog(
            "OpenDialoog",
            [&](QFileDialog *dialoog) {
                filters = dialoog->nameFilters();
                gekozen = dialoog->selectedNameFilter();
                kiesPad(dialoog, v.ctm1);
            },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miCTM1")->trigger(); }), QString()); });
        QCOMPARE(filters, QStringList({"CTM/SPK-files (*.ctm *.spk)", "Text-files (*.txt)",
                                       "Wav-files (*.wav)", "all files (*)"}));
        QCOMPARE(gekozen, QStringLiteral("CTM/SPK-files (*.ctm *.spk)"));
        QCOMPARE(kind<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(labelTekst(w, "Label1"), "CTM-file: " + v.ctm1);

        metEchteDialoog(
            "OpenDialoog",
            [&](QFileDialog *dialoog) {
                gekozen = dialoog->selectedNameFilter();
                dialoog->reject();
            },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miOpenText1")->trigger(); }), QString()); });
        QCOMPARE(gekozen, QStringLiteral("Text-files (*.txt)"));
        QCOMPARE(labelTekst(w, "Label5"), QString());

        metEchteDialoog(
            "OpenDialoog",
            [&](QFileDialog *dialoog) {
                gekozen = dialoog->selectedNameFilter();
                kiesPad(dialoog, v.wav1);
            },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miWav1")->trigger(); }), QString()); });
        QCOMPARE(gekozen, QStringLiteral("Wav-files (*.wav)"));
        QCOMPARE(w.job().fnWav1, v.wav1);
        QCOMPARE(labelTekst(w, "Label7"), "Wav-file: " + v.wav1 + " - RIFF - 24008");

        QString voorstel;
        QString folder;
        metEchteDialoog(
            "SaveDialoog",
            [&](QFileDialog *dialoog) {
                filters = dialoog->nameFilters();
                gekozen = dialoog->selectedNameFilter();
                folder = dialoog->directory().absolutePath();
                voorstel = dialoog->selectedFiles().value(0);
                dialoog->reject();
            },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miGlue")->trigger(); }), QString()); });
        QCOMPARE(filters, QStringList({"srt-files (*.srt)", "vtt-files (*.vtt)", "wav-files (*.wav)",
                                       "All files (*)"}));
        QCOMPARE(gekozen, QStringLiteral("wav-files (*.wav)"));
        QCOMPARE(QDir(folder), QDir(map));
        QCOMPARE(QFileInfo(voorstel).fileName(), QStringLiteral("deel_1.wav"));
        // Cancelled: Glue went on with the offset -1.
        QVERIFY(regelsVan(kind<QPlainTextEdit>(w, "meResult")).contains("Time to add is -1ms"));
    }

    // The save dialog of Save comes after the one of Glue, which was left on
    // another filter, folder and name: it must show its own.
    void theRealSaveDialogProposesTheSrtNextToTheText()
    {
        const Voorbeeld v = maakVoorbeeld(map);
        const QString uit = map + "/saved";
        QVERIFY(QDir().mkpath(uit));
        TformNaadwerk w;
        toon(w);
        TDialogenVals *d = zetVals(w);
        d->antwoorden << v.wav1 << v.wav2;
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        w.zetDialogen(std::make_unique<TFileDialogen>(&w));

        metEchteDialoog(
            "SaveDialoog", [&](QFileDialog *dialoog) { kiesPad(dialoog, uit + "/joined.wav"); },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miGlue")->trigger(); }), QString()); });
        QCOMPARE(w.job().fnWav0, uit + "/joined.wav");

        QString gekozen, folder, voorstel;
        metEchteDialoog(
            "SaveDialoog",
            [&](QFileDialog *dialoog) {
                gekozen = dialoog->selectedNameFilter();
                folder = dialoog->directory().absolutePath();
                voorstel = dialoog->selectedFiles().value(0);
                static_cast<QDialog *>(dialoog)->accept(); // the proposal as it stands
            },
            [&] { QCOMPARE(vangMelding([&] { mi(w, "miSave")->trigger(); }), QString()); });
        QCOMPARE(gekozen, QStringLiteral("srt-files (*.srt)"));
        QCOMPARE(QDir(folder), QDir(uit));
        QCOMPARE(QFileInfo(voorstel).fileName(), QStringLiteral("joined.srt"));
        QCOMPARE(w.job().fnSRT, uit + "/joined.srt");
        QCOMPARE(labelTekst(w, "Label1"), "Saved: " + uit + "/joined.srt");
        QVERIFY(QFileInfo::exists(uit + "/joined.srt"));
    }

    void exitClosesTheWindow()
    {
        TformNaadwerk w;
        toon(w);
        mi(w, "miExit")->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(!w.job().ctm1);
    }
};

QTEST_MAIN(TstFormNaadwerk)
#include "tst_tformnaadwerk.moc"
