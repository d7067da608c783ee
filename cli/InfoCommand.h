#pragma once

#include <QString>
#include <QTextStream>

namespace rova {

// `rova-cli info FILE`: one line per command of the sequence (a text file is one command), its
// five sequence-list cells separated by tabs. A file that cannot be read gets the reader's
// message on `errors` and the exit status 1.
int runInfo(const QString& path, QTextStream& output, QTextStream& errors);

}  // namespace rova
