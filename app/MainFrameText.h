#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace rova {

// The texts of the main window and the application that are not command texts.
class MainFrameText {
    Q_DECLARE_TR_FUNCTIONS(MainFrameText)

  public:
    // "Rova - " and the document's title.
    static QString windowTitle(const QString& documentTitle);
    static QString toolBarTitle();
    // The initial texts that size the three status panes after the message pane.
    static QStringList statusPaneTemplates();
    // The accessible names of those panes.
    static QStringList statusPaneNames();
    static QString playersPane(int players);
    static QString commandsPane(int commands, int current);
    static QString documentsPane(int documents, int current);

    // A recent-file item: its number as the mnemonic, then the name shown for the file.
    static QString recentFileItem(int number, const QString& name);
    static QString openFilter();
    static QString openTitle();
    static QString bitmapFilter();
    static QString chooseBackgroundTitle();
    static QString demoMissing(const QString& path);
    static QString aboutTitle();
    static QString aboutText(const QString& version);
};

}  // namespace rova
