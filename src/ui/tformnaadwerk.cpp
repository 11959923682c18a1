#include "ui/tformnaadwerk.h"

#include "lines/efout.h"
#include "ui/tfiledialogen.h"
#include "ui/tpictogrammen.h"

#include <QAbstractItemDelegate>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <new>

namespace {

constexpr int index(TTekstView view) { return static_cast<int>(view); }
constexpr int index(TLabel label) { return static_cast<int>(label); }

// The lines of a text view as the job holds them: one per block. The blocks'
// own text is taken, since toPlainText() would turn no-break spaces into blanks.
QStringList regelsVan(const QPlainTextEdit *view)
{
    QStringList regels;
    const QTextDocument *document = view->document();
    if (document->isEmpty())
        return regels;
    regels.reserve(document->blockCount());
    for (QTextBlock blok = document->begin(); blok.isValid(); blok = blok.next())
        regels << blok.text();
    return regels;
}

} // namespace

TformNaadwerk::TformNaadwerk(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formNaadwerk"));
    setWindowTitle(QStringLiteral("Naadwerk"));
    setWindowIcon(TPictogrammen::programma());

    auto *hoofd = new QVBoxLayout(this);
    hoofd->setContentsMargins(0, 0, 0, 0);
    hoofd->setSpacing(0);
    hoofd->addWidget(maakKop());
    hoofd->addWidget(maakMenu());
    hoofd->addWidget(maakTabs(), 1);
    hoofd->addWidget(maakVoet());
    resize(976, 616);

    deDialogen = std::make_unique<TFileDialogen>(this);
    // The job's start-up already reports labels and the tab; every widget it
    // talks about exists by now.
    deJob = std::make_unique<TNaadwerkJob>(*this);

    koppelTabel(sgCTM1, deJob->sgCTM1, {50, 0, 0, 250, 0, 0});
    koppelTabel(sgCTM2, deJob->sgCTM2, {50, 0, 0, 250, 0, 0});
    koppelTabel(sgSRT, deJob->sgSRT, {33, 103, 103, 53, 583, 0});
    deJob->sgSRT.zetBovenUitgelijnd(true);
    koppelInstellingen();
    toonJob();
}

TformNaadwerk::~TformNaadwerk()
{
    // The views let go of the job's models before the job goes.
    for (QTableView *view : {sgCTM1, sgCTM2, sgSRT})
        view->setModel(nullptr);
}

void TformNaadwerk::zetDialogen(std::unique_ptr<TDialogen> dialogen)
{
    deDialogen = std::move(dialogen);
}

// --- Building the window ----------------------------------------------------

QWidget *TformNaadwerk::maakKop()
{
    auto *kop = new QWidget;
    kop->setObjectName(QStringLiteral("paHeader"));
    kop->setFixedHeight(48);
    auto *rooster = new QGridLayout(kop);
    rooster->setContentsMargins(0, 0, 0, 0);
    rooster->setSpacing(0);

    auto *headerLabel = new QLabel(QStringLiteral("Naadwerk V 1.1"));
    headerLabel->setObjectName(QStringLiteral("HeaderLabel"));
    QFont letter = headerLabel->font();
    letter.setPointSize(24);
    headerLabel->setFont(letter);
    headerLabel->setAlignment(Qt::AlignCenter);
    rooster->addWidget(headerLabel, 0, 0);

    auto maakLogo = [&](const QString &naam, bool links) {
        auto *beeld = new QLabel;
        beeld->setObjectName(naam);
        beeld->setFixedSize(81, 48);
        beeld->setAlignment(Qt::AlignCenter);
        beeld->setPixmap(TPictogrammen::logo(links).scaled(beeld->size(), Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation));
        rooster->addWidget(beeld, 0, 0, links ? Qt::AlignLeft : Qt::AlignRight);
    };
    maakLogo(QStringLiteral("Image2"), true);
    maakLogo(QStringLiteral("Image1"), false);
    return kop;
}

QToolBar *TformNaadwerk::maakMenu()
{
    // A menu bar would show only the icon of an item that has one; a tool bar
    // of text-beside-icon buttons shows both and behaves like a menu bar.
    auto *balk = new QToolBar;
    balk->setObjectName(QStringLiteral("mmMenu"));
    balk->setFixedHeight(24);
    balk->setMovable(false);
    balk->setFloatable(false);
    balk->setIconSize(QSize(16, 16));
    balk->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    balk->setContextMenuPolicy(Qt::PreventContextMenu);

    auto maakItem = [&](const QString &naam, const QIcon &icoon, const QString &tekst,
                        void (TNaadwerkJob::*opdracht)(), QWidget *ouder) {
        auto *item = new QAction(icoon, tekst, ouder);
        item->setObjectName(naam);
        connect(item, &QAction::triggered, this, [this, opdracht] { voerUit(opdracht); });
        return item;
    };

    balk->addAction(maakItem(QStringLiteral("miExit"), TPictogrammen::deur(), QStringLiteral("Exit"),
                             &TNaadwerkJob::miExitClick, balk));

    auto *lijst = new QMenu(QStringLiteral("Open"), balk);
    lijst->setObjectName(QStringLiteral("mnOpen"));
    QAction *miOpen = lijst->menuAction();
    miOpen->setObjectName(QStringLiteral("miOpen"));
    miOpen->setIcon(TPictogrammen::openMap());
    const struct {
        const char *naam;
        const char *tekst;
        void (TNaadwerkJob::*opdracht)();
    } items[] = {
        {"miCTM1", "CTM /  SPK (file 1)", &TNaadwerkJob::miCTM1Click},
        {"miCTM2", "CTM /  SPK (file 2)", &TNaadwerkJob::miCTM2Click},
        {"miOpenText1", "Open Text (file 1)", &TNaadwerkJob::miOpenText1Click},
        {"miOpenText2", "Open Text (file 2)", &TNaadwerkJob::miOpenText2Click},
        {"miWav1", "Wav-file (1)", &TNaadwerkJob::miWav1Click},
        {"miWav2", "Wav-file (2)", &TNaadwerkJob::miWav2Click},
    };
    for (const auto &i : items)
        lijst->addAction(maakItem(QString::fromLatin1(i.naam), QIcon(), QString::fromLatin1(i.tekst),
                                  i.opdracht, lijst));
    balk->addAction(miOpen);
    if (auto *knop = qobject_cast<QToolButton *>(balk->widgetForAction(miOpen))) {
        // Opens its list at a click, like a menu bar item, without an arrow.
        knop->setPopupMode(QToolButton::InstantPopup);
        knop->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    }

    balk->addAction(maakItem(QStringLiteral("miGlue"), TPictogrammen::pijlen(), QStringLiteral("Glue"),
                             &TNaadwerkJob::miGlueClick, balk));
    balk->addAction(maakItem(QStringLiteral("miSave"), TPictogrammen::schijf(), QStringLiteral("Save"),
                             &TNaadwerkJob::miSaveClick, balk));
    return balk;
}

QTableView *TformNaadwerk::maakTabel(const QString &naam)
{
    auto *tabel = new QTableView;
    tabel->setObjectName(naam);
    // A million rows stay fast only when no row or column is measured: fixed
    // row height, no word wrap, no resizing to contents.
    tabel->setWordWrap(false);
    QHeaderView *rijen = tabel->verticalHeader();
    rijen->setSectionResizeMode(QHeaderView::Fixed);
    rijen->setMinimumSectionSize(1);
    rijen->setDefaultSectionSize(fontMetrics().height() + 6);
    rijen->hide();
    QHeaderView *kolommen = tabel->horizontalHeader();
    kolommen->setSectionResizeMode(QHeaderView::Interactive);
    kolommen->setStretchLastSection(false);
    kolommen->setHighlightSections(false);
    tabel->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return tabel;
}

QPlainTextEdit *TformNaadwerk::maakTekstView(const QString &naam)
{
    auto *view = new QPlainTextEdit;
    view->setObjectName(naam);
    return view;
}

QTabWidget *TformNaadwerk::maakTabs()
{
    tcData = new QTabWidget;
    tcData->setObjectName(QStringLiteral("tcData"));

    auto pagina = [this](const QString &naam, QWidget *inhoud) {
        auto *blad = new QWidget;
        blad->setObjectName(naam);
        auto *vul = new QVBoxLayout(blad);
        vul->setContentsMargins(0, 0, 0, 0);
        vul->addWidget(inhoud);
        // Every page gets the same rectangle, so the one shown tells how wide
        // the tables are, also those not shown yet.
        blad->installEventFilter(this);
        return blad;
    };

    sgCTM1 = maakTabel(QStringLiteral("sgCTM1"));
    sgCTM2 = maakTabel(QStringLiteral("sgCTM2"));
    sgSRT = maakTabel(QStringLiteral("sgSRT"));
    const char *viewNamen[aantalTekstViews] = {"meText1", "meText2", "meSRT", "meWord", "meResult"};
    for (int i = 0; i < aantalTekstViews; ++i)
        deTekstViews[i] = maakTekstView(QString::fromLatin1(viewNamen[i]));
    // The result log is the record of what the commands did: read, not written.
    deTekstViews[index(TTekstView::Result)]->setReadOnly(true);

    const auto tekst = [this](TTekstView view) { return deTekstViews[index(view)]; };
    tcData->addTab(pagina(QStringLiteral("tiSettings"), maakInstellingen()),
                   TPictogrammen::programma(), QStringLiteral("Settings"));
    tcData->addTab(pagina(QStringLiteral("tiCTM1"), sgCTM1), TPictogrammen::blad(),
                   QStringLiteral("CTM (1)"));
    tcData->addTab(pagina(QStringLiteral("tiCTM2"), sgCTM2), TPictogrammen::blad(),
                   QStringLiteral("CTM (2)"));
    tcData->addTab(pagina(QStringLiteral("tiText1"), tekst(TTekstView::Text1)),
                   QStringLiteral("Text (1)"));
    tcData->addTab(pagina(QStringLiteral("tiText2"), tekst(TTekstView::Text2)),
                   QStringLiteral("Text (2)"));
    tcData->addTab(pagina(QStringLiteral("tiPhrases"), sgSRT), TPictogrammen::stapel(),
                   QStringLiteral("Phrases"));
    tcData->addTab(pagina(QStringLiteral("tiSRT"), tekst(TTekstView::SRT)), TPictogrammen::plaatje(),
                   QStringLiteral("SRT"));
    tcData->addTab(pagina(QStringLiteral("tiWord"), tekst(TTekstView::Word)), TPictogrammen::stapel(),
                   QStringLiteral("Word"));
    tcData->addTab(pagina(QStringLiteral("tiResultaat"), tekst(TTekstView::Result)),
                   TPictogrammen::tweeBladen(), QStringLiteral("Result"));
    return tcData;
}

QWidget *TformNaadwerk::maakInstellingen()
{
    auto *paneel = new QWidget;
    paneel->setObjectName(QStringLiteral("paSettings"));
    paneel->setFixedWidth(296);
    auto *stapel = new QVBoxLayout(paneel);
    stapel->setContentsMargins(0, 10, 0, 0);
    stapel->setSpacing(0);

    auto maakGroep = [&](const QString &naam, const QString &titel, int hoogte) {
        auto *groep = new QGroupBox(titel);
        groep->setObjectName(naam);
        groep->setFixedHeight(hoogte);
        stapel->addWidget(groep);
        auto *inhoud = new QVBoxLayout(groep);
        inhoud->setSpacing(4);
        return inhoud;
    };
    auto maakSpinBox = [](const QString &naam) {
        auto *sb = new QSpinBox;
        sb->setObjectName(naam);
        sb->setFixedSize(111, 22);
        sb->setRange(0, 2000);
        return sb;
    };
    auto maakLabel = [](const QString &naam, const QString &tekst) {
        auto *label = new QLabel(tekst);
        label->setObjectName(naam);
        return label;
    };

    QVBoxLayout *scheiding = maakGroep(QStringLiteral("gbSeparation"),
                                       QStringLiteral("Separation Character in CTM-file"), 85);
    rbTab = new QRadioButton(QStringLiteral("Tab"));
    rbTab->setObjectName(QStringLiteral("rbTab"));
    rbTab->setChecked(true);
    rbSpace = new QRadioButton(QStringLiteral("Space"));
    rbSpace->setObjectName(QStringLiteral("rbSpace"));
    auto *knoppen = new QButtonGroup(paneel);
    knoppen->addButton(rbTab);
    knoppen->addButton(rbSpace);
    scheiding->addWidget(rbTab);
    scheiding->addWidget(rbSpace);
    scheiding->addStretch();

    QVBoxLayout *tijd = maakGroep(QStringLiteral("gbShowTime"), QStringLiteral("Show Time"), 177);
    cbEnlarge = new QCheckBox(QStringLiteral("Enlarge the display time of the cues"));
    cbEnlarge->setObjectName(QStringLiteral("cbEnlarge"));
    sbBefore = maakSpinBox(QStringLiteral("sbBefore"));
    sbAfter = maakSpinBox(QStringLiteral("sbAfter"));
    tijd->addWidget(cbEnlarge);
    tijd->addWidget(maakLabel(QStringLiteral("lbBefore"),
                              QStringLiteral("Time before the calculated StartTime in msec")));
    tijd->addWidget(sbBefore);
    tijd->addWidget(maakLabel(QStringLiteral("lbAfter"),
                              QStringLiteral("Time after the calculated EndTime in msec")));
    tijd->addWidget(sbAfter);
    tijd->addStretch();

    QVBoxLayout *woorden = maakGroep(QStringLiteral("gbShowHideWords"),
                                     QStringLiteral("Show/Hide Words"), 89);
    cbSilence = new QCheckBox(QStringLiteral("Skip <SIL>"));
    cbSilence->setObjectName(QStringLiteral("cbSilence"));
    cbSkipwords = new QCheckBox(QStringLiteral("Skip *-words"));
    cbSkipwords->setObjectName(QStringLiteral("cbSkipwords"));
    woorden->addWidget(cbSilence);
    woorden->addWidget(cbSkipwords);
    woorden->addStretch();
    stapel->addStretch();

    auto *tab = new QWidget;
    auto *links = new QHBoxLayout(tab);
    links->setContentsMargins(0, 0, 0, 0);
    links->addWidget(paneel);
    links->addStretch();
    return tab;
}

QWidget *TformNaadwerk::maakVoet()
{
    auto *voet = new QFrame;
    voet->setObjectName(QStringLiteral("paFooter"));
    voet->setFixedHeight(148);
    auto *stapel = new QVBoxLayout(voet);
    // 5 above and 2 below each label of 17.
    stapel->setContentsMargins(10, 5, 10, 2);
    stapel->setSpacing(7);
    const char *namen[aantalLabels] = {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"};
    for (int i = 0; i < aantalLabels; ++i) {
        auto *label = new QLabel;
        label->setObjectName(QString::fromLatin1(namen[i]));
        label->setFixedHeight(17);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Paths are shown as they are, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long path must not widen the window.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        stapel->addWidget(label);
        deLabels[i] = label;
    }
    stapel->addStretch();
    return voet;
}

// --- Wiring to the job ------------------------------------------------------

void TformNaadwerk::koppelTabel(QTableView *view, TTekstTabel &model,
                                const std::array<int, 6> &breedtes)
{
    view->setModel(&model);
    QHeaderView *kop = view->horizontalHeader();
    // The job sets a width (the phrase table's last column follows the table's
    // width); a width it computes too small still leaves the column visible.
    connect(&model, &TTekstTabel::kolomBreedteGewijzigd, kop, [kop](int kolom, int breedte) {
        const int maat = std::max(breedte, kop->minimumSectionSize());
        if (kop->sectionSize(kolom) != maat)
            kop->resizeSection(kolom, maat);
    });
    // A column the person drags to another width: the job reads the new one.
    connect(kop, &QHeaderView::sectionResized, &model, [&model](int kolom, int, int breedte) {
        if (model.kolomBreedte(kolom) != breedte)
            model.zetKolomBreedte(kolom, breedte);
    });
    for (int kolom = 0; kolom < model.aantalKolommen(); ++kolom) {
        const int breedte = breedtes[static_cast<size_t>(kolom)];
        if (breedte > 0)
            model.zetKolomBreedte(kolom, breedte);
    }
}

void TformNaadwerk::koppelInstellingen()
{
    connect(rbTab, &QRadioButton::toggled, this, [this](bool aan) { deJob->rbTab = aan; });
    connect(cbEnlarge, &QCheckBox::toggled, this, [this](bool aan) { deJob->cbEnlarge = aan; });
    connect(cbSkipwords, &QCheckBox::toggled, this, [this](bool aan) { deJob->cbSkipwords = aan; });
    connect(cbSilence, &QCheckBox::toggled, this, [this](bool aan) { deJob->cbSilence = aan; });
    connect(sbBefore, &QSpinBox::valueChanged, this, [this](int waarde) {
        deJob->sbBefore = waarde;
        deJob->sbBeforeChange();
    });
    connect(sbAfter, &QSpinBox::valueChanged, this, [this](int waarde) {
        deJob->sbAfter = waarde;
        deJob->sbAfterChange();
    });
}

// Shows the job's state after its start-up: settings, labels, tab and texts.
void TformNaadwerk::toonJob()
{
    // The radio buttons are the window's own at start; the job follows them.
    deJob->rbTab = rbTab->isChecked();
    cbEnlarge->setChecked(deJob->cbEnlarge);
    cbSkipwords->setChecked(deJob->cbSkipwords);
    cbSilence->setChecked(deJob->cbSilence);
    sbBefore->setValue(deJob->sbBefore);
    sbAfter->setValue(deJob->sbAfter);
    for (int i = 0; i < aantalLabels; ++i)
        deLabels[i]->setText(deJob->label(static_cast<TLabel>(i)));
    tcData->setCurrentIndex(static_cast<int>(deJob->gekozenTab()));
    for (int i = 0; i < aantalTekstViews; ++i)
        toonTekst(static_cast<TTekstView>(i));
    teTonen.fill(false);
}

void TformNaadwerk::voerUit(void (TNaadwerkJob::*opdracht)())
{
    // Dialogs are modal, so no second command can start; this only guards
    // against a command that would be started from inside another.
    if (bezig)
        return;
    bezig = true;
    QString bericht;
    bool fout = false;
    try {
        schrijfTekstenTerug();
        meldTabelBreedte();
        (deJob.get()->*opdracht)();
    } catch (const EFout &e) {
        fout = true;
        bericht = e.bericht();
    } catch (const std::bad_alloc &) {
        // Inputs too large for this computer: the command ends, as on any error.
        fout = true;
        bericht = QStringLiteral("Not enough memory to finish this step.");
    } catch (const std::exception &e) {
        fout = true;
        bericht = QString::fromLocal8Bit(e.what());
    }
    bezig = false;
    for (int i = 0; i < aantalTekstViews; ++i)
        if (teTonen[static_cast<size_t>(i)])
            toonTekst(static_cast<TTekstView>(i));
    teTonen.fill(false);
    if (fout)
        toonFout(bericht);
}

// Hands what the person typed to the job: an open cell editor, and every
// text view edited since the job last filled it.
void TformNaadwerk::schrijfTekstenTerug()
{
    for (QTableView *view : {sgCTM1, sgCTM2, sgSRT}) {
        // The view shows no widgets in cells but its editor.
        if (QWidget *editor = view->indexWidget(view->currentIndex())) {
            // Clicking a menu item leaves the editor its focus, so it would not
            // commit by itself before the command reads the cells.
            QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
            QMetaObject::invokeMethod(view, "closeEditor", Q_ARG(QWidget *, editor),
                                      Q_ARG(QAbstractItemDelegate::EndEditHint,
                                            QAbstractItemDelegate::NoHint));
        }
    }
    terugSchrijven = true;
    for (int i = 0; i < aantalTekstViews; ++i) {
        QPlainTextEdit *view = deTekstViews[static_cast<size_t>(i)];
        if (view->isReadOnly() || !view->document()->isModified())
            continue;
        deJob->zetTekst(static_cast<TTekstView>(i), regelsVan(view));
        view->document()->setModified(false);
    }
    terugSchrijven = false;
}

void TformNaadwerk::toonTekst(TTekstView view)
{
    QPlainTextEdit *me = deTekstViews[static_cast<size_t>(index(view))];
    me->setPlainText(deJob->tekst(view).join(u'\n'));
    me->document()->setModified(false);
}

void TformNaadwerk::meldTabelBreedte()
{
    const QWidget *pagina = tcData->currentWidget();
    if (!pagina || !deJob)
        return;
    for (TTekstTabel *model : {&deJob->sgCTM1, &deJob->sgCTM2, &deJob->sgSRT})
        model->zetTabelBreedte(pagina->width());
}

void TformNaadwerk::toonFout(const QString &bericht)
{
    QMessageBox melding(QMessageBox::Critical, windowTitle(), bericht, QMessageBox::Ok, this);
    melding.setObjectName(QStringLiteral("foutmelding"));
    melding.setTextFormat(Qt::PlainText);
    melding.exec();
}

bool TformNaadwerk::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::Resize && tcData && object == tcData->currentWidget())
        meldTabelBreedte();
    return QWidget::eventFilter(object, event);
}

// --- TPersoon -----------------------------------------------------------------

QString TformNaadwerk::kiesOpenBestand(int filterEntry)
{
    return deDialogen->kiesOpenBestand(filterEntry);
}

QString TformNaadwerk::kiesBewaarBestand(int filterEntry, const QString &map,
                                         const QString &voorstel)
{
    return deDialogen->kiesBewaarBestand(filterEntry, map, voorstel);
}

void TformNaadwerk::regelGelogd(const QString &regel)
{
    deTekstViews[index(TTekstView::Result)]->appendPlainText(regel);
}

void TformNaadwerk::labelGezet(TLabel label, const QString &tekst)
{
    deLabels[static_cast<size_t>(index(label))]->setText(tekst);
}

void TformNaadwerk::tabGekozen(TTab tab)
{
    tcData->setCurrentIndex(static_cast<int>(tab));
}

void TformNaadwerk::tekstGewijzigd(TTekstView view)
{
    if (terugSchrijven)
        return;
    // During a command a view is filled once, at its end, however often the
    // job changes its text.
    if (bezig || !deJob) {
        teTonen[static_cast<size_t>(index(view))] = true;
        return;
    }
    toonTekst(view);
}

void TformNaadwerk::sluitVenster()
{
    close();
}
