#pragma once

#include "job/gluesettings.h"

#include <QByteArray>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <span>
#include <vector>

// One setting of a glue as a person meets it: on the Settings tab, as an
// option of naadwerk-cli and in what the window remembers between runs.
// settingsTable() is the one place these are written down: the command
// line's options, the window's memory and the Settings tab's controls are
// made from it. GlueSettings stays the plain struct the job reads; its
// member initializers are the start-up values.
//
// A value is a QVariant holding a bool (Bool), an int (Int), a double
// (Double), a QStringList (Words: words without blanks; Set: words of its
// choices, each once, in the order of the choices) or, for a choice, the
// int index of the choice.
struct Setting
{
    enum class Kind { Bool, Int, Double, Choice, Words, Set };
    struct Choice
    {
        const char *word; // on the command line and in the window's memory
        const char *text; // on the Settings tab, "&" before its key letter
    };

    // The stable identifier, and the key the window's memory keeps it under.
    const char *key = "";
    // As the Settings tab names it, "&" before its key letter; for a choice
    // shown as buttons the title above them. Empty where the control above
    // names it ("... at least N ms").
    const char *label = "";
    Kind kind = Kind::Bool;
    double low = 0; // Int and Double: the range, both ends taken
    double high = 0;
    int decimals = 0; // Double: the decimals shown and the step of the arrows
    double step = 1;
    std::vector<Choice> choices{}; // Choice: in the order of the values; Set: what it may hold
    // Choice of two: the one the window's memory keeps as true, the other
    // as false (as the window kept it before choices had words); -1 keeps
    // the word.
    int storedTrueFor = -1;
    // naadwerk-cli's option, without "--"; empty for none. A Bool's option
    // is a flag that turns its start-up value over. Two settings may share
    // one option (a pause given turns ending at pauses on): the one with
    // help describes it and takes its value, the Bool is turned over.
    const char *option = "";
    // Int, Double and Words; a choice's value is named by its words, or, for
    // a choice of many, by this name, its help then ending in the words.
    const char *valueName = "";
    const char *help = "";
    bool remembered = true;   // the window keeps it between runs
    bool shapesViews = false; // the phrases, subtitles, transcript or review list are made with it
    // Where it lives in GlueSettings.
    struct Field
    {
        QVariant (*read)(const GlueSettings &settings) = nullptr;
        void (*write)(GlueSettings &settings, const QVariant &value) = nullptr;
    };
    Field field{};

    QVariant read(const GlueSettings &settings) const { return field.read(settings); }
    // value must be one the setting accepts.
    void write(GlueSettings &settings, const QVariant &value) const { field.write(settings, value); }
    // The value in GlueSettings as constructed.
    QVariant startValue() const;
    // A value of this setting's kind within its range, or one of its choices.
    bool accepts(const QVariant &value) const;
    // The index of the choice with word; -1 for none.
    int choiceOf(QStringView word) const;
    // Set: the words of its choices that words holds, in the order of the choices.
    QStringList setOf(const QStringList &words) const;
};

// The encoding chosen for texts and word files as Qt's converters name it
// (the word of its choice); empty for auto, found from the bytes.
QByteArray chosenTextEncoding(const GlueSettings &settings);

// Every setting, in the order of naadwerk-cli's options.
std::span<const Setting> settingsTable();
// The setting with key; nullptr for none.
const Setting *findSetting(QStringView key);
