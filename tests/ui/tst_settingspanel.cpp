// The Settings tab made from the table of settings: a control for every
// setting that shows its start-up value, range, label and choices, writes
// its setting alone, and writes nothing once the panel let go of the
// settings.
#include "support/settingvalues.h"

#include "job/settingstable.h"
#include "ui/settingspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <algorithm>

namespace {

const Setting &settingOf(const QString &key)
{
    const Setting *setting = findSetting(key);
    Q_ASSERT(setting);
    return *setting;
}

// The value the controls of setting show, read as a person reads it.
QVariant shownValue(const std::vector<QWidget *> &controls, const Setting &setting)
{
    if (setting.kind == Setting::Kind::Set) {
        QStringList words;
        for (size_t i = 0; i < controls.size(); ++i)
            if (qobject_cast<QCheckBox *>(controls[i])->isChecked())
                words << QString::fromLatin1(setting.choices[i].word);
        return words;
    }
    if (auto *box = qobject_cast<QCheckBox *>(controls.front()))
        return box->isChecked();
    if (auto *box = qobject_cast<QSpinBox *>(controls.front()))
        return box->value();
    if (auto *box = qobject_cast<QDoubleSpinBox *>(controls.front()))
        return box->value();
    if (auto *list = qobject_cast<QComboBox *>(controls.front()))
        return list->currentIndex();
    if (auto *line = qobject_cast<QLineEdit *>(controls.front()))
        return line->text().split(u' ', Qt::SkipEmptyParts);
    for (size_t i = 0; i < controls.size(); ++i)
        if (qobject_cast<QRadioButton *>(controls[i])->isChecked())
            return static_cast<int>(i);
    qWarning("%s: no control shows a value", setting.key);
    return {};
}

// Sets the controls of a setting to value as a person does.
void choose(const std::vector<QWidget *> &controls, const QVariant &value, const Setting &setting)
{
    if (setting.kind == Setting::Kind::Set) {
        for (size_t i = 0; i < controls.size(); ++i) {
            auto *box = qobject_cast<QCheckBox *>(controls[i]);
            if (box->isChecked() != value.toStringList().contains(QString::fromLatin1(setting.choices[i].word)))
                box->click();
        }
    } else if (auto *box = qobject_cast<QCheckBox *>(controls.front()))
        box->setChecked(value.toBool());
    else if (auto *box = qobject_cast<QSpinBox *>(controls.front()))
        box->setValue(value.toInt());
    else if (auto *box = qobject_cast<QDoubleSpinBox *>(controls.front()))
        box->setValue(value.toDouble());
    else if (auto *list = qobject_cast<QComboBox *>(controls.front()))
        list->setCurrentIndex(value.toInt());
    else if (auto *line = qobject_cast<QLineEdit *>(controls.front())) {
        // As typed: the words, then Enter.
        line->clear();
        QTest::keyClicks(line, value.toStringList().join(u' '));
        QTest::keyClick(line, Qt::Key_Return);
    } else
        qobject_cast<QRadioButton *>(controls[static_cast<size_t>(value.toInt())])->click();
}

// The text naming a control: its own, the label whose buddy it is, or for
// buttons of one choice the title of their group.
QString nameShown(const SettingsPanel &panel, const std::vector<QWidget *> &controls, const Setting &setting)
{
    if (setting.kind == Setting::Kind::Set)
        return qobject_cast<QGroupBox *>(controls.front()->parentWidget()->parentWidget())->title();
    if (auto *box = qobject_cast<QCheckBox *>(controls.front()))
        return box->text();
    if (qobject_cast<QRadioButton *>(controls.front()))
        return qobject_cast<QGroupBox *>(controls.front()->parentWidget())->title();
    for (QLabel *label : panel.findChildren<QLabel *>())
        if (label->buddy() == controls.front())
            return label->text();
    return {};
}

QStringList settingKeys()
{
    QStringList keys;
    for (const Setting &setting : settingsTable())
        keys << QString::fromLatin1(setting.key);
    return keys;
}

void addSettingRows()
{
    QTest::addColumn<QString>("key");
    for (const QString &key : settingKeys())
        QTest::newRow(qPrintable(key)) << key;
}

} // namespace

class TstSettingsPanel : public QObject
{
    Q_OBJECT
private slots:
    void controlsShowTheTable_data() { addSettingRows(); }
    void controlsShowTheTable()
    {
        QFETCH(QString, key);
        const Setting &setting = settingOf(key);
        SettingsPanel panel;
        const std::vector<QWidget *> controls = panel.controlsOf(key);
        QVERIFY(!controls.empty());
        QCOMPARE(shownValue(controls, setting), setting.startValue());
        QCOMPARE(nameShown(panel, controls, setting), QString::fromLatin1(setting.label));
        if (auto *box = qobject_cast<QSpinBox *>(controls.front())) {
            QCOMPARE(box->minimum(), static_cast<int>(setting.low));
            QCOMPARE(box->maximum(), static_cast<int>(setting.high));
        } else if (auto *box = qobject_cast<QDoubleSpinBox *>(controls.front())) {
            QCOMPARE(box->minimum(), setting.low);
            QCOMPARE(box->maximum(), setting.high);
            QCOMPARE(box->decimals(), setting.decimals);
        } else if (setting.kind == Setting::Kind::Choice || setting.kind == Setting::Kind::Set) {
            QStringList texts;
            QStringList expected;
            for (const Setting::Choice &choice : setting.choices)
                expected << QString::fromLatin1(choice.text);
            if (auto *list = qobject_cast<QComboBox *>(controls.front())) {
                for (int i = 0; i < list->count(); ++i)
                    texts << list->itemText(i);
            } else if (setting.kind == Setting::Kind::Set) {
                for (QWidget *box : controls)
                    texts << qobject_cast<QCheckBox *>(box)->text();
            } else {
                for (QWidget *button : controls)
                    texts << qobject_cast<QRadioButton *>(button)->text();
            }
            QCOMPARE(texts, expected);
        }
    }

    void everyControlWritesItsSettingAlone_data() { addSettingRows(); }
    void everyControlWritesItsSettingAlone()
    {
        QFETCH(QString, key);
        const Setting &setting = settingOf(key);
        SettingsPanel panel;
        GlueSettings settings;
        panel.setSettings(&settings);
        QSignalSpy changed(&panel, &SettingsPanel::settingChanged);
        choose(panel.controlsOf(key), otherValue(setting), setting);
        QCOMPARE(setting.read(settings), otherValue(setting));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.front().front().toString(), key);
        for (const Setting &other : settingsTable())
            if (&other != &setting)
                QVERIFY2(other.read(settings) == other.startValue(), other.key);
    }

    // Settings given are shown; showing them is no change of the person's.
    void givenSettingsAreShownWithoutAReport()
    {
        GlueSettings settings;
        for (const Setting &setting : settingsTable())
            setting.write(settings, otherValue(setting));
        SettingsPanel panel;
        QSignalSpy changed(&panel, &SettingsPanel::settingChanged);
        panel.setSettings(&settings);
        for (const Setting &setting : settingsTable()) {
            QVERIFY2(shownValue(panel.controlsOf(QString::fromLatin1(setting.key)), setting) == otherValue(setting),
                     setting.key);
            QVERIFY2(setting.read(settings) == otherValue(setting), setting.key);
        }
        QCOMPARE(changed.size(), 0);
    }

    // Once the panel let go of the settings (the window does so before its
    // job goes), no control writes there or reports a change.
    void afterLettingGoNoControlWrites()
    {
        GlueSettings settings;
        SettingsPanel panel;
        panel.setSettings(&settings);
        panel.setSettings(nullptr);
        QSignalSpy changed(&panel, &SettingsPanel::settingChanged);
        for (const Setting &setting : settingsTable())
            choose(panel.controlsOf(QString::fromLatin1(setting.key)), otherValue(setting), setting);
        for (const Setting &setting : settingsTable())
            QVERIFY2(setting.read(settings) == setting.startValue(), setting.key);
        QCOMPARE(changed.size(), 0);
    }

    // Tab walks every control, column by column, each once.
    void tabWalksEveryControlOnce()
    {
        SettingsPanel panel;
        std::vector<QWidget *> all;
        for (const QString &key : settingKeys())
            for (QWidget *control : panel.controlsOf(key))
                all.push_back(control);
        std::vector<QWidget *> walked = panel.controls();
        QCOMPARE(walked.size(), all.size());
        std::sort(walked.begin(), walked.end());
        std::sort(all.begin(), all.end());
        QVERIFY(walked == all);
    }
};

QTEST_MAIN(TstSettingsPanel)
#include "tst_settingspanel.moc"
