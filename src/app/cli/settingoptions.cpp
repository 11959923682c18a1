#include "app/cli/settingoptions.h"

#include "base/error.h"
#include "job/settingstable.h"
#include "job/subtitlecheck.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>

namespace {

QStringList wordsOf(const Setting &setting)
{
    QStringList words;
    for (const Setting::Choice &choice : setting.choices)
        words << QString::fromLatin1(choice.word);
    return words;
}

// The value typed after the option, or an invalid QVariant when it is no
// value of the setting.
QVariant valueOfText(const Setting &setting, const QString &text)
{
    QVariant value;
    switch (setting.kind) {
    case Setting::Kind::Bool:
        break; // a flag has no value
    case Setting::Kind::Int: {
        // Digits only, as the spin boxes take them: no sign, blank or fraction.
        const bool digits = !text.isEmpty()
            && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok); // not ok when it overflows
        if (digits && ok && number <= setting.high)
            value = static_cast<int>(number);
        break;
    }
    case Setting::Kind::Double: {
        // The C locale's form ("0.5", "1", ".25"), without an exponent.
        bool ok = false;
        const double number = text.toDouble(&ok);
        if (ok && !text.contains(u'e', Qt::CaseInsensitive))
            value = number;
        break;
    }
    case Setting::Kind::Choice:
        if (const int choice = setting.choiceOf(text); choice >= 0)
            value = choice;
        break;
    case Setting::Kind::Words:
        value = text.simplified().split(u' ', Qt::SkipEmptyParts);
        break;
    case Setting::Kind::Set: {
        // Apart by commas, in any order; a word that is no choice refuses all.
        QStringList words = text.split(u',', Qt::SkipEmptyParts);
        for (QString &word : words)
            word = word.trimmed();
        if (std::all_of(words.cbegin(), words.cend(), [&](const QString &word) { return setting.choiceOf(word) >= 0; }))
            value = setting.setOf(words);
        break;
    }
    }
    return setting.accepts(value) ? value : QVariant();
}

// Why the value after a number's or a choice's option was refused.
QString refusal(const Setting &setting)
{
    const QString option = QStringLiteral("--") + QString::fromLatin1(setting.option);
    if (setting.kind == Setting::Kind::Int)
        return QStringLiteral("%1 must be a whole number from %2 to %3.")
            .arg(option)
            .arg(static_cast<qint64>(setting.low))
            .arg(static_cast<qint64>(setting.high));
    if (setting.kind == Setting::Kind::Double)
        return QStringLiteral("%1 must be a number from %2 to %3.")
            .arg(option, QString::number(setting.low), QString::number(setting.high));
    // A choice: "tab or space", "mix, left or right".
    QStringList words = wordsOf(setting);
    const QString last = words.takeLast();
    if (setting.kind == Setting::Kind::Set)
        return QStringLiteral("%1 must be words of %2 and %3, apart by commas.")
            .arg(option, words.join(QStringLiteral(", ")), last);
    return QStringLiteral("%1 must be %2 or %3.").arg(option, words.join(QStringLiteral(", ")), last);
}

} // namespace

void addSettingOptions(QCommandLineParser &parser)
{
    for (const Setting &setting : settingsTable()) {
        // Of two settings with one option, the one with help adds it.
        if (!*setting.option || !*setting.help)
            continue;
        const QString name = QString::fromLatin1(setting.option);
        QString help = QString::fromLatin1(setting.help);
        QString valueName = QString::fromLatin1(setting.valueName);
        if (setting.kind == Setting::Kind::Choice && valueName.isEmpty())
            valueName = wordsOf(setting).join(u'|');
        else if (setting.kind == Setting::Kind::Choice)
            help += u' ' + wordsOf(setting).join(QStringLiteral(", ")) + u'.';
        parser.addOption(valueName.isEmpty() ? QCommandLineOption(name, help)
                                             : QCommandLineOption(name, help, valueName));
    }
}

QString readSettingOptions(const QCommandLineParser &parser, GlueSettings &settings)
{
    for (const Setting &setting : settingsTable()) {
        const QString name = QString::fromLatin1(setting.option);
        if (name.isEmpty() || !parser.isSet(name))
            continue;
        if (setting.kind == Setting::Kind::Bool) {
            setting.write(settings, !setting.startValue().toBool());
            continue;
        }
        const QVariant value = valueOfText(setting, parser.value(name));
        if (!value.isValid() && &setting == findSetting(u"subtitleProfile")) {
            // Not a profile's name: a person's own profile, from its file.
            try {
                settings.ownProfile = subtitleProfileNamed(parser.value(name));
            } catch (const Error &e) {
                return e.message();
            }
            continue;
        }
        if (!value.isValid())
            return refusal(setting);
        setting.write(settings, value);
    }
    return {};
}
