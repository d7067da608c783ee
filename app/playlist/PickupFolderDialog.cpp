#include "PickupFolderDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
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

PickupFolderDialog::PickupFolderDialog(const QString& currentFolder, QuestionPrompt& prompt,
                                       QWidget* parent)
    : QDialog(parent), prompt_(prompt), edit_(new QLineEdit(currentFolder, this)) {
    setWindowTitle(PlaylistText::pickupFolderTitle());
    edit_->setMinimumWidth(kEditWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PickupFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PickupFolderDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

void PickupFolderDialog::accept() {
    if (const std::optional<QString> chosen = acceptPickupFolder(edit_->text(), prompt_)) {
        folder_ = *chosen;
        QDialog::accept();
    }
}

}  // namespace rova
