// rova-cli: Rova's sequences without a window.
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include "InfoCommand.h"

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: rova-cli info FILE\n"
    "  info FILE   one line per command of a sequence file: name, type, death, death type\n"
    "              and next command, separated by tabs\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream output(stdout);
    QTextStream errors(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("info")) {
        return rova::runInfo(arguments[1], output, errors);
    }
    errors << kUsage;
    return kUsageError;
}
