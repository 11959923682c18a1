#pragma once

#include <QWidget>

#include <functional>
#include <vector>

struct GlueSettings;
struct Setting;
struct SettingPlace;
class QGroupBox;
class QVBoxLayout;

// The Settings tab: a control for every setting of the table of settings
// (job/settingstable.h), made from its kind, range, label and choices, in
// the groups and columns the tab has always had. The controls write the
// settings the panel is given and report every change the person makes.
class SettingsPanel : public QWidget
{
    Q_OBJECT
public:
    // The controls show the start-up values until settings are given.
    explicit SettingsPanel(QWidget *parent = nullptr);
    ~SettingsPanel() override;

    // Shows settings and writes the person's changes there; nullptr lets go
    // of them: from then on no control writes anywhere.
    void setSettings(GlueSettings *settings);

    // The controls in the order Tab walks them: column by column, each top
    // to bottom.
    const std::vector<QWidget *> &controls() const { return tabOrder; }
    // The controls of the setting with key: one, or one button per choice.
    std::vector<QWidget *> controlsOf(QStringView key) const;

signals:
    // The person changed the setting with key; the settings hold its new value.
    void settingChanged(const QString &key);

private:
    struct Shown
    {
        const Setting *setting = nullptr;
        std::vector<QWidget *> controls;
        std::function<void(const QVariant &)> show; // without reporting
    };

    QGroupBox *makeGroup(const char *name, const char *title, int height, const std::vector<SettingPlace> &places);
    void addControl(const SettingPlace &place, QVBoxLayout *group);
    void showAll(const GlueSettings &shownSettings);
    void commit(const Setting &setting, const QVariant &value);

    GlueSettings *settings = nullptr;
    std::vector<Shown> shown; // in the order of the tab
    std::vector<QWidget *> tabOrder;
    bool showing = false; // the controls show values, not the person's changes
};
