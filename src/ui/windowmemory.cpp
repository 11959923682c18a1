#include "ui/windowmemory.h"

#include <QSettings>

#include <algorithm>

namespace {

std::unique_ptr<QSettings> openStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Naadwerk"), QStringLiteral("Naadwerk"));
}

// Two parts at least, and three files to every part.
void makeWhole(WindowMemory::Interview &interview)
{
    interview.inputs.resize(std::max<qsizetype>(6, (interview.inputs.size() + 2) / 3 * 3));
    // Gaps that do not match the parts are no gaps of this interview.
    if (interview.gapsMs.size() != interview.inputs.size() / 3)
        interview.gapsMs.clear();
}

} // namespace

WindowMemory::WindowMemory() : store(openStore()) {}

WindowMemory::~WindowMemory() = default;

void WindowMemory::readSettings(GlueSettings &settings) const
{
    QSettings &s = *store;
    s.beginGroup(QStringLiteral("settings"));
    // A value out of range (an edited file) leaves the start-up value.
    const auto readInt = [&](const char *key, int &value, int low, int high) {
        bool ok = false;
        const int read = s.value(QString::fromLatin1(key), value).toInt(&ok);
        if (ok && read >= low && read <= high)
            value = read;
    };
    const auto readBool = [&](const char *key, bool &value) {
        value = s.value(QString::fromLatin1(key), value).toBool();
    };
    readBool("tabSeparated", settings.tabSeparated);
    bool nist = settings.layout == WordFileLayout::Nist;
    readBool("nistLayout", nist);
    settings.layout = nist ? WordFileLayout::Nist : WordFileLayout::Aligner;
    readBool("widenCues", settings.widenCues);
    readInt("msBefore", settings.msBefore, 0, 2000);
    readInt("msAfter", settings.msAfter, 0, 2000);
    readBool("skipStarWords", settings.skipStarWords);
    readBool("blankSilence", settings.blankSilence);
    bool standalone = settings.pageStyle == GlueSettings::PageStyle::Standalone;
    readBool("standalonePage", standalone);
    settings.pageStyle = standalone ? GlueSettings::PageStyle::Standalone : GlueSettings::PageStyle::Classic;
    bool ok = false;
    const double low = s.value(QStringLiteral("lowConfidence"), settings.lowConfidence).toDouble(&ok);
    if (ok && low >= 0 && low <= 1)
        settings.lowConfidence = low;
    readBool("endPhrasesAtPauses", settings.endPhrasesAtPauses);
    readInt("phrasePauseMs", settings.phrasePauseMs, 100, 10000);
    s.endGroup();
}

void WindowMemory::writeSettings(const GlueSettings &settings)
{
    QSettings &s = *store;
    s.beginGroup(QStringLiteral("settings"));
    s.setValue(QStringLiteral("tabSeparated"), settings.tabSeparated);
    s.setValue(QStringLiteral("nistLayout"), settings.layout == WordFileLayout::Nist);
    s.setValue(QStringLiteral("widenCues"), settings.widenCues);
    s.setValue(QStringLiteral("msBefore"), settings.msBefore);
    s.setValue(QStringLiteral("msAfter"), settings.msAfter);
    s.setValue(QStringLiteral("skipStarWords"), settings.skipStarWords);
    s.setValue(QStringLiteral("blankSilence"), settings.blankSilence);
    s.setValue(QStringLiteral("standalonePage"), settings.pageStyle == GlueSettings::PageStyle::Standalone);
    s.setValue(QStringLiteral("lowConfidence"), settings.lowConfidence);
    s.setValue(QStringLiteral("endPhrasesAtPauses"), settings.endPhrasesAtPauses);
    s.setValue(QStringLiteral("phrasePauseMs"), settings.phrasePauseMs);
    s.endGroup();
}

QMap<QString, QString> WindowMemory::folders() const
{
    QMap<QString, QString> folders;
    store->beginGroup(QStringLiteral("folders"));
    for (const QString &key : store->allKeys())
        folders[key] = store->value(key).toString();
    store->endGroup();
    return folders;
}

void WindowMemory::setFolders(const QMap<QString, QString> &folders)
{
    store->remove(QStringLiteral("folders"));
    store->beginGroup(QStringLiteral("folders"));
    for (auto i = folders.cbegin(); i != folders.cend(); ++i)
        store->setValue(i.key(), i.value());
    store->endGroup();
}

QByteArray WindowMemory::geometry() const
{
    return store->value(QStringLiteral("window/geometry")).toByteArray();
}

void WindowMemory::setGeometry(const QByteArray &geometry)
{
    store->setValue(QStringLiteral("window/geometry"), geometry);
}

QList<WindowMemory::Interview> WindowMemory::recent() const
{
    QList<Interview> list;
    const int size = store->beginReadArray(QStringLiteral("recent"));
    for (int i = 0; i < size && list.size() < recentCount; ++i) {
        store->setArrayIndex(i);
        Interview interview;
        interview.inputs = store->value(QStringLiteral("inputs")).toStringList();
        for (const QString &gap : store->value(QStringLiteral("gaps")).toStringList())
            interview.gapsMs << std::max<qint64>(0, gap.toLongLong());
        makeWhole(interview);
        if (std::any_of(interview.inputs.cbegin(), interview.inputs.cend(),
                        [](const QString &p) { return !p.isEmpty(); }))
            list << interview;
    }
    store->endArray();
    return list;
}

void WindowMemory::addRecent(const Interview &interview)
{
    Interview added = interview;
    makeWhole(added);
    QList<Interview> list = recent();
    list.removeAll(added);
    list.prepend(added);
    if (list.size() > recentCount)
        list.resize(recentCount);
    store->remove(QStringLiteral("recent"));
    store->beginWriteArray(QStringLiteral("recent"), static_cast<int>(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        store->setArrayIndex(i);
        store->setValue(QStringLiteral("inputs"), list[i].inputs);
        QStringList gaps;
        for (qint64 gap : list[i].gapsMs)
            gaps << QString::number(gap);
        if (!gaps.isEmpty())
            store->setValue(QStringLiteral("gaps"), gaps);
    }
    store->endArray();
}

void WindowMemory::forget()
{
    openStore()->clear();
}
