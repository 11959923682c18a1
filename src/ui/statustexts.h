#pragma once

#include "job/gluejob.h"
#include "job/viewparts.h"
#include "ui/windowparts.h"

#include <QString>

#include <array>
#include <optional>

// What the status lines say: which line a command's file goes to, and its text.
namespace StatusTexts {

// The line and text of a file of part 1 or 2 just opened; none for a later part.
std::optional<std::pair<StatusLine, QString>> opened(const GlueJob &job, int part, PartFile file);

// The six lines of the files parts 1 and 2 hold, blank where a part has
// none: what the lines say after the list of parts changed.
std::array<QString, statusLineCount> openedParts(const GlueJob &job);

// The lines after Glue wrote the joined recording (the others blank) or
// after Save (every file it wrote); a line left alone is none.
std::array<std::optional<QString>, statusLineCount> written(const GlueOutputs &outputs);

} // namespace StatusTexts
