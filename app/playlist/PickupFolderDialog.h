#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "UserPrompt.h"

class QLineEdit;

namespace rova {

// What the pickup folder becomes when the user confirms `typed`: the text ending with "/"; a
// path that exists loses that "/" again unless it names a folder. A path that cannot be found is
// taken only when the user says so; nothing when they decline.
std::optional<QString> acceptPickupFolder(const QString& typed, QuestionPrompt& prompt);

// Asks for the pickup folder's path. OK closes the dialog only when acceptPickupFolder accepts
// the text; folder() then holds the chosen path.
class PickupFolderDialog : public QDialog {
  public:
    PickupFolderDialog(const QString& currentFolder, QuestionPrompt& prompt,
                       QWidget* parent = nullptr);

    QString folder() const { return folder_; }
    void accept() override;

  private:
    QuestionPrompt& prompt_;
    QLineEdit* edit_;
    QString folder_;
};

}  // namespace rova
