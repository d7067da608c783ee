#include "ParameterForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "PictureEditor.h"
#include "PlayerParameters.h"
#include "RichTextControl.h"
#include "UserPrompt.h"
#include "ValuePair.h"
#include "ValueSlider.h"

namespace rova {

namespace {

// One value pair: its caption, the name assistive technology reads (the caption without "&",
// qualified by its group where two captions are alike), its unit, slider range and the value a
// click on the caption sets. Every field shows one decimal.
struct PairRow {
    const char* caption;
    const char* name;
    const char* unit;
    ValueRange range;
    Qt::Orientation orientation;
    bool plusSign;
    double labelValue;
};

// In the order of FormValue. The three vertical sliders show their first value at the top.
// clang-format off
const std::array<PairRow, kFormValueCount> kPairs{{
    {QT_TR_NOOP("Origin:"), QT_TR_NOOP("Origin"), QT_TR_NOOP("degrees"),
     {0, 360, 15}, Qt::Horizontal, false, 90},
    {QT_TR_NOOP("Speed:"), QT_TR_NOOP("Origin Speed"), QT_TR_NOOP("degrees/s"),
     {-180, 180, 15}, Qt::Horizontal, true, 0},
    {QT_TR_NOOP("Accel:"), QT_TR_NOOP("Origin Accel"), QT_TR_NOOP("degrees/s²"),
     {-60, 60, 5}, Qt::Horizontal, true, 0},
    {QT_TR_NOOP("Width:"), QT_TR_NOOP("Width"), QT_TR_NOOP("degrees"),
     {0, 360, 15}, Qt::Horizontal, false, 150},
    {QT_TR_NOOP("Speed:"), QT_TR_NOOP("Width Speed"), QT_TR_NOOP("degrees/s"),
     {-180, 180, 15}, Qt::Horizontal, true, 0},
    {QT_TR_NOOP("Accel:"), QT_TR_NOOP("Width Accel"), QT_TR_NOOP("degrees/s²"),
     {-60, 60, 5}, Qt::Horizontal, true, 0},
    {QT_TR_NOOP("Clip Start:"), QT_TR_NOOP("Clip Start"), QT_TR_NOOP("degrees"),
     {0, 360, 15}, Qt::Horizontal, false, 0},
    {QT_TR_NOOP("Clip End:"), QT_TR_NOOP("Clip End"), QT_TR_NOOP("degrees"),
     {0, 360, 15}, Qt::Horizontal, false, 180},
    {QT_TR_NOOP("Height"), QT_TR_NOOP("Height"), QT_TR_NOOP("rows"),
     {10, -10, 1}, Qt::Vertical, true, 0},
    {QT_TR_NOOP("Y-Shift"), QT_TR_NOOP("Y-Shift"), QT_TR_NOOP("rows"),
     {16, -16, 1}, Qt::Vertical, true, 0},
    {QT_TR_NOOP("Speed"), QT_TR_NOOP("Speed"), QT_TR_NOOP("rows/s"),
     {10, -10, 1}, Qt::Vertical, true, 0},
    {QT_TR_NOOP("Flash:"), QT_TR_NOOP("Flash"), QT_TR_NOOP("flashes/s"),
     {0, 4, 0.5}, Qt::Horizontal, false, 0},
    {QT_TR_NOOP("Accel:"), QT_TR_NOOP("Flash Accel"), QT_TR_NOOP("flashes/s²"),
     {-1, 1, 0.1}, Qt::Horizontal, true, 0},
}};
// clang-format on

constexpr int kMaxProjections = 6;

QString tr(const char* text) {
    return ParameterForm::tr(text);
}

// The caption without its mnemonic marks, as assistive technology reads it.
QString plainCaption(const QString& caption) {
    QString plain = caption;
    return plain.remove(u'&');
}

template <typename Button>
Button* makeButton(const char* caption, QWidget* parent, const char* name = nullptr,
                   const char* tip = nullptr) {
    auto* button = new Button(tr(caption), parent);
    button->setAccessibleName(name != nullptr ? tr(name) : plainCaption(button->text()));
    if (tip != nullptr) {
        button->setToolTip(tr(tip));
    }
    return button;
}

// A horizontal pair fills one row of a grid: caption, slider, edit field.
void addRow(QGridLayout* grid, int row, const ValuePair* pair) {
    grid->addWidget(pair->label(), row, 0);
    grid->addWidget(pair->slider(), row, 1);
    grid->addWidget(pair->edit(), row, 2);
}

// A vertical pair fills one column: caption, slider, edit field from the top.
void addColumn(QGridLayout* grid, int column, const ValuePair* pair) {
    grid->addWidget(pair->label(), 0, column, Qt::AlignHCenter);
    grid->addWidget(pair->slider(), 1, column, Qt::AlignHCenter);
    grid->addWidget(pair->edit(), 2, column);
}

}  // namespace

ParameterForm::ParameterForm(PlayerEngine& engine, QuestionPrompt& prompt,
                             ParameterFormHost& sequenceForm, const QString& ownPresetsPath,
                             const QString& presetsToLoad, FilePrompt::ShowDialog showFile,
                             QWidget* parent)
    : QWidget(parent),
      players_(engine),
      sequenceForm_(sequenceForm),
      presets_(ownPresetsPath, prompt),
      textEditor_(new RichTextControl(richText_, this)),
      pictureEditor_(new PictureEditor(prompt, std::move(showFile), nullptr, this)),
      controller_(players_, richText_, pictureEditor_->model(), presets_, prompt, *this) {
    presets_.load(presetsToLoad);
    pictureEditor_->model().setOwner(this);
    createControls();
    fillPresets();
    showParameters();
}

ParameterForm::~ParameterForm() {
    // The editors work on the text and the picture model, which go before QWidget's own
    // destructor would delete them.
    delete textEditor_;
    delete pictureEditor_;
}

void ParameterForm::initialise(bool openingFromList) {
    controller_.initialise(openingFromList);
}

FormattingTarget ParameterForm::formattingTarget() {
    return {controller_.contentKind(), richText_, pictureEditor_->model()};
}

QSize ParameterForm::sizeHint() const {
    return {QWidget::sizeHint().width(), minimumSizeHint().height()};
}

void ParameterForm::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool printable = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                          [](QChar c) { return c.isPrint(); });
    if (printable && controller_.contentKind() == content_kind::Rich && textEditor_->isVisible()) {
        textEditor_->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(textEditor_, event);
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- controls ----

void ParameterForm::createControls() {
    QWidget* content = createContent();
    createValuePairs();
    QWidget* groups = createGroups();
    QWidget* presetBox = createPresets();

    auto* lower = new QHBoxLayout;
    lower->addWidget(groups, 1);
    lower->addWidget(presetBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content, 1);
    layout->addLayout(lower);
    orderTabs();
    connectChecks();
}

void ParameterForm::connectChecks() {
    // clicked() comes from the user only; the controls shown by the program stay quiet.
    const auto onClick = [this](QAbstractButton* button, auto action) {
        connect(button, &QAbstractButton::clicked, this, action);
    };
    const auto read = [this] { controller_.readCheckBoxes(checks()); };
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             anchors_[0], anchors_[1], anchors_[2], originSpring_, originSync_, widthSpring_,
             bounceAtStart_, bounceAtEnd_, verticalBounce_}) {
        onClick(button, read);
    }
    onClick(autoWidth_, [this](bool on) { controller_.setAutoWidth(on, checks()); });
    onClick(mirrorAtZero_, [this](bool on) { controller_.setMirrorAtZero(on); });
    onClick(bounceAtZero_, [this](bool on) { controller_.setBounceAtZero(on); });
    onClick(wrapAround_, [this] { controller_.readCheckBoxesAndAutoWidth(checks()); });
    onClick(alignTop_, [this](bool on) { controller_.setAlignTop(on); });
    onClick(alignBottom_, [this](bool on) { controller_.setAlignBottom(on); });
    onClick(fit_, [this](bool on) { controller_.setFit(on); });
    onClick(flip_, [this](bool on) { controller_.setFlip(on); });
    onClick(textButton_, [this] { controller_.setContentKind(content_kind::Rich); });
    onClick(pictureButton_, [this] { controller_.setContentKind(content_kind::Picture); });
    // showFlags() blocks the combo's signals while it shows the record.
    connect(projections_, &QComboBox::currentIndexChanged, this,
            [this] { controller_.readCheckBoxesAndAutoWidth(checks()); });
    projectionsLabel_->installEventFilter(this);
    connect(textEditor_, &QTextEdit::textChanged, this, [this] { controller_.contentChanged(); });
}

FormChecks ParameterForm::checks() const {
    FormChecks checks;
    checks.anchorLeft = anchors_[0]->isChecked();
    checks.anchorMiddle = anchors_[1]->isChecked();
    checks.originSpring = originSpring_->isChecked();
    checks.widthSpring = widthSpring_->isChecked();
    checks.originSync = originSync_->isChecked();
    checks.bounceAtStart = bounceAtStart_->isChecked();
    checks.bounceAtEnd = bounceAtEnd_->isChecked();
    checks.wrapAround = wrapAround_->isChecked();
    checks.projectionIndex = projections_->currentIndex();
    checks.verticalBounce = verticalBounce_->isChecked();
    return checks;
}

// The tab key goes through the groups in order: content, origin, width, clip, vertical, flash,
// presets; within a group, row by row.
void ParameterForm::orderTabs() {
    std::vector<QWidget*> order{textButton_, pictureButton_, textEditor_, pictureEditor_};
    for (QPushButton* tool : picturePage_->findChildren<QPushButton*>()) {
        order.push_back(tool);
    }
    const auto pairs = [this, &order](std::initializer_list<FormValue> values) {
        for (const FormValue value : values) {
            const ValuePair* pair = pairs_[static_cast<std::size_t>(value)];
            order.push_back(pair->slider());
            order.push_back(pair->edit());
        }
    };
    const auto add = [&order](std::initializer_list<QWidget*> widgets) {
        order.insert(order.end(), widgets);
    };
    pairs({FormValue::Origin, FormValue::OriginSpeed, FormValue::OriginAccel});
    add({anchors_[0], anchors_[1], anchors_[2], originSpring_, originSync_});
    pairs({FormValue::Width, FormValue::WidthSpeed, FormValue::WidthAccel});
    add({widthSpring_, autoWidth_, mirrorAtZero_, bounceAtZero_, wrapAround_, projections_});
    pairs({FormValue::ClipStart});
    add({bounceAtStart_});
    pairs({FormValue::ClipEnd});
    add({bounceAtEnd_});
    pairs({FormValue::Height, FormValue::YShift, FormValue::VerticalSpeed});
    add({alignTop_, alignBottom_, fit_, flip_, verticalBounce_});
    pairs({FormValue::Flashing, FormValue::FlashingAccel});
    add({presetList_, storeButton_, storeNewButton_, deleteButton_});
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QWidget* ParameterForm::createContent() {
    auto* box = new QGroupBox(tr("Content"), this);
    box->setAccessibleName(tr("Content"));

    textButton_ = makeButton<QRadioButton>(QT_TR_NOOP("Text"), box);
    pictureButton_ = makeButton<QRadioButton>(QT_TR_NOOP("Picture"), box);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(textButton_);
    kinds->addWidget(pictureButton_);
    kinds->addStretch();

    textEditor_->setParent(box);
    textEditor_->setAccessibleName(tr("Text Edit"));

    picturePage_ = new QWidget(box);
    pictureEditor_->setParent(picturePage_);
    auto* tools = new QGridLayout;
    const std::array<std::pair<const char*, std::function<void()>>, 8> actions{{
        {QT_TR_NOOP("Load..."),
         [this] {
             if (const PictureLoad loaded = pictureEditor_->load(); !loaded.message.isEmpty()) {
                 emit statusMessage(loaded.message);
             }
         }},
        {QT_TR_NOOP("Save As..."), [this] { pictureEditor_->saveAs(); }},
        {QT_TR_NOOP("Set..."), [this] { pictureEditor_->setPicture(); }},
        {QT_TR_NOOP("Auto-Crop"), [this] { pictureEditor_->autoCrop(); }},
        {QT_TR_NOOP("Copy Text"), [this] { pictureEditor_->copyText(richText_); }},
        {QT_TR_NOOP("Invert"), [this] { pictureEditor_->invert(); }},
        {QT_TR_NOOP("Zoom In"), [this] { pictureEditor_->zoomIn(); }},
        {QT_TR_NOOP("Zoom Out"), [this] { pictureEditor_->zoomOut(); }},
    }};
    int index = 0;
    for (const auto& [caption, action] : actions) {
        auto* button = makeButton<QPushButton>(caption, picturePage_);
        connect(button, &QPushButton::clicked, this, action);
        tools->addWidget(button, index / 2, index % 2);
        ++index;
    }
    auto* pictureLayout = new QHBoxLayout(picturePage_);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(pictureEditor_, 1);
    pictureLayout->addLayout(tools);

    auto* layout = new QHBoxLayout(box);
    layout->addLayout(kinds);
    layout->addWidget(textEditor_, 1);
    layout->addWidget(picturePage_, 1);
    return box;
}

void ParameterForm::createValuePairs() {
    for (std::size_t i = 0; i < kFormValueCount; ++i) {
        const PairRow& row = kPairs[i];
        auto* pair = new ValuePair(tr(row.caption), row.range, this, row.orientation);
        pair->setFormat(1, row.plusSign);
        pair->leaveTextToForm();
        pair->setLabelValue(row.labelValue);
        pair->setAccessibleName(tr(row.name), tr(row.unit));
        const auto value = static_cast<FormValue>(i);
        connect(pair, &ValuePair::textEdited, this,
                [this, value](const QString& text) { valueEdited(value, text); });
        pairs_[i] = pair;
    }
}

QWidget* ParameterForm::createGroups() {
    // Two rows of groups, the tall "Vertical" group beside them, so that the form fits a
    // window 1024 pixels wide.
    auto* holder = new QWidget(this);
    auto* grid = new QGridLayout(holder);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto pair = [this](FormValue value) { return pairs_[static_cast<std::size_t>(value)]; };
    const auto group = [holder, grid](const char* title, int row, int column, int rowSpan = 1) {
        auto* box = new QGroupBox(tr(title), holder);
        box->setAccessibleName(plainCaption(box->title()));
        grid->addWidget(box, row, column, rowSpan, 1);
        return box;
    };

    // The widgets are reparented into their groups in the order of the tab key.
    QGroupBox* origin = group(QT_TR_NOOP("Origin"), 0, 0);
    auto* originGrid = new QGridLayout(origin);
    addRow(originGrid, 0, pair(FormValue::Origin));
    addRow(originGrid, 1, pair(FormValue::OriginSpeed));
    addRow(originGrid, 2, pair(FormValue::OriginAccel));
    auto* originChecks = new QHBoxLayout;
    auto* anchorGroup = new QButtonGroup(origin);
    const std::array<const char*, 3> anchorCaptions{QT_TR_NOOP("L"), QT_TR_NOOP("M"),
                                                    QT_TR_NOOP("R")};
    const std::array<const char*, 3> anchorTips{QT_TR_NOOP("Origin at the left edge"),
                                                QT_TR_NOOP("Origin in the middle"),
                                                QT_TR_NOOP("Origin at the right edge")};
    for (std::size_t i = 0; i < anchors_.size(); ++i) {
        anchors_[i] = makeButton<QRadioButton>(anchorCaptions[i], origin, nullptr, anchorTips[i]);
        anchorGroup->addButton(anchors_[i]);
        originChecks->addWidget(anchors_[i]);
    }
    originSpring_ =
        makeButton<QCheckBox>(QT_TR_NOOP("Spring"), origin, QT_TR_NOOP("Origin Spring"));
    originSync_ = makeButton<QCheckBox>(QT_TR_NOOP("Sync"), origin);
    originChecks->addWidget(originSpring_);
    originChecks->addWidget(originSync_);
    originGrid->addLayout(originChecks, 3, 0, 1, 3);

    QGroupBox* width = group(QT_TR_NOOP("Width"), 0, 1);
    auto* widthGrid = new QGridLayout(width);
    addRow(widthGrid, 0, pair(FormValue::Width));
    addRow(widthGrid, 1, pair(FormValue::WidthSpeed));
    addRow(widthGrid, 2, pair(FormValue::WidthAccel));
    widthSpring_ = makeButton<QCheckBox>(QT_TR_NOOP("Spring"), width, QT_TR_NOOP("Width Spring"));
    autoWidth_ = makeButton<QCheckBox>(QT_TR_NOOP("Auto"), width);
    mirrorAtZero_ = makeButton<QCheckBox>(QT_TR_NOOP("Mirror@Zero"), width);
    bounceAtZero_ = makeButton<QCheckBox>(QT_TR_NOOP("Bounce@Zero"), width);
    wrapAround_ = makeButton<QCheckBox>(QT_TR_NOOP("Wrap Around"), width);
    projectionsLabel_ = new QLabel(tr("Projections:"), width);
    projections_ = new QComboBox(width);
    projections_->setAccessibleName(tr("Projections"));
    projections_->setToolTip(tr("Copies around the circle"));
    for (int count = 1; count <= kMaxProjections; ++count) {
        projections_->addItem(QString::number(count));
    }
    projectionsLabel_->setBuddy(projections_);
    auto* widthChecks = new QGridLayout;
    widthChecks->addWidget(widthSpring_, 0, 0);
    widthChecks->addWidget(autoWidth_, 0, 1);
    widthChecks->addWidget(mirrorAtZero_, 1, 0);
    widthChecks->addWidget(bounceAtZero_, 1, 1);
    widthChecks->addWidget(wrapAround_, 2, 0);
    auto* projectionsRow = new QHBoxLayout;
    projectionsRow->addWidget(projectionsLabel_);
    projectionsRow->addWidget(projections_);
    widthChecks->addLayout(projectionsRow, 2, 1);
    widthGrid->addLayout(widthChecks, 3, 0, 1, 3);

    QGroupBox* clip = group(QT_TR_NOOP("Clip"), 1, 0);
    auto* clipGrid = new QGridLayout(clip);
    addRow(clipGrid, 0, pair(FormValue::ClipStart));
    bounceAtStart_ =
        makeButton<QCheckBox>(QT_TR_NOOP("Bounce"), clip, QT_TR_NOOP("Clip Start Bounce"));
    clipGrid->addWidget(bounceAtStart_, 0, 3);
    addRow(clipGrid, 1, pair(FormValue::ClipEnd));
    bounceAtEnd_ = makeButton<QCheckBox>(QT_TR_NOOP("Bounce"), clip, QT_TR_NOOP("Clip End Bounce"));
    clipGrid->addWidget(bounceAtEnd_, 1, 3);
    clipGrid->setRowStretch(2, 1);

    QGroupBox* vertical = group(QT_TR_NOOP("Vertical"), 0, 2, 2);
    auto* verticalGrid = new QGridLayout(vertical);
    addColumn(verticalGrid, 0, pair(FormValue::Height));
    addColumn(verticalGrid, 1, pair(FormValue::YShift));
    addColumn(verticalGrid, 2, pair(FormValue::VerticalSpeed));
    auto* verticalChecks = new QVBoxLayout;
    alignTop_ = makeButton<QCheckBox>(QT_TR_NOOP("Top"), vertical);
    alignBottom_ = makeButton<QCheckBox>(QT_TR_NOOP("Bottom"), vertical);
    fit_ = makeButton<QCheckBox>(QT_TR_NOOP("Fit"), vertical);
    flip_ = makeButton<QCheckBox>(QT_TR_NOOP("Flip"), vertical);
    verticalBounce_ =
        makeButton<QCheckBox>(QT_TR_NOOP("Bounce"), vertical, QT_TR_NOOP("Vertical Bounce"));
    for (QCheckBox* box : {alignTop_, alignBottom_, fit_, flip_, verticalBounce_}) {
        verticalChecks->addWidget(box);
    }
    verticalChecks->addStretch();
    verticalGrid->addLayout(verticalChecks, 0, 3, 3, 1);

    QGroupBox* flash = group(QT_TR_NOOP("Flash"), 1, 1);
    auto* flashGrid = new QGridLayout(flash);
    addRow(flashGrid, 0, pair(FormValue::Flashing));
    addRow(flashGrid, 1, pair(FormValue::FlashingAccel));
    flashGrid->setRowStretch(2, 1);

    // Fields wide enough for "+360.5".
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("+360.55"));
    for (ValuePair* valuePair : pairs_) {
        valuePair->edit()->setMaximumWidth(fieldWidth + 12);
        valuePair->setUp();
    }
    return holder;
}

QWidget* ParameterForm::createPresets() {
    auto* box = new QGroupBox(tr("Presets"), this);
    box->setAccessibleName(tr("Presets"));
    presetList_ = new QTableWidget(0, 1, box);
    presetList_->setAccessibleName(tr("Preset"));
    presetList_->setHorizontalHeaderLabels({tr("Preset")});
    presetList_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    presetList_->horizontalHeader()->setSectionsClickable(false);
    presetList_->verticalHeader()->hide();
    presetList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    presetList_->setSelectionMode(QAbstractItemView::SingleSelection);
    presetList_->setShowGrid(true);
    presetList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    presetList_->installEventFilter(this);

    storeButton_ = makeButton<QPushButton>(QT_TR_NOOP("Store"), box);
    storeNewButton_ = makeButton<QPushButton>(QT_TR_NOOP("Store New"), box);
    deleteButton_ = makeButton<QPushButton>(QT_TR_NOOP("Delete"), box);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {storeButton_, storeNewButton_, deleteButton_}) {
        buttons->addWidget(button);
        button->hide();
    }

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(presetList_, 1);
    layout->addLayout(buttons);

    connect(presetList_, &QTableWidget::currentCellChanged, this,
            [this](int row) { presetFocused(row); });
    connect(presetList_, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { applyPresetByUser(row); });
    connect(presetList_, &QTableWidget::itemChanged, this, &ParameterForm::presetRenamed);
    connect(storeButton_, &QPushButton::clicked, this, &ParameterForm::storePreset);
    connect(storeNewButton_, &QPushButton::clicked, this, &ParameterForm::storeNewPreset);
    connect(deleteButton_, &QPushButton::clicked, this, &ParameterForm::deletePreset);
    return box;
}

// ---- values ----

void ParameterForm::valueEdited(FormValue pair, const QString& text) {
    controller_.editValue(pair, text.toStdString());
    // The text stays as typed; the slider shows the value the record took.
    showPair(pair);
}

void ParameterForm::showPair(FormValue pair) {
    const ValueText& text = controller_.valueText(pair);
    pairs_[static_cast<std::size_t>(pair)]->showText(QString::fromStdString(text.text()),
                                                     text.currentValue());
}

void ParameterForm::showParameters() {
    for (std::size_t i = 0; i < kFormValueCount; ++i) {
        showPair(static_cast<FormValue>(i));
    }
    showFlags();
    showContentKind();
}

void ParameterForm::showFlags() {
    const PlayerParameters& record = controller_.working().parameters;
    const std::uint32_t anchor = record.originAnchor;
    for (std::size_t i = 0; i < anchors_.size(); ++i) {
        anchors_[i]->setChecked(anchor == i || (i == 2 && anchor > 2));
    }
    const auto show = [&record](QCheckBox* box, std::uint32_t flag) {
        box->setChecked(record.hasPlayerFlag(flag));
    };
    show(originSpring_, PlayerFlags::OriginSpring);
    show(originSync_, PlayerFlags::OriginSync);
    show(widthSpring_, PlayerFlags::WidthSpring);
    show(autoWidth_, PlayerFlags::AutoWidth);
    show(mirrorAtZero_, PlayerFlags::MirrorAtZero);
    show(bounceAtZero_, PlayerFlags::BounceAtZero);
    show(wrapAround_, PlayerFlags::WrapAround);
    show(bounceAtStart_, PlayerFlags::BounceAtStart);
    show(bounceAtEnd_, PlayerFlags::BounceAtEnd);
    show(flip_, PlayerFlags::Flip);
    show(verticalBounce_, PlayerFlags::VerticalBounce);
    // Both alignment bits together are Fit, not Top and Bottom.
    const bool fits = record.fitsToLamps();
    fit_->setChecked(fits);
    alignTop_->setChecked(!fits && record.hasPlayerFlag(PlayerFlags::AlignTop));
    alignBottom_->setChecked(!fits && record.hasPlayerFlag(PlayerFlags::AlignBottom));
    const QSignalBlocker quiet(projections_);
    projections_->setCurrentIndex(static_cast<int>(record.effectiveProjections()) - 1);
}

void ParameterForm::showContentKind() {
    const FourCC kind = controller_.contentKind();
    const bool text = kind == content_kind::Rich;
    const bool picture = kind == content_kind::Picture;
    textButton_->setEnabled(text || picture);
    pictureButton_->setEnabled(text || picture);
    // Neither is checked for content that is neither text nor picture, which two exclusive
    // buttons would not allow.
    for (QRadioButton* button : {textButton_, pictureButton_}) {
        button->setAutoExclusive(false);
    }
    textButton_->setChecked(text);
    pictureButton_->setChecked(picture);
    for (QRadioButton* button : {textButton_, pictureButton_}) {
        button->setAutoExclusive(true);
    }
    textEditor_->setVisible(text);
    picturePage_->setVisible(picture);
    if (picture) {
        // The controller may have given the editor a fresh picture to show.
        pictureEditor_->applyModelUpdate();
    }
}

// ---- the sequence form's part ----

void ParameterForm::storeIntoSelectedCommand() {
    sequenceForm_.storeIntoSelectedCommand();
}

void ParameterForm::refreshTimingControls() {
    sequenceForm_.refreshTimingControls();
}

bool ParameterForm::isSequenceRunning() const {
    return sequenceForm_.isSequenceRunning();
}

void ParameterForm::pictureContentChanged() {
    controller_.contentChanged();
}

// ---- presets ----

void ParameterForm::setPresetEditing(bool on) {
    presetEditing_ = on;
    for (QPushButton* button : {storeButton_, storeNewButton_, deleteButton_}) {
        button->setVisible(on);
    }
    // A selected row's label opens for editing on a click or F2, never on a double-click,
    // which applies the preset.
    presetList_->setEditTriggers(on ? QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
}

void ParameterForm::fillPresets() {
    listByProgram_ = true;
    presetList_->clearContents();
    presetList_->setRowCount(static_cast<int>(presets_.size()));
    for (int row = 0; row < presetList_->rowCount(); ++row) {
        presetList_->setItem(
            row, 0, new QTableWidgetItem(QString::fromStdString(presets_.at(row)->name())));
    }
    listByProgram_ = false;
}

void ParameterForm::selectPresetRow(int row) {
    selectRowQuietly(row);
}

void ParameterForm::selectRowQuietly(int row) {
    listByProgram_ = true;
    if (row >= 0 && row < presetList_->rowCount()) {
        presetList_->setCurrentCell(row, 0);
        presetList_->scrollToItem(presetList_->item(row, 0));
    } else {
        presetList_->setCurrentCell(-1, -1);
        presetList_->clearSelection();
    }
    listByProgram_ = false;
}

void ParameterForm::presetFocused(int row) {
    if (!listByProgram_ && row >= 0) {
        applyPresetByUser(row);
    }
}

void ParameterForm::applyPresetByUser(int row) {
    if (row < 0) {
        return;
    }
    controller_.applyPreset(row);
    sequenceForm_.storeIntoSelectedCommand();
}

void ParameterForm::storePreset() {
    if (presets_.currentIndex() < 0) {
        storeNewPreset();
        return;
    }
    const int row = presets_.store(controller_.working().parameters);
    fillPresets();
    selectRowQuietly(row);
}

void ParameterForm::storeNewPreset() {
    const int row = presets_.storeNew(controller_.working().parameters);
    fillPresets();
    selectRowQuietly(row);
    presetList_->setFocus();
    if (QTableWidgetItem* item = presetList_->item(row, 0)) {
        presetList_->editItem(item);
    }
}

void ParameterForm::deletePreset() {
    const QList<QTableWidgetItem*> selected = presetList_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    if (presets_.remove(selected.front()->row())) {
        fillPresets();
        selectRowQuietly(-1);
    }
}

void ParameterForm::presetRenamed(QTableWidgetItem* item) {
    if (listByProgram_) {
        return;
    }
    const int row = item->row();
    const std::string name = item->text().toStdString();
    // The list is refilled once the editor that changed the item has closed.
    QMetaObject::invokeMethod(
        this,
        [this, row, name] {
            const int renamed = presets_.rename(row, name);
            fillPresets();
            selectRowQuietly(renamed >= 0 ? renamed : row);
        },
        Qt::QueuedConnection);
}

bool ParameterForm::eventFilter(QObject* watched, QEvent* event) {
    // A click on the "Projections:" caption sets one projection.
    if (watched == projectionsLabel_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        controller_.resetProjections(checks());
        return true;
    }
    // While a label is being edited its editor has the keys, not the list.
    if (watched == presetList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            applyPresetByUser(presetList_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace rova
