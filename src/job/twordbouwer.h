#pragma once

#include <QString>
#include <QStringList>

// Builds the Word-like transcript from a transcript text: marker lines
// "[EndTime:", "[Speaker: SP_" and "[StartTime:" are cleaned up, text lines
// are joined into paragraphs, and the result is formatted with a header, time
// lines and speaker labels. Every pass is linear in the number of lines.
class TWordBouwer
{
public:
    // The cleaned lines: end markers dropped, repeated speakers merged, one
    // start time per stretch placed above its speaker line, paragraphs joined.
    static QStringList schoonOp(QStringList regels);

    // Appends to uit the header (naming the file naam) and one line per time
    // stamp and per paragraph of the cleaned lines. Throws "'%s' is not a valid
    // integer value" on a start time that is no whole number; uit then holds
    // the lines written so far.
    static void schrijfTranscript(const QStringList &schoon, const QString &naam,
                                  QStringList &uit);

    static bool isEindTijd(const QString &regel) { return regel.startsWith(u"[EndTime:"); }
    static bool isSpreker(const QString &regel) { return regel.startsWith(u"[Speaker: SP_"); }
    static bool isStartTijd(const QString &regel) { return regel.startsWith(u"[StartTime:"); }
    static bool isHaakRegel(const QString &regel) { return regel.startsWith(u'['); }
};
