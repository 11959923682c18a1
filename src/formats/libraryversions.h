#pragma once

#include <QStringList>

// The libraries the program reads and writes its files with, each with the
// version it runs with: "Qt 6.4.2", "FFmpeg libavformat 59.27.100", ...
QStringList libraryVersions();
