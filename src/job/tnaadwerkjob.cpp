#include "job/tnaadwerkjob.h"

#include "job/twoordcellen.h"
#include "lines/regellijst.h"
#include "lines/tekst.h"
#include "lines/tleesctm.h"
#include "lines/tleessrts.h"

#include <utility>
#include <vector>

namespace {

QStringList woordKopjes()
{
    return {QStringLiteral("#"), QStringLiteral("Start time"), QStringLiteral("Duration"),
            QStringLiteral("Transcription"), QStringLiteral("Confidentiality"),
            QStringLiteral("Speaker")};
}

QStringList phraseKopjes()
{
    return {QStringLiteral("#"), QStringLiteral("StartTime"), QStringLiteral("EndTime"),
            QStringLiteral("#Chars"), QStringLiteral("Text")};
}

} // namespace

TNaadwerkJob::TNaadwerkJob(TPersoon &persoon)
    : sgCTM1(woordKopjes()), sgCTM2(woordKopjes()), sgSRT(phraseKopjes()), dePersoon(persoon)
{
    sgSRT.zetBovenUitgelijnd(true);
    FormCreate();
}

TNaadwerkJob::~TNaadwerkJob() = default;

void TNaadwerkJob::FormCreate()
{
    // Numbers are always written with "." and read with "." (lines/tekst.h),
    // whatever the locale, so there is no process-wide format to set here.
    deText1.clear();
    deText2.clear();
    deCues.clear();
    deHTML.clear();
    deWord.clear();

    ctm0 = std::make_unique<TleesCTM>();
    ctm1 = std::make_unique<TleesCTM>();
    ctm2 = std::make_unique<TleesCTM>();
    srt0 = std::make_unique<TleesSRTs>();

    cbEnlarge = true;
    tV = 100;
    tN = 200;
    sbBefore = static_cast<int>(tV);
    sbAfter = static_cast<int>(tN);
    cbSkipwords = true;
    cbSilence = true;
    kiesTab(TTab::CTM1);
    for (int i = 0; i < aantalLabels; ++i)
        zetLabel(static_cast<TLabel>(i), QString());
}

// --- Views, labels, log ----------------------------------------------------

const QStringList &TNaadwerkJob::tekst(TTekstView view) const
{
    return deTeksten[static_cast<size_t>(view)];
}

void TNaadwerkJob::zetTekst(TTekstView view, const QStringList &regels)
{
    tekstRef(view) = regels;
}

QStringList &TNaadwerkJob::tekstRef(TTekstView view)
{
    return deTeksten[static_cast<size_t>(view)];
}

void TNaadwerkJob::meldTekst(TTekstView view)
{
    dePersoon.tekstGewijzigd(view);
}

const QString &TNaadwerkJob::label(TLabel label) const
{
    return deLabels[static_cast<size_t>(label)];
}

void TNaadwerkJob::zetLabel(TLabel label, const QString &tekst)
{
    deLabels[static_cast<size_t>(label)] = tekst;
    dePersoon.labelGezet(label, tekst);
}

void TNaadwerkJob::kiesTab(TTab tab)
{
    deTab = tab;
    dePersoon.tabGekozen(tab);
}

void TNaadwerkJob::log(const QString &regel)
{
    tekstRef(TTekstView::Result).append(regel);
    dePersoon.regelGelogd(regel);
}

// --- Open CTM ----------------------------------------------------------------

void TNaadwerkJob::miCTM1Click()
{
    const QString pad = dePersoon.kiesOpenBestand(1);
    if (pad.isEmpty())
        return;
    fnCTM1 = pad;
    leesCTM(1);
    toonCTM(1);
    zetLabel(TLabel::Label1, QStringLiteral("CTM-file: ") + pad);
    kiesTab(TTab::CTM1);
}

void TNaadwerkJob::miCTM2Click()
{
    const QString pad = dePersoon.kiesOpenBestand(1);
    if (pad.isEmpty())
        return;
    fnCTM2 = pad;
    leesCTM(2);
    toonCTM(2);
    zetLabel(TLabel::Label2, QStringLiteral("CTM-file: ") + pad);
    kiesTab(TTab::CTM2);
}

void TNaadwerkJob::leesCTM(int nr)
{
    if (nr != 1 && nr != 2)
        return;
    TleesCTM &ctm = nr == 1 ? *ctm1 : *ctm2;
    const QChar sep = rbTab ? QChar(u'\t') : QChar(u' ');
    ctm.sep = sep;
    // The joined file is written with the separator of the file opened last.
    ctm0->sep = sep;
    ctm.fileNaam = nr == 1 ? fnCTM1 : fnCTM2;
    ctm.leesBestand();
}

void TNaadwerkJob::toonCTM(int nr)
{
    if (nr != 1 && nr != 2)
        return;
    const TleesCTM &ctm = nr == 1 ? *ctm1 : *ctm2;
    TTekstTabel &tabel = nr == 1 ? sgCTM1 : sgCTM2;
    const size_t n = static_cast<size_t>(std::max(ctm.aantalWoorden, 0));
    std::vector<QString> cellen = TWoordCellen::vanWoorden(ctm.Woorden, n);
    // One model reset: a view shows a million rows without a signal per cell.
    tabel.vervangAlles(std::move(cellen));
}

// --- Open Text -----------------------------------------------------------------

void TNaadwerkJob::miOpenText1Click()
{
    openText(1);
}

void TNaadwerkJob::miOpenText2Click()
{
    openText(2);
}

void TNaadwerkJob::openText(int nr)
{
    const QString pad = dePersoon.kiesOpenBestand(2);
    if (pad.isEmpty())
        return;
    (nr == 1 ? fnText1 : fnText2) = pad;
    QStringList &lijst = nr == 1 ? deText1 : deText2;
    // The lines stay as they are: leading blanks and blank lines belong to
    // the transcript (the transcript builder tells markers by their first character).
    lijst = leesRegellijst(pad);
    const TTekstView view = nr == 1 ? TTekstView::Text1 : TTekstView::Text2;
    tekstRef(view) = lijst;
    meldTekst(view);
    zetLabel(nr == 1 ? TLabel::Label5 : TLabel::Label6, QStringLiteral("Text-file: ") + pad);
    kiesTab(nr == 1 ? TTab::Text1 : TTab::Text2);
}

// --- Settings and Exit ---------------------------------------------------------

void TNaadwerkJob::sbBeforeChange()
{
    tV = sbBefore;
}

void TNaadwerkJob::sbAfterChange()
{
    tN = sbAfter;
}

void TNaadwerkJob::miExitClick()
{
    ctm0.reset();
    ctm1.reset();
    ctm2.reset();
    srt0.reset();
    dePersoon.sluitVenster();
}
