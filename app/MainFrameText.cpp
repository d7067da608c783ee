#include "MainFrameText.h"

namespace rova {

QString MainFrameText::windowTitle(const QString& documentTitle) {
    return tr("Rova - %1").arg(documentTitle);
}

QString MainFrameText::toolBarTitle() {
    return tr("Toolbar");
}

QStringList MainFrameText::statusPaneTemplates() {
    return {tr("Players: 000"), tr("Commands: 000, Current: 000"),
            tr("Documents: 000, Current: 000")};
}

QStringList MainFrameText::statusPaneNames() {
    return {tr("Players"), tr("Commands"), tr("Documents")};
}

QString MainFrameText::playersPane(int players) {
    return tr("Players: %1").arg(players);
}

QString MainFrameText::commandsPane(int commands, int current) {
    return tr("Commands: %1, Current: %2").arg(commands).arg(current);
}

QString MainFrameText::documentsPane(int documents, int current) {
    return tr("Documents: %1, Current: %2").arg(documents).arg(current);
}

QString MainFrameText::recentFileItem(int number, const QString& name) {
    // A "&" of the name is shown as it is, not taken as a mnemonic.
    return tr("&%1 %2").arg(number).arg(QString(name).replace(u'&', QStringLiteral("&&")));
}

QString MainFrameText::openFilter() {
    return tr(
        "All Openable Files (*.rova, *.rtf, *.txt)|*.rova;*.rtf;*.txt|Rova Files "
        "(*.rova)|*.rova|Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|");
}

QString MainFrameText::openTitle() {
    return tr("Open Document");
}

QString MainFrameText::bitmapFilter() {
    return tr("Bitmap Files (*.bmp)|*.bmp|");
}

QString MainFrameText::chooseBackgroundTitle() {
    return tr("Choose Background");
}

QString MainFrameText::demoMissing(const QString& path) {
    return tr("The demo file, \"%1\" is missing.").arg(path);
}

QString MainFrameText::aboutTitle() {
    return tr("About Rova");
}

QString MainFrameText::aboutText(const QString& version) {
    return tr("<p><b>Rova</b> %1</p><p>Makes and shows animated content on a rotor of lamps.</p>"
              "<p>Copyright &copy; 2026 Mirelight.</p>")
        .arg(version);
}

}  // namespace rova
