#pragma once

#include <QDialog>
#include <QList>
#include <QStyledItemDelegate>

#include <array>

#include "ColourRef.h"

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace rova {

class RichTextDocument;
class SettingsStore;

// Draws the items of a colour list: each item 72 × 16 pixels, a push-button frame filling it
// (raised when not selected, pushed when selected in the focused list, pushed and checked when
// selected in a list without focus) and the item's colour filling the frame inset by 3 pixels.
// The colour is the item's ColourListDelegate::kColourRole value, a ColourRef.
class ColourListDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    static constexpr int kColourRole = Qt::UserRole;
    static constexpr int kItemWidth = 72;
    static constexpr int kItemHeight = 16;
    static constexpr int kSwatchInset = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The modal dialog "Rainbow Text": the cycle of up to 32 colours the selected text is coloured
// with, built from the palette of the eight lamp colours, and whether each word or each
// character takes the next colour. It opens with the cycle and the choice kept in the settings.
//
// Selecting a cycle entry selects its colour in the palette (none when it is not one of them);
// selecting a palette colour while a cycle entry is selected gives the entry that colour.
// Insert and Append add the selected palette colour (red when none is selected) before or after
// the selected entry (at the top or the end when none is), up to 32 entries; Delete removes the
// selected entry.
//
// OK with a non-empty cycle stores the cycle and the choice in the settings and colours the
// selection of the text (applyRainbow); with an empty cycle it only closes. Cancel changes
// nothing.
class RainbowDialog : public QDialog {
    Q_OBJECT

  public:
    struct NamedColour {
        const char* name;
        ColourRef value;
    };
    // The palette, in its order: index bit 0 red, bit 1 green, bit 2 blue.
    static const std::array<NamedColour, 8> kPalette;

    RainbowDialog(SettingsStore& settings, RichTextDocument& text, QWidget* parent = nullptr);

    // The cycle as the Cycle list holds it.
    QList<ColourRef> cycle() const;
    bool words() const;

    void accept() override;

  private:
    void insertEntry(bool after);
    void deleteEntry();
    void cycleSelectionChanged();
    void paletteSelectionChanged();
    // The item of the colour, named for assistive technology.
    static QListWidgetItem* colourItem(ColourRef colour);
    static int selectedRow(const QListWidget& list);

    SettingsStore& settings_;
    RichTextDocument& text_;
    QListWidget* cycle_ = nullptr;
    QListWidget* palette_ = nullptr;
    QCheckBox* words_ = nullptr;
    // Set while one list's selection follows the other's, so that the following is not taken
    // for the user's choice.
    bool following_ = false;
};

}  // namespace rova
