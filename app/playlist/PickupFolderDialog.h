#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "UserPrompt.h"

class QLineEdit;

namespace rova {

// What the pickup folder becomes when the user confirms `typed`: the text ending with "/"; a
// path that exists loses that "/" again unless it names a folder. A path that cannot be found is
// taken only when the user says so; nothing when they decline.
std::optional<QString> acceptPickupFolder(const QString& typed, QuestionPrompt& prompt);

// Lets the user pick an existing folder, starting at `startFolder`: its path, or an empty string
// when the user cancels.
using FolderChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;

// The desktop's folder chooser (QFileDialog).
QString chooseFolderWithDialog(QWidget* parent, const QString& startFolder);

// Asks for the pickup folder's path. The path is typed, or picked with Browse..., which fills in
// the folder `chooseFolder` returns. OK closes the dialog only when acceptPickupFolder accepts the
// text; folder() then holds the chosen path.
class PickupFolderDialog : public QDialog {
  public:
    PickupFolderDialog(const QString& currentFolder, QuestionPrompt& prompt,
                       QWidget* parent = nullptr,
                       FolderChooser chooseFolder = chooseFolderWithDialog);

    QString folder() const { return folder_; }
    void accept() override;

  private:
    // Opens the chooser at the folder of the typed path; a chosen folder replaces the text.
    void browse();

    QuestionPrompt& prompt_;
    FolderChooser chooseFolder_;
    QLineEdit* edit_;
    QString folder_;
};

}  // namespace rova
