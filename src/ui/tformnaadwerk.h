#pragma once

#include "job/tnaadwerkjob.h"
#include "job/tpersoon.h"
#include "ui/tdialogen.h"

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QToolBar;
class QVBoxLayout;

// The main window: a thin view over the glue job. The menu runs the job's
// commands, the tables are views on the job's models, the text views show the
// job's texts and the settings controls write the job's settings. The window
// is the person the job talks to: it answers the file dialogs and shows what
// the job reports.
class TformNaadwerk : public QWidget, public TPersoon
{
    Q_OBJECT
public:
    explicit TformNaadwerk(QWidget *parent = nullptr);
    ~TformNaadwerk() override;

    TNaadwerkJob &job() { return *deJob; }

    // Replaces the file dialogs, e.g. by a test double that answers them.
    void zetDialogen(std::unique_ptr<TDialogen> dialogen);

    // TPersoon
    QString kiesOpenBestand(int filterEntry) override;
    QString kiesBewaarBestand(int filterEntry, const QString &map,
                              const QString &voorstel) override;
    void regelGelogd(const QString &regel) override;
    void labelGezet(TLabel label, const QString &tekst) override;
    void tabGekozen(TTab tab) override;
    void tekstGewijzigd(TTekstView view) override;
    void sluitVenster() override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QWidget *maakKop();
    QToolBar *maakMenu();
    QTabWidget *maakTabs();
    QWidget *maakInstellingen();
    QWidget *maakVoet();
    QTableView *maakTabel(const QString &naam);
    QPlainTextEdit *maakTekstView(const QString &naam);
    void koppelTabel(QTableView *view, TTekstTabel &model, const std::array<int, 6> &breedtes);
    void koppelInstellingen();
    void toonJob();

    // Runs one command of the job: the one place where its errors are caught
    // and shown; the window goes on afterwards.
    void voerUit(void (TNaadwerkJob::*opdracht)());
    void schrijfTekstenTerug();
    void toonTekst(TTekstView view);
    void meldTabelBreedte();
    void toonFout(const QString &bericht);

    std::unique_ptr<TNaadwerkJob> deJob;
    std::unique_ptr<TDialogen> deDialogen;

    QTabWidget *tcData = nullptr;
    QTableView *sgCTM1 = nullptr;
    QTableView *sgCTM2 = nullptr;
    QTableView *sgSRT = nullptr;
    std::array<QPlainTextEdit *, aantalTekstViews> deTekstViews{}; // by TTekstView
    std::array<QLabel *, aantalLabels> deLabels{};                 // by TLabel
    QRadioButton *rbTab = nullptr;
    QRadioButton *rbSpace = nullptr;
    QCheckBox *cbEnlarge = nullptr;
    QCheckBox *cbSilence = nullptr;
    QCheckBox *cbSkipwords = nullptr;
    QSpinBox *sbBefore = nullptr;
    QSpinBox *sbAfter = nullptr;

    bool bezig = false;            // a command runs
    bool terugSchrijven = false;   // edited texts go back to the job
    std::array<bool, aantalTekstViews> teTonen{}; // texts changed during a command
};
