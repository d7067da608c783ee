#include <QApplication>
#include <QDir>
#include <QTextStream>

// The desktop window arrives with the shell; until then the executable only proves that the
// toolkit starts and says how to see the shipped demo played without a window.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirelight"));
    QApplication::setApplicationName(QStringLiteral("Rova"));
    const QDir here(QCoreApplication::applicationDirPath());
    QTextStream(stdout) << QStringLiteral(
                               "Rova %1: there is no window yet. To watch the demo, render it:\n"
                               "  %2 render %3 -o demo.gif --seconds 60\n")
                               .arg(QStringLiteral(ROVA_VERSION),
                                    QDir::cleanPath(
                                        here.filePath(QStringLiteral("../cli/rova-cli"))),
                                    here.filePath(QStringLiteral("Demo.rova")));
    return 0;
}
