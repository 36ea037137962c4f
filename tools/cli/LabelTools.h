#pragma once

#include <QStringList>

#include <cstdio>

namespace vt {
class Job;
}

namespace vt::cli {

// Every label the job prints, in order, one a line: the label's text in the
// notation of `show`, a tab between the lines of a two-line label. With
// `json`, an array of objects {page, line1, line2}. The pages must be built.
void writeLabels(const Job &job, bool json, std::FILE *out);

// `preview IN -o OUT.png [--from LABEL] [--width PX]`; returns the exit status.
int previewCommand(const QStringList &args);

extern const char kLabelHelp[];

} // namespace vt::cli
