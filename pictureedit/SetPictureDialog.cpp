#include "SetPictureDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

#include "Colour.h"
#include "NumberText.h"
#include "UserPrompt.h"

namespace rova {

const std::array<SetPictureDialog::NamedColour, 8> SetPictureDialog::kColours = {{
    {QT_TR_NOOP("Black"), 0x000000},
    {QT_TR_NOOP("Red"), 0x0000FF},
    {QT_TR_NOOP("Green"), 0x00FF00},
    {QT_TR_NOOP("Blue"), 0xFF0000},
    {QT_TR_NOOP("Cyan"), 0xFFFF00},
    {QT_TR_NOOP("Magenta"), 0xFF00FF},
    {QT_TR_NOOP("Yellow"), 0x00FFFF},
    {QT_TR_NOOP("White"), 0xE0E0E0},
}};

namespace {

// The caption without its mnemonic marks: the accessible name of the control it names.
QString withoutMnemonic(QString caption) {
    return caption.remove(u'&');
}

// A small square of the colour, outlined so that black and white show on any background.
QIcon swatch(ColourRef colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(QColor(rgbOf(colour)));
    painter.drawRect(1, 1, 13, 13);
    return QIcon(pixmap);
}

// The whole number at the start of the text as the size fields take it: leading blanks skipped,
// the number read as the value fields read theirs and truncated, whatever follows ignored.
// Nothing when there is no number or it is below 1.
std::optional<int> positiveSize(const QString& text) {
    const std::optional<double> value = parseNumber(text.toStdString());
    if (!value || !(*value >= 1.0)) {
        return std::nullopt;
    }
    return *value >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(*value);
}

}  // namespace

SetPictureDialog::SetPictureDialog(int currentWidth, int currentRows, SetPictureChoice& remembered,
                                   UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), remembered_(remembered), prompt_(prompt) {
    setWindowTitle(tr("Set Picture"));

    const bool hasPicture = currentWidth >= 1;
    const QString shownWidth = hasPicture ? QString::number(currentWidth) : QString();
    const QString shownRows = hasPicture ? QString::number(currentRows) : QString();

    auto* sizes = new QGridLayout;
    const auto addSize = [this, sizes](int row, const QString& caption, const QString& value,
                                       const QString& currentName) {
        auto* edit = new QLineEdit(value, this);
        edit->setAccessibleName(withoutMnemonic(caption));
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        auto* current = new QLabel(value, this);
        current->setAccessibleName(currentName);
        current->setMinimumWidth(current->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
        sizes->addWidget(label, row, 0);
        sizes->addWidget(edit, row, 1);
        sizes->addWidget(new QLabel(tr("currently:"), this), row, 2);
        sizes->addWidget(current, row, 3);
        return edit;
    };
    width_ = addSize(0, tr("&Width:"), shownWidth, tr("Current width"));
    height_ = addSize(1, tr("&Height:"), shownRows, tr("Current height"));

    auto* group = new QGroupBox(tr("Function"), this);
    group->setAccessibleName(tr("Function"));
    function_ = new QButtonGroup(this);
    const QString functionCaptions[] = {tr("&Set to..."), tr("&Resize Current Picture"),
                                        tr("S&cale Current Picture")};
    auto* functions = new QGridLayout(group);
    for (int id = 0; id < 3; ++id) {
        auto* button = new QRadioButton(functionCaptions[id], group);
        button->setAccessibleName(withoutMnemonic(functionCaptions[id]));
        function_->addButton(button, id);
        functions->addWidget(button, id, 0);
    }
    colour_ = new QComboBox(group);
    colour_->setAccessibleName(tr("Colour"));
    for (std::size_t i = 0; i < kColours.size(); ++i) {
        const QString name = tr(kColours[i].name);
        colour_->addItem(swatch(kColours[i].value), name);
        colour_->setItemData(static_cast<int>(i), name, Qt::AccessibleTextRole);
    }
    functions->addWidget(colour_, 0, 1);

    function_->button(static_cast<int>(remembered_.function))->setChecked(true);
    colour_->setCurrentIndex(std::clamp(remembered_.colourIndex, 0, colour_->count() - 1));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SetPictureDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetPictureDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizes);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SetPictureDialog::accept() {
    const std::optional<int> width = positiveSize(width_->text());
    if (!width) {
        prompt_.showWarning(tr("The width must be greater than zero."));
        width_->setFocus();
        return;
    }
    const std::optional<int> height = positiveSize(height_->text());
    if (!height) {
        prompt_.showWarning(tr("The height must be greater than zero."));
        height_->setFocus();
        return;
    }
    const auto function = static_cast<SetPictureFunction>(function_->checkedId());
    const int colourIndex = colour_->currentIndex();
    remembered_ = {function, colourIndex};
    request_ = SetPictureRequest{function, *width, *height,
                                 kColours[static_cast<std::size_t>(colourIndex)].value};
    QDialog::accept();
}

}  // namespace rova
