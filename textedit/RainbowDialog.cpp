#include "RainbowDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "CharacterFormat.h"
#include "TextRainbow.h"

namespace rova {

const std::array<RainbowDialog::NamedColour, 8> RainbowDialog::kPalette = {{
    {QT_TR_NOOP("Black"), 0x000000},
    {QT_TR_NOOP("Red"), 0x0000FF},
    {QT_TR_NOOP("Green"), 0x00FF00},
    {QT_TR_NOOP("Yellow"), 0x00FFFF},
    {QT_TR_NOOP("Blue"), 0xFF0000},
    {QT_TR_NOOP("Magenta"), 0xFF00FF},
    {QT_TR_NOOP("Cyan"), 0xFFFF00},
    {QT_TR_NOOP("White"), 0xFFFFFF},
}};

namespace {

constexpr ColourRef kRed = 0x0000FF;
// Visible rows of each list: the whole palette.
constexpr int kVisibleItems = 8;

QString withoutMnemonic(QString caption) {
    return caption.remove(u'&');
}

ColourRef colourOfItem(const QListWidgetItem& item) {
    return item.data(ColourListDelegate::kColourRole).toUInt();
}

QListWidget* colourList(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setAccessibleName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new ColourListDelegate(list));
    // The scroll bar always takes its room, so that every item keeps its width.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int frame = 2 * list->frameWidth();
    list->setFixedWidth(ColourListDelegate::kItemWidth + frame +
                        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    list->setMinimumHeight(ColourListDelegate::kItemHeight * kVisibleItems + frame);
    return list;
}

}  // namespace

void ColourListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    QStyleOptionButton button;
    button.rect = option.rect;
    button.direction = option.direction;
    button.palette = option.palette;
    button.fontMetrics = option.fontMetrics;
    button.state = QStyle::State_Enabled;
    if (option.state & QStyle::State_Selected) {
        const bool focused = widget != nullptr && widget->hasFocus();
        button.state |= focused ? QStyle::State_Sunken : (QStyle::State_Sunken | QStyle::State_On);
    } else {
        button.state |= QStyle::State_Raised;
    }
    style->drawControl(QStyle::CE_PushButtonBevel, &button, painter, widget);
    const ColourRef colour = index.data(kColourRole).toUInt();
    painter->fillRect(
        option.rect.adjusted(kSwatchInset, kSwatchInset, -kSwatchInset, -kSwatchInset),
        colourFromRef(colour));
}

QSize ColourListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {kItemWidth, kItemHeight};
}

RainbowDialog::RainbowDialog(SettingsStore& settings, RichTextDocument& text, QWidget* parent)
    : QDialog(parent), settings_(settings), text_(text) {
    setWindowTitle(tr("Rainbow Text"));

    const QString cycleCaption = tr("C&ycle:");
    const QString paletteCaption = tr("&Palette:");
    cycle_ = colourList(this, withoutMnemonic(cycleCaption).chopped(1));
    palette_ = colourList(this, withoutMnemonic(paletteCaption).chopped(1));
    auto* cycleLabel = new QLabel(cycleCaption, this);
    cycleLabel->setBuddy(cycle_);
    auto* paletteLabel = new QLabel(paletteCaption, this);
    paletteLabel->setBuddy(palette_);

    const auto button = [this](const QString& caption) {
        auto* result = new QPushButton(caption, this);
        result->setAccessibleName(withoutMnemonic(caption));
        result->setAutoDefault(false);
        return result;
    };
    QPushButton* insert = button(tr("&Insert"));
    QPushButton* append = button(tr("&Append"));
    QPushButton* remove = button(tr("&Delete"));
    words_ = new QCheckBox(tr("&Words"), this);
    words_->setAccessibleName(withoutMnemonic(words_->text()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("Cancel"));

    auto* editing = new QVBoxLayout;
    editing->addWidget(insert);
    editing->addWidget(append);
    editing->addWidget(remove);
    editing->addSpacing(8);
    editing->addWidget(words_);
    editing->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(cycleLabel, 0, 0);
    layout->addWidget(paletteLabel, 0, 1);
    layout->addWidget(cycle_, 1, 0);
    layout->addWidget(palette_, 1, 1);
    layout->addLayout(editing, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);

    const RainbowSettings stored = loadRainbowSettings(settings_);
    for (const ColourRef colour : stored.cycle) {
        cycle_->addItem(colourItem(colour));
    }
    for (const NamedColour& colour : kPalette) {
        palette_->addItem(colourItem(colour.value));
    }
    words_->setChecked(stored.words);

    connect(cycle_, &QListWidget::itemSelectionChanged, this,
            &RainbowDialog::cycleSelectionChanged);
    connect(palette_, &QListWidget::itemSelectionChanged, this,
            &RainbowDialog::paletteSelectionChanged);
    connect(insert, &QPushButton::clicked, this, [this] { insertEntry(false); });
    connect(append, &QPushButton::clicked, this, [this] { insertEntry(true); });
    connect(remove, &QPushButton::clicked, this, &RainbowDialog::deleteEntry);
    connect(buttons, &QDialogButtonBox::accepted, this, &RainbowDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RainbowDialog::reject);
}

QList<ColourRef> RainbowDialog::cycle() const {
    QList<ColourRef> colours;
    for (int row = 0; row < cycle_->count(); ++row) {
        colours.append(colourOfItem(*cycle_->item(row)));
    }
    return colours;
}

bool RainbowDialog::words() const {
    return words_->isChecked();
}

void RainbowDialog::accept() {
    QDialog::accept();
    QList<ColourRef> colours = cycle();
    colours.resize(std::min<qsizetype>(colours.size(), kMaxRainbowColours));
    if (colours.isEmpty()) {
        return;
    }
    saveRainbowSettings(settings_, {colours, words()});
    applyRainbow(text_, colours, words());
}

void RainbowDialog::insertEntry(bool after) {
    if (cycle_->count() >= kMaxRainbowColours) {
        return;
    }
    const int paletteRow = selectedRow(*palette_);
    const ColourRef colour = paletteRow >= 0 ? colourOfItem(*palette_->item(paletteRow)) : kRed;
    const int selected = selectedRow(*cycle_);
    int row = 0;
    if (after) {
        row = selected >= 0 ? selected + 1 : cycle_->count();
    } else {
        row = std::max(selected, 0);
    }
    cycle_->insertItem(row, colourItem(colour));
    cycle_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void RainbowDialog::deleteEntry() {
    const int selected = selectedRow(*cycle_);
    if (selected < 0) {
        return;
    }
    delete cycle_->takeItem(selected);
    cycle_->clearSelection();
    cycle_->setCurrentRow(-1);
}

void RainbowDialog::cycleSelectionChanged() {
    if (following_) {
        return;
    }
    following_ = true;
    const int selected = selectedRow(*cycle_);
    int match = -1;
    if (selected >= 0) {
        const ColourRef colour = colourOfItem(*cycle_->item(selected));
        for (int row = palette_->count() - 1; row >= 0; --row) {
            if (colourOfItem(*palette_->item(row)) == colour) {
                match = row;
                break;
            }
        }
    }
    if (match >= 0) {
        palette_->setCurrentRow(match, QItemSelectionModel::ClearAndSelect);
    } else {
        palette_->clearSelection();
    }
    following_ = false;
}

void RainbowDialog::paletteSelectionChanged() {
    if (following_) {
        return;
    }
    const int selected = selectedRow(*cycle_);
    const int paletteRow = selectedRow(*palette_);
    if (selected < 0 || paletteRow < 0) {
        return;
    }
    QListWidgetItem* entry = cycle_->item(selected);
    const ColourRef colour = colourOfItem(*palette_->item(paletteRow));
    entry->setData(ColourListDelegate::kColourRole, colour);
    entry->setData(Qt::AccessibleTextRole,
                   palette_->item(paletteRow)->data(Qt::AccessibleTextRole));
}

QListWidgetItem* RainbowDialog::colourItem(ColourRef colour) {
    auto* item = new QListWidgetItem;
    item->setData(ColourListDelegate::kColourRole, colour);
    const auto named = std::find_if(kPalette.begin(), kPalette.end(),
                                    [colour](const NamedColour& c) { return c.value == colour; });
    item->setData(Qt::AccessibleTextRole, named != kPalette.end()
                                              ? tr(named->name)
                                              : colourFromRef(colour).name(QColor::HexRgb));
    return item;
}

int RainbowDialog::selectedRow(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.front());
}

}  // namespace rova
