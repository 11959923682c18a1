#include "ui/settingspanel.h"

#include "job/settingstable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
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
};

namespace {

constexpr int columnWidth = 296;

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
           "Show Time",
           177,
           {{"widenCues", {"cbEnlarge"}}, {"msBefore", {"sbBefore", "lbBefore"}}, {"msAfter", {"sbAfter", "lbAfter"}}}},
          {"gbShowHideWords", "Show/Hide Words", 89, {{"blankSilence", {"cbSilence"}}, {"skipStarWords", {"cbSkipwords"}}}}}},
        // The settings for files of other tools, and of recordings.
        {"paSettings2",
         10,
         {{"gbLayout", nullptr, 85, {{"nistLayout", {"rbAligner", "rbNist"}, true}}},
          {"gbPhrases",
           "Phrases",
           85,
           {{"endPhrasesAtPauses", {"cbPause"}}, {"phrasePauseMs", {"sbPause"}, false, "N = ", " ms"}}},
          {"gbRecordings", "Recordings", 85, {{"channels", {"cbChannels", "lbChannels"}}}},
          {"gbTexts", "Texts", 85, {{"textEncoding", {"cbEncoding", "lbEncoding"}}}}}},
        {"paKaraoke",
         0,
         {{"gbKaraoke",
           "Karaoke page",
           130,
           {{"standalonePage", {"cbPage", "lbPage"}}, {"lowConfidence", {"sbLowConfidence", "lbLowConfidence"}}}},
          {"gbReview",
           "Review",
           190,
           {{"unknownWords", {"edUnknownWords", "lbUnknownWords"}},
            {"longWordMs", {"sbLongWord", "lbLongWord"}, false, "N = ", " ms"},
            {"longGapMs", {"sbLongGap", "lbLongGap"}, false, "N = ", " ms"}}},
          {"gbWordFiles",
           "Word files",
           130,
           {{"wordFormat", {"cbWordFormat", "lbWordFormat"}}, {"tier", {"edTier", "lbTier"}}}}}},
    }};
    return columns;
}

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
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
    auto *group = new QGroupBox(latin1(title ? title : findSetting(latin1(places.front().key))->label));
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
    switch (setting.kind) {
    case Setting::Kind::Bool: {
        auto *box = new QCheckBox(latin1(setting.label));
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
                auto *button = new QRadioButton(latin1(setting.choices[i].text));
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
                list->addItem(latin1(choice.text));
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
        auto *label = new QLabel(latin1(setting.label));
        label->setObjectName(latin1(place.names[1]));
        label->setBuddy(labelled);
        group->addWidget(label);
    }
    for (QWidget *control : entry.controls)
        group->addWidget(control);
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
