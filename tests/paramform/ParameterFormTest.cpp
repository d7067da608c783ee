// The parameter form on screen: its controls found by their accessible names, the values they
// hand to the controller, the editor each content kind shows and the preset list.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "AnsweringPrompt.h"
#include "NamedWidget.h"
#include "ParameterForm.h"
#include "ParameterFormTestSupport.h"
#include "PictureEditor.h"
#include "QtApplicationTest.h"
#include "RichTextControl.h"
#include "ScriptedDialog.h"

namespace rova {
namespace {

using test::named;

class ParameterFormWidgetTest : public test::QtApplicationTest {
  protected:
    void SetUp() override { makeForm(); }

    // A new form over the presets file as it stands, with the working record of a text
    // command loaded.
    void makeForm() {
        form.reset();
        form = std::make_unique<ParameterForm>(engine, prompt, sequenceForm, presetsPath(),
                                               presetsPath());
        form->initialise(true);
        form->resize(1000, 500);
        auto command = test::textCommand(Keyword::Solo, "Hi");
        ASSERT_TRUE(form->controller().execute(*command, true));
    }
    QString presetsPath() const { return folder.path("Presets.rova"); }
    const PlayerParameters& record() const { return form->controller().working().parameters; }

    template <typename Widget>
    Widget& control(const QString& name) {
        Widget* widget = named<Widget>(*form, name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        if (widget == nullptr) {
            throw std::runtime_error("no control " + name.toStdString());
        }
        return *widget;
    }
    QTableWidget& list() { return control<QTableWidget>(QStringLiteral("Preset")); }
    QStringList listedNames() {
        QStringList names;
        for (int row = 0; row < list().rowCount(); ++row) {
            names.append(list().item(row, 0)->text());
        }
        return names;
    }
    // The label editor the list has open, if any.
    QLineEdit* labelEditor() { return list().viewport()->findChild<QLineEdit*>(); }
    void showForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QPoint rowCentre(int row) { return list().visualItemRect(list().item(row, 0)).center(); }
    QAbstractButton& button(const char* name) {
        return control<QAbstractButton>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(&button(name), Qt::LeftButton); }
    test::PlayerView topPlayer() const { return test::playersOn(engine).at(0); }
    std::vector<ContentColumn> topColumns() const { return topPlayer().columns; }
    // Clicks the caption label showing `text`.
    void clickCaption(const char* text) {
        const QList<QLabel*> labels = form->findChildren<QLabel*>();
        const auto found = std::find_if(labels.begin(), labels.end(), [text](const QLabel* l) {
            return l->text() == QLatin1String(text);
        });
        ASSERT_NE(found, labels.end()) << text;
        QTest::mouseClick(*found, Qt::LeftButton);
    }

    test::TempFolder folder;
    VirtualClock clock;
    test::FixedAngleEngine engine{clock};
    test::AnsweringPrompt prompt;
    test::RecordingHost sequenceForm;
    std::unique_ptr<ParameterForm> form;
};

// ---- value pairs ----

void type(QLineEdit& edit, const QString& text) {
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
}

TEST_F(ParameterFormWidgetTest, ValuePairsHandTheirValuesToTheRecordAndShowTheProgramsValues) {
    const struct {
        const char* name;
        const char* typed;                // nullptr: the Up key on the slider
        double PlayerParameters::*field;  // nullptr: the height adjustment
        double expected;
        const char* shown;  // the field's text afterwards
    } cases[] = {
        // Shown negated: up on the slider moves the picture up the arm.
        {"Y-Shift", nullptr, &PlayerParameters::yShift, -1, "+1"},
        {"Height", nullptr, nullptr, 1, "+1"},
        {"Height", "7.9", nullptr, 7, "7.9"},  // a whole number: the typed value is truncated
        {"Origin Speed", "12.34", &PlayerParameters::originSpeed, 12.34f, "12.34"},
        {"Origin Accel", nullptr, &PlayerParameters::originAccel, 5, "+5"},
        {"Flash Accel", nullptr, &PlayerParameters::flashingAccel, 0.1f, "+0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeForm();
        const QString name = QString::fromLatin1(c.name);
        QLineEdit& edit = control<QLineEdit>(name);
        if (c.typed != nullptr) {
            type(edit, QString::fromLatin1(c.typed));
        } else {
            QTest::keyClick(&control<QSlider>(name), Qt::Key_Up);
        }
        EXPECT_EQ(c.field != nullptr ? record().*c.field : record().heightAdjustment, c.expected);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown));
    }

    // Values the program shows go to the slider and the field.
    auto command = test::textCommand(Keyword::Solo, "Hi");
    command->parameters().yShift = 3;
    ASSERT_TRUE(form->controller().execute(*command, true));
    QSlider& yShift = control<QSlider>(QStringLiteral("Y-Shift"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Y-Shift")).text(), QStringLiteral("-3"));
    // 16 at the top: -3 is 19 positions down.
    EXPECT_EQ(yShift.value(), 19);

    // Moving the slider back to where it is hands nothing over.
    const int before = sequenceForm.storedCount;
    yShift.setValue(19);
    EXPECT_EQ(sequenceForm.storedCount, before);
}

TEST_F(ParameterFormWidgetTest, TabKeyGoesThroughTheGroupsInOrder) {
    std::vector<QWidget*> chain;
    for (QWidget* widget = form->nextInFocusChain(); widget != form.get();
         widget = widget->nextInFocusChain()) {
        chain.push_back(widget);
    }
    const auto at = [&chain](QWidget* widget) {
        return std::find(chain.begin(), chain.end(), widget) - chain.begin();
    };
    std::vector<QWidget*> groupOrder{&control<QAbstractButton>(QStringLiteral("Text")),
                                     &form->textEditor(),
                                     &control<QAbstractButton>(QStringLiteral("Zoom Out"))};
    for (const char* name : {"Origin", "Origin Accel", "Width", "Width Accel", "Clip Start",
                             "Clip End", "Height", "Speed", "Flash", "Flash Accel"}) {
        groupOrder.push_back(&control<QSlider>(QString::fromLatin1(name)));
        groupOrder.push_back(&control<QLineEdit>(QString::fromLatin1(name)));
    }
    groupOrder.push_back(&list());
    for (std::size_t i = 1; i < groupOrder.size(); ++i) {
        EXPECT_LT(at(groupOrder[i - 1]), at(groupOrder[i]))
            << groupOrder[i]->accessibleName().toStdString();
    }
}

// ---- content ----

TEST_F(ParameterFormWidgetTest, ContentKindShowsItsEditor) {
    const struct {
        const char* what;
        std::unique_ptr<Command> command;
        bool text, picture;
    } cases[] = {
        {"text", test::textCommand(Keyword::Solo, "Hi"), true, false},
        {"picture", test::pictureCommand(8, 8, 8), false, true},
        {"nothing", test::plainCommand(Keyword::Solo), false, false},
    };
    auto& textButton = control<QAbstractButton>(QStringLiteral("Text"));
    auto& pictureButton = control<QAbstractButton>(QStringLiteral("Picture"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(form->controller().execute(*c.command, true));
        EXPECT_EQ(form->textEditor().isVisibleTo(form.get()), c.text);
        EXPECT_EQ(form->pictureEditor().isVisibleTo(form.get()), c.picture);
        EXPECT_EQ(button("Zoom In").isVisibleTo(form.get()), c.picture);
        EXPECT_EQ(std::pair(textButton.isChecked(), pictureButton.isChecked()),
                  std::pair(c.text, c.picture));
        EXPECT_EQ(textButton.isEnabled(), c.text || c.picture);
    }
    // The picture's buttons work on the picture editor (Invert as the content switch shows).
    PictureEditorModel& model = form->pictureEditor().model();
    ASSERT_TRUE(form->controller().execute(*cases[1].command, true));
    const int zoom = model.zoom();
    ASSERT_LT(zoom, PictureEditorModel::kMaxZoom);
    click("Zoom In");
    EXPECT_EQ(model.zoom(), zoom + 1);
}

// ---- check boxes, radio buttons and the combo box ----

// On an 8-row picture: Top and Bottom shift its 8 rows to the lamps' ends, Fit stretches it to
// the 16 lamps, which need no shift. An unchecked Fit waits for the next change.
TEST_F(ParameterFormWidgetTest, ClickedBoxesSetTheRecordTheBoxesThatExcludeThemAndTheYShift) {
    constexpr std::uint32_t kZero = PlayerFlags::MirrorAtZero | PlayerFlags::BounceAtZero;
    constexpr std::uint32_t kShownFlags = kZero | PlayerFlags::Fit | PlayerFlags::Flip;
    const struct {
        const char* clicks;   // in turn, separated by commas
        std::uint32_t flags;  // of the record, among kShownFlags
        const char* checked;  // the one box of `exclusive` that shows checked, if any
        double yShift;
        std::uint32_t rows;  // of the top player's content
    } cases[] = {
        {"Mirror@Zero,Bounce@Zero", PlayerFlags::BounceAtZero, "Bounce@Zero", 0, 8},
        {"Bounce@Zero,Mirror@Zero", PlayerFlags::MirrorAtZero, "Mirror@Zero", 0, 8},
        {"Mirror@Zero,Mirror@Zero", 0, "", 0, 8},
        {"Top", PlayerFlags::AlignTop, "Top", -4, 8},
        {"Fit,Top", PlayerFlags::AlignTop, "Top", 0, 16},
        {"Top,Bottom", PlayerFlags::AlignBottom, "Bottom", 4, 8},
        {"Top,Top", 0, "", 0, 8},
        {"Bottom,Fit", PlayerFlags::Fit, "Fit", 0, 16},
        {"Fit,Fit", 0, "", 0, 16},
        {"Flip", PlayerFlags::Flip, "Flip", 0, 8},
    };
    const char* const exclusive[] = {"Mirror@Zero", "Bounce@Zero", "Top", "Bottom", "Fit", "Flip"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks);
        makeForm();
        auto command = test::pictureCommand(8, 8, 8);
        command->parameters().playerFlags &= ~kShownFlags;
        ASSERT_TRUE(form->controller().execute(*command, true));
        showForm();
        const int stored = sequenceForm.storedCount;
        for (const QString& name : QString::fromLatin1(c.clicks).split(u',')) {
            QTest::mouseClick(&control<QAbstractButton>(name), Qt::LeftButton);
        }
        EXPECT_EQ(record().playerFlags & kShownFlags, c.flags);
        for (const char* name : exclusive) {
            EXPECT_EQ(button(name).isChecked(), std::string_view(name) == c.checked) << name;
        }
        EXPECT_EQ(record().yShift, c.yShift);
        EXPECT_EQ(control<QLineEdit>(QStringLiteral("Y-Shift")).text().toDouble(), -c.yShift);
        const test::PlayerView top = topPlayer();
        EXPECT_EQ(top.parameters.playerFlags & kZero, c.flags & kZero);
        EXPECT_EQ(std::pair(top.parameters.yShift, top.rows), std::pair(c.yShift, c.rows));
        EXPECT_GE(sequenceForm.storedCount, stored + 1);
    }
}

TEST_F(ParameterFormWidgetTest, RadiosComboAndCaptionsSetTheAnchorProjectionsAndDefaults) {
    showForm();
    click("L");
    EXPECT_EQ(record().originAnchor, 0u);
    click("R");
    EXPECT_EQ(record().originAnchor, 2u);

    auto& projections = control<QComboBox>(QStringLiteral("Projections"));
    projections.setFocus();
    QTest::keyClick(&projections, Qt::Key_End);
    EXPECT_EQ(record().projections, 6u);
    EXPECT_EQ(record().originAnchor, 2u);

    clickCaption("Projections:");
    EXPECT_EQ(record().projections, 1u);
    EXPECT_EQ(projections.currentIndex(), 0);

    type(control<QLineEdit>(QStringLiteral("Origin")), QStringLiteral("200"));
    type(control<QLineEdit>(QStringLiteral("Width")), QStringLiteral("20"));
    type(control<QLineEdit>(QStringLiteral("Clip End")), QStringLiteral("300"));
    type(control<QLineEdit>(QStringLiteral("Origin Accel")), QStringLiteral("5"));
    ASSERT_EQ(std::tuple(record().origin, record().width, record().clipEnd, record().originAccel),
              std::tuple(200, 20, 300, 5));
    for (const char* caption : {"Origin:", "Width:", "Clip End:", "Accel:"}) {
        clickCaption(caption);  // the first "Accel:" is the origin's
    }
    EXPECT_EQ(std::tuple(record().origin, record().width, record().clipEnd, record().originAccel),
              std::tuple(90, 150, 180, 0));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Width")).text(), QStringLiteral("150"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Clip End")).text(), QStringLiteral("180"));
}

TEST_F(ParameterFormWidgetTest, TextAndPictureSwitchAndEditingRebuildTheTopPlayer) {
    showForm();
    const std::vector<ContentColumn> before = topColumns();
    const int stored = sequenceForm.storedCount;
    form->textEditor().setFocus();
    QTest::keyClick(&form->textEditor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&form->textEditor(), QStringLiteral("WW"));
    const std::vector<ContentColumn> text = topColumns();
    EXPECT_GT(text.size(), before.size());
    EXPECT_EQ(sequenceForm.storedCount, stored + 2);

    click("Picture");
    EXPECT_EQ(form->controller().contentKind(), content_kind::Picture);
    EXPECT_TRUE(form->pictureEditor().isVisible());
    EXPECT_EQ(form->pictureEditor().model().rows(), PictureEditorModel::kFreshSide);
    // The fresh black picture lights no lamp.
    const std::vector<ContentColumn> black(PictureEditorModel::kFreshSide, ContentColumn{0, 0, 0});
    EXPECT_EQ(topColumns(), black);
    click("Invert");  // every lamp of the 16 rows white: the top 16 bits of each plane
    constexpr std::uint32_t kLit = 0xFFFF0000u;
    EXPECT_EQ(topColumns(),
              std::vector<ContentColumn>(black.size(), ContentColumn{kLit, kLit, kLit}));

    click("Text");
    EXPECT_EQ(form->controller().contentKind(), content_kind::Rich);
    EXPECT_TRUE(form->textEditor().isVisible());
    EXPECT_EQ(topColumns(), text);
}

// ---- presets ----

class ParameterFormPresetsTest : public ParameterFormWidgetTest {
  protected:
    // Presets named `names`, each with the origin given, stored before the form is made.
    void seed(const std::vector<std::pair<std::string, double>>& presets) {
        Presets file(presetsPath(), prompt);
        for (const auto& [name, origin] : presets) {
            PlayerParameters values;
            values.origin = origin;
            values.nextCommandAfter = 1;
            values.deathAfter = 1;
            file.setCurrent(file.storeNew(values));
            file.rename(file.currentIndex(), name);
        }
        makeForm();
    }
};

TEST_F(ParameterFormPresetsTest, ApplyingAPresetKeepsTheCommandsTiming) {
    seed({{"Fast", 200}, {"Slow", 45}});
    showForm();
    const int stored = sequenceForm.storedCount;
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(1));
    // The loaded command's 5 s to the next command stay.
    EXPECT_EQ(std::pair(record().origin, record().nextCommandAfter), std::pair(45.0, 5.0));
    EXPECT_EQ(sequenceForm.storedCount, stored + 1);
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Origin")).text(), QStringLiteral("45"));
}

TEST_F(ParameterFormPresetsTest, DoubleClickAndEnterApplyAgainWithoutEditingTheLabel) {
    const std::vector<std::pair<const char*, std::function<void()>>> gestures{
        {"double-click",
         [this] { QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowCentre(0)); }},
        {"Enter", [this] { QTest::keyClick(&list(), Qt::Key_Return); }},
    };
    seed({{"Fast", 200}});
    for (const auto& [what, gesture] : gestures) {
        SCOPED_TRACE(what);
        makeForm();
        showForm();
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(0));
        ASSERT_EQ(record().origin, 200);
        // Editing a value leaves no row selected; the row is made current again quietly, so
        // that only the gesture can apply the preset.
        type(control<QLineEdit>(QStringLiteral("Origin")), QStringLiteral("30"));
        list().setFocus();
        {
            const QSignalBlocker quiet(&list());
            list().setCurrentCell(0, 0);
        }
        ASSERT_EQ(record().origin, 30);

        gesture();
        EXPECT_EQ(record().origin, 200);
        EXPECT_EQ(labelEditor(), nullptr);
    }
}

TEST_F(ParameterFormPresetsTest, PresetEditingShowsTheButtonsToDeleteStoreAndRename) {
    seed({{"Fast", 200}, {"Slow", 45}});
    showForm();
    auto& remove = control<QPushButton>(QStringLiteral("Delete"));
    EXPECT_FALSE(remove.isVisible());
    form->setPresetEditing(true);
    EXPECT_TRUE(remove.isVisible());

    remove.click();  // nothing selected
    EXPECT_EQ(listedNames(), (QStringList{"Fast", "Slow"}));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(0));
    remove.click();
    EXPECT_EQ(listedNames(), QStringList{"Slow"});
    EXPECT_EQ(form->presets().currentIndex(), -1);

    // With no current preset, "Store" stores a new one, which comes first with its label open
    // for editing; renamed, it sorts last.
    click("Store");
    EXPECT_EQ(listedNames(), (QStringList{"*** new preset ***", "Slow"}));
    QLineEdit* editor = labelEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Zigzag"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over through the event loop.
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return listedNames().startsWith(QStringLiteral("Slow")); }));
    EXPECT_EQ(listedNames(), (QStringList{"Slow", "Zigzag"}));
    EXPECT_EQ(list().currentRow(), 1);
    click("Store New");
    EXPECT_EQ(listedNames(), (QStringList{"*** new preset ***", "Slow", "Zigzag"}));
}

// The groups and the editors fit a window 1024 pixels wide, beside the preview in one 700 high.
TEST_F(ParameterFormWidgetTest, FitsAWindowOf1024By700) {
    const QSize least = form->minimumSizeHint();
    EXPECT_LE(least.width(), 1000);
    EXPECT_LE(least.height(), 450);
    EXPECT_EQ(form->sizeHint().height(), least.height());
}

TEST_F(ParameterFormWidgetTest, APictureThatCannotBeLoadedIsReportedForTheStatusBar) {
    const QString path = folder.path("broken.bmp");
    test::writeBytes(path, "BM not a bitmap");
    test::ScriptedDialog dialog;
    dialog.choices.push_back(FilePrompt::DialogResult{{path}, 0});
    ParameterForm withDialog(engine, prompt, sequenceForm, presetsPath(), presetsPath(),
                             dialog.show());
    QStringList messages;
    QObject::connect(&withDialog, &ParameterForm::statusMessage,
                     [&messages](const QString& text) { messages.append(text); });
    named<QRadioButton>(withDialog, "Picture")->click();
    named<QPushButton>(withDialog, "Load...")->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Cannot load"))) << messages[0].toStdString();
}

// The sequence form writes a command's timing back into the record: the top player takes it.
TEST_F(ParameterFormWidgetTest, TimingWrittenBackReachesTheTopPlayer) {
    PlayerParameters record = form->controller().record();
    record.deathAfter = 9.0;
    record.nextCommandAfter = 4.0;
    form->controller().applyRecord(record);
    EXPECT_EQ(form->controller().record().nextCommandAfter, 4.0);
    EXPECT_EQ(topPlayer().parameters.deathAfter, 9.0);
}

}  // namespace
}  // namespace rova
