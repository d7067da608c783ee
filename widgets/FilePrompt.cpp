#include "FilePrompt.h"

#include <QApplication>
#include <QFileDialog>

#include "FilePaths.h"
#include "FilePromptRules.h"
#include "UserPrompt.h"

namespace rova {

namespace {

// The "Name|patterns|" pairs of a filter string.
QList<std::pair<QString, QStringList>> filterPairs(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QList<std::pair<QString, QStringList>> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        pairs.append({parts[i], parts[i + 1].split(u';', Qt::SkipEmptyParts)});
    }
    return pairs;
}

}  // namespace

FilePrompt::FilePrompt(QString filter, bool useDefaultExtension, QString wrongExtensionMessage,
                       QuestionPrompt& questions, ShowDialog show)
    : filter_(std::move(filter)),
      useDefaultExtension_(useDefaultExtension),
      wrongExtensionMessage_(std::move(wrongExtensionMessage)),
      questions_(questions),
      show_(show ? std::move(show) : ShowDialog(showFileDialog)) {}

QStringList FilePrompt::dialogFilters(const QString& filter) {
    QStringList result;
    for (const auto& [name, patterns] : filterPairs(filter)) {
        // The dialog reads the patterns from the parentheses, separated by blanks: the name's
        // own list ("*.rova, *.rtf") is replaced by the pattern field's.
        const qsizetype open = name.indexOf(u'(');
        const QString label = (open < 0 ? name : name.left(open)).trimmed();
        result.append(QStringLiteral("%1 (%2)").arg(label, patterns.join(u' ')));
    }
    return result;
}

int FilePrompt::initialFilter(const QString& filter, const QString& extension, int remembered) {
    const auto pairs = filterPairs(filter);
    // The first filter whose pattern list is exactly the one pattern.
    const auto findOnly = [&pairs](const QString& pattern) {
        for (qsizetype i = 0; i < pairs.size(); ++i) {
            if (pairs[i].second.size() == 1 &&
                pairs[i].second[0].compare(pattern, Qt::CaseInsensitive) == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    const int byExtension = extension.isEmpty() ? -1 : findOnly(u'*' + extension);
    if (byExtension >= 0) {
        return byExtension;
    }
    const int any = findOnly(QStringLiteral("*.*"));
    return any >= 0 ? any : remembered;
}

std::optional<QStringList> FilePrompt::prompt(const QString& initialPath, Mode mode,
                                              const QString& title) {
    // A folder (ending with "/") has no file name, and so no extension to choose a filter by.
    const QString extension = paths::extension(paths::fileName(initialPath));
    DialogRequest request{mode,
                          title,
                          initialPath,
                          dialogFilters(filter_),
                          initialFilter(filter_, extension, rememberedFilter_),
                          mode == Mode::Save ? defaultExtensionOf(filter_).mid(1) : QString()};
    for (;;) {
        const std::optional<DialogResult> result = show_(request);
        if (!result) {
            return std::nullopt;
        }
        bool retry = false;
        std::optional<QStringList> accepted = checked(result->paths, retry);
        if (accepted) {
            rememberedFilter_ = result->filter;
            return accepted;
        }
        if (!retry) {
            return std::nullopt;
        }
        if (!result->paths.isEmpty()) {
            request.initialPath = result->paths.front();
        }
        request.initialFilter = result->filter;
    }
}

// The choice as accepted, or nothing; then `retry` tells whether to show the dialog again.
std::optional<QStringList> FilePrompt::checked(const QStringList& chosen, bool& retry) {
    retry = true;
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    if (!useDefaultExtension_) {
        return chosen;
    }
    const QString extension = defaultExtensionOf(filter_);
    QStringList accepted;
    for (const QString& path : chosen) {
        const std::optional<QString> withExtension = withDefaultExtension(path, extension);
        if (!withExtension) {
            retry = questions_.ask(wrongExtensionMessage_.arg(extension), Choices::OkCancel) ==
                    Answer::Ok;
            return std::nullopt;
        }
        accepted.append(*withExtension);
    }
    return accepted;
}

std::optional<FilePrompt::DialogResult> showFileDialog(const FilePrompt::DialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setNameFilters(request.filters);
    if (request.initialFilter >= 0 && request.initialFilter < request.filters.size()) {
        dialog.selectNameFilter(request.filters[request.initialFilter]);
    }
    using Mode = FilePrompt::Mode;
    switch (request.mode) {
        case Mode::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            break;
        case Mode::OpenMultiple:
            dialog.setFileMode(QFileDialog::ExistingFiles);
            break;
        case Mode::OpenExistingFile:
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty()) {
        dialog.selectFile(request.initialPath);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return FilePrompt::DialogResult{
        dialog.selectedFiles(),
        static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace rova
