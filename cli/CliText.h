#pragma once

#include <QCoreApplication>
#include <QString>

namespace rova {

// A message of the tool, translatable like every text the user reads.
inline QString cliText(const char* text) {
    return QCoreApplication::translate("rova-cli", text);
}

}  // namespace rova
