#include "ui/windowmemory.h"

#include "job/settingstable.h"

#include <QSettings>

#include <algorithm>

namespace {

std::unique_ptr<QSettings> openStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Naadwerk"), QStringLiteral("Naadwerk"));
}

// A setting's value in the form the store keeps: a choice as its word, or
// as the bool it was kept as before choices had words.
QVariant toStored(const Setting &setting, const QVariant &value)
{
    if (setting.kind != Setting::Kind::Choice)
        return value;
    const int choice = value.toInt();
    if (setting.storedTrueFor >= 0)
        return QVariant(choice == setting.storedTrueFor);
    return QVariant(QString::fromLatin1(setting.choices[static_cast<size_t>(choice)].word));
}

// The value kept in the store, as Setting::accepts takes it; what is no
// value of the setting fails that.
QVariant fromStored(const Setting &setting, const QVariant &stored)
{
    bool ok = true;
    QVariant value;
    switch (setting.kind) {
    case Setting::Kind::Bool:
        value = stored.toBool();
        break;
    case Setting::Kind::Int:
        value = stored.toInt(&ok);
        break;
    case Setting::Kind::Double:
        value = stored.toDouble(&ok);
        break;
    case Setting::Kind::Words:
    case Setting::Kind::Set:
        value = stored.toStringList();
        break;
    case Setting::Kind::Choice:
        value = setting.storedTrueFor >= 0 ? (stored.toBool() ? setting.storedTrueFor : 1 - setting.storedTrueFor)
                                           : setting.choiceOf(stored.toString());
        break;
    }
    return ok ? value : QVariant();
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
    store->beginGroup(QStringLiteral("settings"));
    for (const Setting &setting : settingsTable()) {
        const QVariant stored = store->value(QString::fromLatin1(setting.key));
        if (!setting.remembered || !stored.isValid())
            continue;
        // A value out of range (an edited file) leaves the start-up value.
        if (const QVariant value = fromStored(setting, stored); setting.accepts(value))
            setting.write(settings, value);
    }
    store->endGroup();
}

void WindowMemory::writeSettings(const GlueSettings &settings)
{
    store->beginGroup(QStringLiteral("settings"));
    for (const Setting &setting : settingsTable())
        if (setting.remembered)
            store->setValue(QString::fromLatin1(setting.key), toStored(setting, setting.read(settings)));
    store->endGroup();
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
        interview.interviewFile = store->value(QStringLiteral("interviewFile")).toString();
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
    // One entry per interview: its inputs name it, with or without its file.
    list.removeIf([&](const Interview &entry) { return entry.inputs == added.inputs; });
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
        if (!list[i].interviewFile.isEmpty())
            store->setValue(QStringLiteral("interviewFile"), list[i].interviewFile);
    }
    store->endArray();
}

void WindowMemory::forget()
{
    openStore()->clear();
}
