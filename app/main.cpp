#include <QApplication>
#include <QTextStream>

// The desktop window arrives with the shell; until then the executable only proves that the
// toolkit starts and says what it is.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirelight"));
    QApplication::setApplicationName(QStringLiteral("Rova"));
    QTextStream(stdout) << QStringLiteral(
                               "Rova %1: the player engine is built; there is no window yet.\n")
                               .arg(QStringLiteral(ROVA_VERSION));
    return 0;
}
