#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace rova {

class QuestionPrompt;

// The one file dialog of the program. Filters are given as "Name (*.x)|*.x|" pairs; the prompt
// converts them for the dialog, picks the initial filter from the initial name's extension,
// remembers the filter last chosen, and checks what the user chose before accepting it.
class FilePrompt {
  public:
    enum class Mode { Save, OpenExistingFile, OpenMultiple };

    // What the dialog is asked to show.
    struct DialogRequest {
        Mode mode = Mode::Save;
        QString title;
        QString initialPath;
        QStringList filters;  // in the dialog's form: "Name (*.x *.y)"
        int initialFilter = 0;
        // Added by the dialog to a typed name without an extension, before it asks about
        // overwriting, so the question is about the file that will be written. Save only.
        QString defaultSuffix;
    };
    // What the user chose: the paths (one unless several may be chosen) and the filter.
    struct DialogResult {
        QStringList paths;
        int filter = 0;
    };
    // Shows a dialog; nothing when the user cancels.
    using ShowDialog = std::function<std::optional<DialogResult>(const DialogRequest&)>;

    // `filter`: "Name (*.x)|*.x|" pairs. With `useDefaultExtension`, a chosen name without an
    // extension gets the filter's last one, and another extension is questioned with
    // `wrongExtensionMessage` ("%1" = the default extension).
    FilePrompt(QString filter, bool useDefaultExtension, QString wrongExtensionMessage,
               QuestionPrompt& questions, ShowDialog show = {});

    // Shows the dialog, starting at `initialPath`, until an acceptable choice is made: the chosen
    // paths (one unless several may be chosen), or nothing when the user cancels.
    std::optional<QStringList> prompt(const QString& initialPath, Mode mode, const QString& title);

    // The filter pairs in the dialog's form.
    static QStringList dialogFilters(const QString& filter);
    // The index of the first filter whose patterns are exactly "*" + `extension`, else of the
    // first whose patterns are "*.*", else `remembered`.
    static int initialFilter(const QString& filter, const QString& extension, int remembered);

  private:
    std::optional<QStringList> checked(const QStringList& chosen, bool& retry);

    QString filter_;
    bool useDefaultExtension_;
    QString wrongExtensionMessage_;
    QuestionPrompt& questions_;
    ShowDialog show_;
    int rememberedFilter_ = 0;
};

// Shows a QFileDialog for the request.
std::optional<FilePrompt::DialogResult> showFileDialog(const FilePrompt::DialogRequest& request);

}  // namespace rova
