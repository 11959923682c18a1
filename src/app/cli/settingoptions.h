#pragma once

#include "job/gluesettings.h"

#include <QString>

class QCommandLineParser;

// naadwerk-cli's options of the glue settings, made from the table of
// settings (job/settingstable.h): a flag for a setting that is on or off, a
// value for a number or a choice.

// Adds the option of every setting that has one, in the table's order.
void addSettingOptions(QCommandLineParser &parser);

// Sets settings from the options given; the others keep their values.
// Returns why a value was refused ("--before must be a whole number from 0
// to 2000."), empty when every one was taken.
QString readSettingOptions(const QCommandLineParser &parser, GlueSettings &settings);
