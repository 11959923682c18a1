#include "ui/plaintextlines.h"

#include <QPlainTextEdit>
#include <QTextBlock>

QStringList linesOf(const QPlainTextEdit *view)
{
    QStringList lines;
    const QTextDocument *document = view->document();
    if (document->isEmpty())
        return lines;
    lines.reserve(document->blockCount());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}
