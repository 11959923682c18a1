// The audio commands: Open Wav 1/2 and the join that starts the Glue.

#include "job/tnaadwerkjob.h"

#include "audio/defwaves.h"
#include "lines/bestandsnaam.h"
#include "lines/tekst.h"

void TNaadwerkJob::miWav1Click()
{
    openWav(1);
}

void TNaadwerkJob::miWav2Click()
{
    openWav(2);
}

void TNaadwerkJob::openWav(int nr)
{
    const QString pad = dePersoon.kiesOpenBestand(3);
    if (pad.isEmpty())
        return;
    (nr == 1 ? fnWav1 : fnWav2) = pad;
    const TWavGegevens wav = leesWavKop(pad);
    (nr == 1 ? L1 : L2) = wav.aantalFrames;
    zetLabel(nr == 1 ? TLabel::Label7 : TLabel::Label8,
             QStringLiteral("Wav-file: ") + pad + QStringLiteral(" - ") + wav.idRIFFTekst()
                 + QStringLiteral(" - ") + QString::number(wav.aantalFrames));
}

void TNaadwerkJob::combineerWavs()
{
    tijdPlus = sampPlus = L1 = L2 = L0 = -1;

    // Only a proposal: a cancelled dialog leaves the names of the last join.
    const QString pad = dePersoon.kiesBewaarBestand(3, mapDeel(fnWav1), naamDeel(fnWav1));
    if (pad.isEmpty())
        return;
    fnWav0 = pad;
    fnText0 = vervangExtensie(fnWav0, QStringLiteral(".txt"));
    fnCTM0 = vervangExtensie(fnWav0, QStringLiteral(".ctm"));

    zetLabel(TLabel::Label1, fnCTM0);
    zetLabel(TLabel::Label2, QString());
    zetLabel(TLabel::Label5, fnText0);
    zetLabel(TLabel::Label6, QString());
    zetLabel(TLabel::Label7, QStringLiteral("Saved: ") + fnWav0);
    zetLabel(TLabel::Label8, QString());

    // plakWavs sets each count as soon as it is known, also when it throws
    // later; the counts it reached stay in the job either way.
    qint64 totaal = L0, aantal1 = L1, aantal2 = L2, begin2 = -1;
    const auto neemOver = [&] {
        L0 = totaal;
        L1 = aantal1;
        L2 = aantal2;
    };
    bool gelukt = false;
    try {
        gelukt = plakWavs(fnWav0, fnWav1, fnWav2, totaal, aantal1, aantal2, begin2);
    } catch (...) {
        neemOver();
        throw;
    }
    neemOver();
    if (!gelukt)
        return;
    log(QStringLiteral("Reading two wavfiles:"));
    log(QStringLiteral("1: ") + fnWav1 + QStringLiteral(" (") + QString::number(L1) + u')');
    log(QStringLiteral("2: ") + fnWav2 + QStringLiteral(" (") + QString::number(L2) + u')');
    log(QStringLiteral("Writting into wavfile:"));
    log(QStringLiteral("W: ") + fnWav0 + QStringLiteral(" (") + QString::number(L0) + u')');
    // Half 2 starts where half 1 ends in the joined 16 kHz file: 16 frames a
    // millisecond, whatever rate WAV 1 was recorded at.
    sampPlus = begin2;
    tijdPlus = afronden(static_cast<double>(sampPlus) / 16.0);
}
