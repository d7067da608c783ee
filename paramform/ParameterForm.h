#pragma once

#include <QString>
#include <QWidget>

#include <array>

#include "FilePrompt.h"
#include "FormattingCommands.h"
#include "ParameterFormController.h"
#include "Players.h"
#include "Presets.h"
#include "RichTextDocument.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace rova {

class PictureEditor;
class PlayerEngine;
class QuestionPrompt;
class RichTextControl;
class ValuePair;

// The parameter form: the controls of the player that the selected command makes or changes,
// around a ParameterFormController that holds the working record and every rule of the form.
// The form turns the user's actions on its controls into the controller's operations and shows
// the controller's state again whenever the controller asks (showParameters()).
//
// Content: the rich-text editor or the picture editor with its eight buttons, whichever the
// content kind calls for. Values: the thirteen slider-and-edit pairs, whose texts the
// controller keeps (the pairs keep no value of their own). Presets: the list of the presets,
// with "Store", "Store New" and "Delete" while preset editing is on.
//
// The form is the controller's host; what only the sequence form can do (store into the
// selected command, show the timing again, tell whether a sequence runs) it passes on to
// `sequenceForm`.
class ParameterForm final : public QWidget, private ParameterFormHost, private PictureEditorOwner {
    Q_OBJECT

  public:
    // The presets are read from `presetsToLoad` and every change is saved to `ownPresetsPath`.
    // `showFile` shows the picture editor's file dialogs (QFileDialog when empty).
    ParameterForm(PlayerEngine& engine, QuestionPrompt& prompt, ParameterFormHost& sequenceForm,
                  const QString& ownPresetsPath, const QString& presetsToLoad,
                  FilePrompt::ShowDialog showFile = {}, QWidget* parent = nullptr);
    ~ParameterForm() override;

    // The one-time set-up: the editor's default format, then, unless a document is being
    // opened for the playlist, the start text with the preset "Static".
    void initialise(bool openingFromList);

    ParameterFormController& controller() { return controller_; }
    Presets& presets() { return presets_; }
    RichTextControl& textEditor() { return *textEditor_; }
    PictureEditor& pictureEditor() { return *pictureEditor_; }

    // What the main window's formatting commands work on: the content kind and both editors.
    FormattingTarget formattingTarget();

    // Preset editing: the presets can be stored, deleted and renamed in place.
    bool presetEditing() const { return presetEditing_; }
    void setPresetEditing(bool on);

    // The form opens at its least height, so that the preview keeps the rest of the window; the
    // editors grow when the user gives the form more room.
    QSize sizeHint() const override;

  signals:
    // A message for the status bar: why a picture could not be loaded.
    void statusMessage(const QString& text);

  protected:
    // A printable character typed where no control takes it goes to the text editor.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // ParameterFormHost
    void showParameters() override;
    void selectPresetRow(int row) override;
    void storeIntoSelectedCommand() override;
    void refreshTimingControls() override;
    bool isSequenceRunning() const override;

    // PictureEditorOwner
    void pictureContentChanged() override;

    void createControls();
    QWidget* createContent();
    QWidget* createPresets();
    void createValuePairs();
    QWidget* createGroups();
    void orderTabs();
    // The check boxes, radio buttons and the combo box hand their clicks to the controller.
    void connectChecks();
    FormChecks checks() const;

    void valueEdited(FormValue pair, const QString& text);
    void showPair(FormValue pair);
    void showFlags();
    void showContentKind();

    // ---- presets ----
    void fillPresets();
    // The preset list selects `row` (none for -1) without applying it.
    void selectRowQuietly(int row);
    void presetFocused(int row);
    void applyPresetByUser(int row);
    void storePreset();
    void storeNewPreset();
    void deletePreset();
    void presetRenamed(QTableWidgetItem* item);
    bool eventFilter(QObject* watched, QEvent* event) override;

    EnginePlayers players_;
    ParameterFormHost& sequenceForm_;
    RichTextDocument richText_;
    Presets presets_;
    RichTextControl* textEditor_;
    PictureEditor* pictureEditor_;
    ParameterFormController controller_;

    std::array<ValuePair*, kFormValueCount> pairs_{};

    // Origin anchor L, M, R.
    std::array<QRadioButton*, 3> anchors_{};
    QCheckBox* originSpring_ = nullptr;
    QCheckBox* originSync_ = nullptr;
    QCheckBox* widthSpring_ = nullptr;
    QCheckBox* autoWidth_ = nullptr;
    QCheckBox* mirrorAtZero_ = nullptr;
    QCheckBox* bounceAtZero_ = nullptr;
    QCheckBox* wrapAround_ = nullptr;
    QLabel* projectionsLabel_ = nullptr;
    QComboBox* projections_ = nullptr;
    QCheckBox* bounceAtStart_ = nullptr;
    QCheckBox* bounceAtEnd_ = nullptr;
    QCheckBox* alignTop_ = nullptr;
    QCheckBox* alignBottom_ = nullptr;
    QCheckBox* fit_ = nullptr;
    QCheckBox* flip_ = nullptr;
    QCheckBox* verticalBounce_ = nullptr;

    QRadioButton* textButton_ = nullptr;
    QRadioButton* pictureButton_ = nullptr;
    QWidget* picturePage_ = nullptr;

    QTableWidget* presetList_ = nullptr;
    QPushButton* storeButton_ = nullptr;
    QPushButton* storeNewButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    bool presetEditing_ = false;
    // Set while the program fills or selects in the preset list, whose signals then do nothing.
    bool listByProgram_ = false;
};

}  // namespace rova
