#include "PickupFolderDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FilePaths.h"
#include "PlaylistText.h"

namespace rova {

namespace {

// Wide enough for a typical path.
constexpr int kEditWidth = 360;

}  // namespace

std::optional<QString> acceptPickupFolder(const QString& typed, QuestionPrompt& prompt) {
    const QString path = paths::ensureSeparator(typed);
    const QString withoutSeparator =
        path.size() > paths::rootLength(path) ? paths::removeSeparator(path) : path;
    // Names here are spelled as they are stored, so a path that is found keeps its spelling.
    const QFileInfo found(withoutSeparator);
    if (found.exists()) {
        return found.isDir() ? path : withoutSeparator;
    }
    if (prompt.ask(PlaylistText::unreachablePickupFolder(path), Choices::YesNo) == Answer::Yes) {
        return path;
    }
    return std::nullopt;
}

QString chooseFolderWithDialog(QWidget* parent, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, PlaylistText::pickupFolderTitle(),
                                             startFolder);
}

PickupFolderDialog::PickupFolderDialog(const QString& currentFolder, QuestionPrompt& prompt,
                                       QWidget* parent, FolderChooser chooseFolder)
    : QDialog(parent),
      prompt_(prompt),
      chooseFolder_(std::move(chooseFolder)),
      edit_(new QLineEdit(currentFolder, this)) {
    setWindowTitle(PlaylistText::pickupFolderTitle());
    edit_->setMinimumWidth(kEditWidth);
    edit_->setAccessibleName(PlaylistText::pickupFolderPath());
    auto* browseButton = new QPushButton(PlaylistText::browse(), this);
    browseButton->setAccessibleName(PlaylistText::browse());
    // Enter in the edit means OK, not Browse...
    browseButton->setAutoDefault(false);
    connect(browseButton, &QPushButton::clicked, this, &PickupFolderDialog::browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PickupFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PickupFolderDialog::reject);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(edit_);
    pathRow->addWidget(browseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(buttons);
}

void PickupFolderDialog::browse() {
    const QString typed = edit_->text();
    // A typed folder opens as itself; anything else (a pattern, a file) at the folder holding it.
    const QString startFolder = QFileInfo(typed).isDir() ? typed : paths::folder(typed);
    const QString chosen = chooseFolder_(this, startFolder);
    if (!chosen.isEmpty()) {
        // Ends with "/", as the stored path of a folder does.
        edit_->setText(paths::ensureSeparator(chosen));
    }
}

void PickupFolderDialog::accept() {
    if (const std::optional<QString> chosen = acceptPickupFolder(edit_->text(), prompt_)) {
        folder_ = *chosen;
        QDialog::accept();
    }
}

}  // namespace rova
