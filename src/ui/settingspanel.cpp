#include "ui/settingspanel.h"

#include "job/settingstable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

// Where a setting stands on the tab and what its widgets are called.
struct SettingPlace
{
    const char *key;
    // Its control's name, then its label's; a choice shown as buttons: a
    // button's name per choice.
    std::vector<const char *> names;
    bool buttons = false;    // a choice shown as radio buttons, not as a list
    const char *prefix = ""; // inside a spin box, around the number
    const char *suffix = "";
    // A line under the control that explains its choices, and its name.
    const char *note = nullptr;
    const char *noteName = nullptr;
};

namespace {

constexpr int columnWidth = 296;
constexpr int karaokeGroupHeight = 240;

struct Group
{
    const char *name;
    const char *title; // null: the label of its one setting, a choice shown as buttons
    int height;
    std::vector<SettingPlace> places;
};

struct Column
{
    const char *name;
    int leftMargin;
    std::vector<Group> groups;
};

// The tab's columns, left to right, as Tab walks them.
const std::array<Column, 3> &tabColumns()
{
    static const std::array<Column, 3> columns{{
        {"paSettings",
         0,
         {{"gbSeparation", nullptr, 85, {{"tabSeparated", {"rbTab", "rbSpace"}, true}}},
          {"gbShowTime",
           QT_TRANSLATE_NOOP("Setting", "Subtitle times"),
           177,
           {{"widenCues", {"cbEnlarge"}}, {"msBefore", {"sbBefore", "lbBefore"}}, {"msAfter", {"sbAfter", "lbAfter"}}}},
          {"gbShowHideWords", QT_TRANSLATE_NOOP("Setting", "Words left out of the phrases"), 89, {{"blankSilence", {"cbSilence"}}, {"skipStarWords", {"cbSkipwords"}}}}}},
        // The settings for files of other tools, and of recordings.
        {"paSettings2",
         10,
         {{"gbLayout", nullptr, 85, {{"nistLayout", {"rbAligner", "rbNist"}, true}}},
          {"gbPhrases",
           QT_TRANSLATE_NOOP("Setting", "Phrases"),
           85,
           {{"endPhrasesAtPauses", {"cbPause"}}, {"phrasePauseMs", {"sbPause"}, false, "N = ", " ms"}}},
          {"gbRecordings", QT_TRANSLATE_NOOP("Setting", "Recordings"), 85, {{"channels", {"cbChannels", "lbChannels"}}}},
          {"gbTexts", QT_TRANSLATE_NOOP("Setting", "Texts"), 85, {{"textEncoding", {"cbEncoding", "lbEncoding"}}}},
          {"gbWordFiles",
           QT_TRANSLATE_NOOP("Setting", "Word files"),
           130,
           {{"wordFormat", {"cbWordFormat", "lbWordFormat"}}, {"tier", {"edTier", "lbTier"}}}}}},
        {"paKaraoke",
         0,
         {{"gbKaraoke",
           QT_TRANSLATE_NOOP("Setting", "Karaoke page"),
           karaokeGroupHeight,
           {{"standalonePage", {"cbPage", "lbPage"}, false, "", "",
             QT_TRANSLATE_NOOP("Setting", "classic: the page as before, which needs the internet for its script; "
                                          "standalone: one file that works offline."),
             "lbPageStyles"},
            {"lowConfidence", {"sbLowConfidence", "lbLowConfidence"}},
            {"interviewLanguage", {"cbLanguage", "lbLanguage"}}}},
          {"gbReview",
           QT_TRANSLATE_NOOP("Setting", "Review"),
           190,
           {{"unknownWords", {"edUnknownWords", "lbUnknownWords"}},
            {"longWordMs", {"sbLongWord", "lbLongWord"}, false, "N = ", " ms"},
            {"longGapMs", {"sbLongGap", "lbLongGap"}, false, "N = ", " ms"}}},
          {"gbSubtitles",
           QT_TRANSLATE_NOOP("Setting", "Subtitles"),
           130,
           {{"subtitleProfile", {"cbProfile", "lbProfile"}},
            {"framesPerSecond", {"sbFps", "lbFps"}}}},
          {"gbAlsoWrite",
           nullptr,
           44,
           {{"alsoWrite", {"cbAlsoEaf", "cbAlsoTextGrid", "cbAlsoVttWords", "cbAlsoJson"}}}}}},
    }};
    return columns;
}

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// A text of the settings table or of the tab, in the window's language.
QString translated(const char *text)
{
    return QCoreApplication::translate("Setting", text);
}

} // namespace

SettingsPanel::SettingsPanel(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    std::array<QWidget *, 3> columns{};
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column &column = tabColumns()[i];
        columns[i] = new QWidget;
        columns[i]->setObjectName(latin1(column.name));
        auto *groups = new QVBoxLayout(columns[i]);
        groups->setContentsMargins(column.leftMargin, 10, 0, 0);
        groups->setSpacing(0);
        for (const Group &group : column.groups)
            groups->addWidget(makeGroup(group.name, group.title, group.height, group.places));
        groups->addStretch();
    }
    // The first column is as wide as its groups. The second gives way in a
    // narrow window, so the window keeps its smallest width; the karaoke
    // page's column takes what the window leaves, up to the same width, so
    // it never makes the window wider.
    columns[0]->setFixedWidth(columnWidth);
    columns[1]->setMinimumWidth(1);
    columns[1]->setMaximumWidth(columnWidth);
    columns[1]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    columns[2]->setMaximumWidth(columnWidth);
    columns[2]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(columns[0]);
    row->addWidget(columns[1], 1);
    row->addWidget(columns[2], 1);
    row->addStretch();
    showAll(GlueSettings{});
}

SettingsPanel::~SettingsPanel() = default;

void SettingsPanel::setSettings(GlueSettings *target)
{
    settings = target;
    if (settings)
        showAll(*settings);
}

std::vector<QWidget *> SettingsPanel::controlsOf(QStringView key) const
{
    for (const Shown &entry : shown)
        if (key == QLatin1StringView(entry.setting->key))
            return entry.controls;
    return {};
}

QGroupBox *SettingsPanel::makeGroup(const char *name, const char *title, int height,
                                    const std::vector<SettingPlace> &places)
{
    const Setting *first = findSetting(latin1(places.front().key));
    auto *group = new QGroupBox(translated(title ? title : first->label));
    group->setObjectName(latin1(name));
    group->setFixedHeight(height);
    auto *content = new QVBoxLayout(group);
    content->setSpacing(4);
    for (const SettingPlace &place : places)
        addControl(place, content);
    content->addStretch();
    return group;
}

void SettingsPanel::addControl(const SettingPlace &place, QVBoxLayout *group)
{
    const Setting *found = findSetting(latin1(place.key));
    Q_ASSERT(found);
    const Setting &setting = *found;
    Shown entry{&setting, {}, {}};
    QWidget *labelled = nullptr; // the control a label names, above it
    QWidget *holder = nullptr;   // holds the controls where they are not one below the other
    switch (setting.kind) {
    case Setting::Kind::Bool: {
        auto *box = new QCheckBox(translated(setting.label));
        connect(box, &QCheckBox::toggled, this, [this, &setting](bool on) { commit(setting, on); });
        entry.show = [box](const QVariant &value) { box->setChecked(value.toBool()); };
        entry.controls = {box};
        break;
    }
    case Setting::Kind::Int: {
        auto *box = new QSpinBox;
        box->setRange(static_cast<int>(setting.low), static_cast<int>(setting.high));
        box->setPrefix(latin1(place.prefix));
        box->setSuffix(latin1(place.suffix));
        connect(box, &QSpinBox::valueChanged, this, [this, &setting](int value) { commit(setting, value); });
        entry.show = [box](const QVariant &value) { box->setValue(value.toInt()); };
        entry.controls = {labelled = box};
        break;
    }
    case Setting::Kind::Double: {
        auto *box = new QDoubleSpinBox;
        box->setDecimals(setting.decimals);
        box->setRange(setting.low, setting.high);
        box->setSingleStep(setting.step);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, &setting](double value) { commit(setting, value); });
        entry.show = [box](const QVariant &value) { box->setValue(value.toDouble()); };
        entry.controls = {labelled = box};
        break;
    }
    case Setting::Kind::Choice:
        if (place.buttons) {
            auto *buttons = new QButtonGroup(this);
            for (size_t i = 0; i < setting.choices.size(); ++i) {
                auto *button = new QRadioButton(translated(setting.choices[i].text));
                buttons->addButton(button, static_cast<int>(i));
                entry.controls.push_back(button);
            }
            connect(buttons, &QButtonGroup::idToggled, this, [this, &setting](int choice, bool on) {
                if (on)
                    commit(setting, choice);
            });
            entry.show = [buttons](const QVariant &value) { buttons->button(value.toInt())->setChecked(true); };
        } else {
            auto *list = new QComboBox;
            for (const Setting::Choice &choice : setting.choices)
                list->addItem(translated(choice.text));
            list->setFixedHeight(22);
            connect(list, &QComboBox::currentIndexChanged, this, [this, &setting](int choice) {
                if (choice >= 0)
                    commit(setting, choice);
            });
            entry.show = [list](const QVariant &value) { list->setCurrentIndex(value.toInt()); };
            entry.controls = {labelled = list};
        }
        break;
    case Setting::Kind::Words: {
        // The words separated by blanks, taken once entered.
        auto *line = new QLineEdit;
        line->setFixedHeight(22);
        connect(line, &QLineEdit::editingFinished, this, [this, &setting, line] {
            commit(setting, line->text().simplified().split(u' ', Qt::SkipEmptyParts));
        });
        entry.show = [line](const QVariant &value) { line->setText(value.toStringList().join(u' ')); };
        entry.controls = {labelled = line};
        break;
    }
    case Setting::Kind::Set: {
        // A box per choice in one row, the file's kind as its text and what
        // reads it as its tip: the column has room for one row only.
        holder = new QWidget;
        auto *grid = new QGridLayout(holder);
        grid->setContentsMargins(0, 0, 0, 0);
        std::vector<QCheckBox *> boxes;
        for (size_t i = 0; i < setting.choices.size(); ++i) {
            static const char *const tips[] = {
                QT_TR_NOOP("NAME.eaf for ELAN: a tier of phrases and one of words per speaker"),
                QT_TR_NOOP("NAME.TextGrid for Praat: phrases, words and each speaker's words"),
                QT_TR_NOOP("NAME.vtt: WebVTT with the time of every word and the speakers"),
                QT_TR_NOOP("NAME.json: the parts, words and phrases for scripts; Naadwerk reads it back")};
            auto *box = new QCheckBox(translated(setting.choices[i].text));
            if (i < std::size(tips))
                box->setToolTip(tr(tips[i]));
            grid->addWidget(box, 0, static_cast<int>(i));
            boxes.push_back(box);
            entry.controls.push_back(box);
        }
        for (QCheckBox *box : boxes) {
            connect(box, &QCheckBox::toggled, this, [this, &setting, boxes] {
                QStringList words;
                for (size_t i = 0; i < boxes.size(); ++i)
                    if (boxes[i]->isChecked())
                        words << latin1(setting.choices[i].word);
                commit(setting, words);
            });
        }
        entry.show = [&setting, boxes](const QVariant &value) {
            const QStringList words = value.toStringList();
            for (size_t i = 0; i < boxes.size(); ++i)
                boxes[i]->setChecked(words.contains(latin1(setting.choices[i].word)));
        };
        break;
    }
    }
    if (auto *box = qobject_cast<QAbstractSpinBox *>(labelled)) {
        box->setFixedSize(111, 22);
        // A setting the derived views are made with rebuilds them: its
        // number is reported once entered, not at every key.
        box->setKeyboardTracking(!setting.shapesViews);
    }
    for (size_t i = 0; i < entry.controls.size(); ++i)
        entry.controls[i]->setObjectName(latin1(place.names[i]));
    if (labelled && *setting.label) {
        auto *label = new QLabel(translated(setting.label));
        label->setObjectName(latin1(place.names[1]));
        label->setBuddy(labelled);
        group->addWidget(label);
    }
    if (holder)
        group->addWidget(holder);
    else
        for (QWidget *control : entry.controls)
            group->addWidget(control);
    if (place.note) {
        auto *note = new QLabel(translated(place.note));
        note->setObjectName(latin1(place.noteName));
        note->setWordWrap(true);
        group->addWidget(note);
        // A screen reader reads it with the control it explains.
        entry.controls.front()->setAccessibleDescription(note->text());
    }
    tabOrder.insert(tabOrder.end(), entry.controls.begin(), entry.controls.end());
    shown.push_back(std::move(entry));
}

void SettingsPanel::showAll(const GlueSettings &shownSettings)
{
    showing = true;
    for (const Shown &entry : shown)
        entry.show(entry.setting->read(shownSettings));
    showing = false;
}

void SettingsPanel::commit(const Setting &setting, const QVariant &value)
{
    if (showing || !settings)
        return;
    setting.write(*settings, value);
    emit settingChanged(latin1(setting.key));
}
