// The parameter form on screen: its controls found by their accessible names, the values they
// hand to the controller, the editor each content kind shows and the preset list.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
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
#include <vector>

#include "AnsweringPrompt.h"
#include "Clock.h"
#include "CommandContent.h"
#include "DocumentTestSupport.h"
#include "NamedWidget.h"
#include "ParameterForm.h"
#include "ParameterFormTestSupport.h"
#include "Picture.h"
#include "PictureEditor.h"
#include "Presets.h"
#include "QtApplicationTest.h"
#include "RichTextControl.h"
#include "ScriptedDialog.h"
#include "TestCommands.h"
#include "ValuePair.h"

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
    // The columns of the top player on the rotor.
    std::vector<ContentColumn> topColumns() const {
        std::vector<ContentColumn> columns;
        bool first = true;
        engine.forEachPlayer([&](const Player& player) {
            if (first) {
                const auto shown = player.content().columns();
                columns.assign(shown.begin(), shown.end());
                first = false;
            }
        });
        return columns;
    }

    test::TempFolder folder;
    VirtualClock clock;
    test::FixedAngleEngine engine{clock};
    test::AnsweringPrompt prompt;
    test::RecordingHost sequenceForm;
    std::unique_ptr<ParameterForm> form;
};

// ---- value pairs ----

struct ValueCase {
    const char* name;
    std::function<void(QSlider&, QLineEdit&)> act;
    std::function<double(const PlayerParameters&)> field;
    double expected;
    const char* shown;  // the field's text afterwards
};

void type(QLineEdit& edit, const QString& text) {
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
}

TEST_F(ParameterFormWidgetTest, ValuePairsHandTheirValuesToTheRecord) {
    const auto up = [](QSlider& slider, QLineEdit&) { QTest::keyClick(&slider, Qt::Key_Up); };
    const auto typing = [](const char* text) {
        return [text](QSlider&, QLineEdit& edit) { type(edit, QString::fromLatin1(text)); };
    };
    const ValueCase cases[] = {
        // Shown negated: up on the slider moves the picture up the arm.
        {"Y-Shift", up, [](const PlayerParameters& r) { return r.yShift; }, -1, "+1"},
        {"Speed", up, [](const PlayerParameters& r) { return r.verticalSpeed; }, -1, "+1"},
        {"Height", up, [](const PlayerParameters& r) { return r.heightAdjustment; }, 1, "+1"},
        // The height adjustment is a whole number: the typed value is truncated.
        {"Height", typing("7.9"), [](const PlayerParameters& r) { return r.heightAdjustment; }, 7,
         "7.9"},
        {"Origin Speed", typing("12.34"), [](const PlayerParameters& r) { return r.originSpeed; },
         12.34f, "12.34"},
        {"Flash Accel", up, [](const PlayerParameters& r) { return r.flashingAccel; }, 0.1f,
         "+0.1"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        makeForm();
        const QString name = QString::fromLatin1(c.name);
        QSlider& slider = control<QSlider>(name);
        QLineEdit& edit = control<QLineEdit>(name);
        c.act(slider, edit);
        EXPECT_EQ(c.field(record()), c.expected);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.shown));
    }
}

TEST_F(ParameterFormWidgetTest, ProgramValuesShowOnSliderAndField) {
    auto command = test::textCommand(Keyword::Solo, "Hi");
    command->parameters().yShift = 3;
    command->parameters().origin = 200;
    ASSERT_TRUE(form->controller().execute(*command, true));

    QSlider& yShift = control<QSlider>(QStringLiteral("Y-Shift"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Y-Shift")).text(), QStringLiteral("-3"));
    // 16 at the top: -3 is 19 positions down.
    EXPECT_EQ(yShift.value(), 19);
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Origin")).text(), QStringLiteral("200"));

    // Moving the slider back to where it is hands nothing over.
    const int before = sequenceForm.storedCount;
    yShift.setValue(19);
    EXPECT_EQ(sequenceForm.storedCount, before);
}

TEST_F(ParameterFormWidgetTest, ClickingACaptionSetsItsDefault) {
    auto command = test::textCommand(Keyword::Solo, "Hi");
    command->parameters().origin = 200;
    command->parameters().width = 20;
    command->parameters().clipEnd = 300;
    ASSERT_TRUE(form->controller().execute(*command, true));
    showForm();
    struct CaptionCase {
        const char* caption;
        double PlayerParameters::*field;
        double expected;
    };
    const CaptionCase cases[] = {
        {"Origin:", &PlayerParameters::origin, 90},
        {"Width:", &PlayerParameters::width, 150},
        {"Clip End:", &PlayerParameters::clipEnd, 180},
    };
    const QList<ValueLabel*> labels = form->findChildren<ValueLabel*>();
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.caption);
        const auto label = std::find_if(labels.begin(), labels.end(), [&c](const ValueLabel* l) {
            return l->text() == QString::fromLatin1(c.caption);
        });
        ASSERT_NE(label, labels.end());
        QTest::mouseClick(*label, Qt::LeftButton);
        EXPECT_EQ(record().*c.field, c.expected);
    }
}

TEST_F(ParameterFormWidgetTest, EveryValueHasItsNameAndUnit) {
    const std::pair<const char*, const char*> pairs[] = {
        {"Origin", "degrees"},        {"Origin Speed", "degrees/s"}, {"Origin Accel", "degrees/s²"},
        {"Width", "degrees"},         {"Width Speed", "degrees/s"},  {"Width Accel", "degrees/s²"},
        {"Clip Start", "degrees"},    {"Clip End", "degrees"},       {"Height", "rows"},
        {"Y-Shift", "rows"},          {"Speed", "rows/s"},           {"Flash", "flashes/s"},
        {"Flash Accel", "flashes/s²"}};
    for (const auto& [name, unit] : pairs) {
        SCOPED_TRACE(name);
        const QString expected = QString::fromUtf8(name) + " (" + QString::fromUtf8(unit) + ")";
        EXPECT_EQ(control<QSlider>(QString::fromUtf8(name)).toolTip(), expected);
        EXPECT_EQ(control<QLineEdit>(QString::fromUtf8(name)).toolTip(), expected);
    }
    const QString buttons = QStringLiteral(
        "L|M|R|Origin Spring|Sync|Width Spring|Auto|Mirror@Zero|Bounce@Zero|Wrap Around|"
        "Clip Start Bounce|Clip End Bounce|Top|Bottom|Fit|Flip|Vertical Bounce|Text|Picture|"
        "Load...|Save As...|Set...|Auto-Crop|Copy Text|Invert|Zoom In|Zoom Out|Store|Store New|"
        "Delete");
    for (const QString& name : buttons.split(u'|')) {
        EXPECT_NE(named<QAbstractButton>(*form, name), nullptr) << name.toStdString();
    }
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

struct ContentCase {
    const char* what;
    std::function<std::unique_ptr<Command>()> command;
    bool text;
    bool picture;
};

TEST_F(ParameterFormWidgetTest, ContentKindShowsItsEditor) {
    const ContentCase cases[] = {
        {"text", [] { return test::textCommand(Keyword::Solo, "Hi"); }, true, false},
        {"picture",
         [] {
             Picture red;
             EXPECT_TRUE(red.createLampFilled(8, 8, 0x0000FF));
             auto command = test::plainCommand(Keyword::Solo);
             PictureState state;
             state.rows = 8;
             EXPECT_TRUE(takePicture(*command, "red.bmp", state, red));
             return command;
         },
         false, true},
        {"nothing", [] { return test::plainCommand(Keyword::Solo); }, false, false},
    };
    auto& textButton = control<QAbstractButton>(QStringLiteral("Text"));
    auto& pictureButton = control<QAbstractButton>(QStringLiteral("Picture"));
    for (const ContentCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto command = c.command();
        ASSERT_TRUE(form->controller().execute(*command, true));
        EXPECT_EQ(form->textEditor().isVisibleTo(form.get()), c.text);
        EXPECT_EQ(form->pictureEditor().isVisibleTo(form.get()), c.picture);
        EXPECT_EQ(control<QPushButton>(QStringLiteral("Zoom In")).isVisibleTo(form.get()),
                  c.picture);
        EXPECT_EQ(textButton.isChecked(), c.text);
        EXPECT_EQ(pictureButton.isChecked(), c.picture);
        EXPECT_EQ(textButton.isEnabled(), c.text || c.picture);
    }
}

TEST_F(ParameterFormWidgetTest, PictureButtonsWorkOnThePictureEditor) {
    auto command = test::plainCommand(Keyword::Solo);
    Picture red;
    ASSERT_TRUE(red.createLampFilled(8, 8, 0x0000FF));
    PictureState state;
    state.rows = 8;
    ASSERT_TRUE(takePicture(*command, "red.bmp", state, red));
    ASSERT_TRUE(form->controller().execute(*command, true));

    PictureEditorModel& model = form->pictureEditor().model();
    const int zoom = model.zoom();
    ASSERT_LT(zoom, PictureEditorModel::kMaxZoom);
    control<QPushButton>(QStringLiteral("Zoom In")).click();
    EXPECT_EQ(model.zoom(), zoom + 1);
    const int lamp = model.workingPicture().row(0)[0];
    control<QPushButton>(QStringLiteral("Invert")).click();
    EXPECT_EQ(model.workingPicture().row(0)[0], 7 - lamp);
}

// ---- check boxes, radio buttons and the combo box ----

TEST_F(ParameterFormWidgetTest, ClickedBoxesSetTheRecordAndTheBoxesThatExcludeThem) {
    struct Case {
        const char* what;
        std::vector<const char*> clicks;
        std::uint32_t flags;               // of the record, among kShownFlags
        std::vector<const char*> checked;  // among the boxes that exclude each other
    };
    constexpr std::uint32_t kShownFlags = PlayerFlags::MirrorAtZero | PlayerFlags::BounceAtZero |
                                          PlayerFlags::Fit | PlayerFlags::Flip;
    const Case cases[] = {
        {"Mirror then Bounce",
         {"Mirror@Zero", "Bounce@Zero"},
         PlayerFlags::BounceAtZero,
         {"Bounce@Zero"}},
        {"Bounce then Mirror",
         {"Bounce@Zero", "Mirror@Zero"},
         PlayerFlags::MirrorAtZero,
         {"Mirror@Zero"}},
        {"Top after Fit", {"Fit", "Top"}, PlayerFlags::AlignTop, {"Top"}},
        {"Bottom after Top", {"Top", "Bottom"}, PlayerFlags::AlignBottom, {"Bottom"}},
        {"Fit after Bottom", {"Bottom", "Fit"}, PlayerFlags::Fit, {"Fit"}},
        {"Fit unchecked", {"Fit", "Fit"}, 0, {}},
        {"Flip", {"Flip"}, PlayerFlags::Flip, {"Flip"}},
    };
    const std::vector<const char*> exclusive{"Mirror@Zero", "Bounce@Zero", "Top",
                                             "Bottom",      "Fit",         "Flip"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeForm();
        auto command = test::textCommand(Keyword::Solo, "Hi");
        command->parameters().playerFlags &= ~kShownFlags;
        ASSERT_TRUE(form->controller().execute(*command, true));
        showForm();
        const int stored = sequenceForm.storedCount;
        for (const char* name : c.clicks) {
            click(name);
        }
        EXPECT_EQ(record().playerFlags & kShownFlags, c.flags);
        for (const char* name : exclusive) {
            const bool expected = std::find(c.checked.begin(), c.checked.end(),
                                            std::string_view(name)) != c.checked.end();
            EXPECT_EQ(button(name).isChecked(), expected) << name;
        }
        EXPECT_GE(sequenceForm.storedCount, stored + 1);
    }
}

TEST_F(ParameterFormWidgetTest, TopAfterFitShowsTheYShiftOfTheFittedContent) {
    showForm();
    click("Fit");
    click("Top");
    EXPECT_EQ(record().playerFlags & PlayerFlags::Fit, PlayerFlags::AlignTop);
    // The text fitted to the lamps is at most 16 rows tall, so Top shifts it by at most one.
    EXPECT_LE(std::abs(record().yShift), 1.0);
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Y-Shift")).text().toDouble(), -record().yShift);
}

TEST_F(ParameterFormWidgetTest, RadiosComboAndCaptionSetTheAnchorAndProjections) {
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

    const QList<QLabel*> labels = form->findChildren<QLabel*>();
    const auto caption = std::find_if(labels.begin(), labels.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral("Projections:");
    });
    ASSERT_NE(caption, labels.end());
    QTest::mouseClick(*caption, Qt::LeftButton);
    EXPECT_EQ(record().projections, 1u);
    EXPECT_EQ(projections.currentIndex(), 0);
}

TEST_F(ParameterFormWidgetTest, TextAndPictureSwitchTheEditorAndTheContent) {
    showForm();
    const std::vector<ContentColumn> text = topColumns();
    ASSERT_FALSE(text.empty());

    click("Picture");
    EXPECT_EQ(form->controller().contentKind(), content_kind::Picture);
    EXPECT_TRUE(form->pictureEditor().isVisible());
    EXPECT_FALSE(form->textEditor().isVisible());
    EXPECT_EQ(form->pictureEditor().model().rows(), PictureEditorModel::kFreshSide);
    // The fresh black picture lights no lamp.
    EXPECT_EQ(topColumns(),
              std::vector<ContentColumn>(PictureEditorModel::kFreshSide, ContentColumn{0, 0, 0}));

    click("Text");
    EXPECT_EQ(form->controller().contentKind(), content_kind::Rich);
    EXPECT_TRUE(form->textEditor().isVisible());
    EXPECT_FALSE(form->pictureEditor().isVisible());
    EXPECT_EQ(topColumns(), text);
}

TEST_F(ParameterFormWidgetTest, EditingTheTextOrThePictureRebuildsTheTopPlayer) {
    showForm();
    const std::vector<ContentColumn> before = topColumns();
    const int stored = sequenceForm.storedCount;
    form->textEditor().setFocus();
    QTest::keyClick(&form->textEditor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&form->textEditor(), QStringLiteral("WW"));
    EXPECT_GT(topColumns().size(), before.size());
    EXPECT_EQ(sequenceForm.storedCount, stored + 2);

    click("Picture");
    const std::vector<ContentColumn> black = topColumns();
    click("Invert");
    EXPECT_NE(topColumns(), black);
    EXPECT_EQ(topColumns().size(), black.size());
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
    auto command = test::textCommand(Keyword::Solo, "Hi", 7);
    command->parameters().deathAfter = 3;
    ASSERT_TRUE(form->controller().execute(*command, true));
    showForm();

    const int stored = sequenceForm.storedCount;
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(record().origin, 45);
    EXPECT_EQ(record().nextCommandAfter, 7);
    EXPECT_EQ(record().deathAfter, 3);
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

TEST_F(ParameterFormPresetsTest, PresetEditingShowsTheButtonsAndAllowsRenaming) {
    seed({{"Fast", 200}});
    showForm();
    auto& store = control<QPushButton>(QStringLiteral("Store New"));
    EXPECT_FALSE(store.isVisible());
    form->setPresetEditing(true);
    EXPECT_TRUE(store.isVisible());
    EXPECT_TRUE(control<QPushButton>(QStringLiteral("Delete")).isVisible());

    // A new preset comes first, its label open for editing; renamed, it sorts last.
    store.click();
    EXPECT_EQ(listedNames(), (QStringList{"*** new preset ***", "Fast"}));
    QLineEdit* editor = labelEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Zigzag"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over through the event loop.
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return listedNames().startsWith(QStringLiteral("Fast")); }));
    EXPECT_EQ(listedNames(), (QStringList{"Fast", "Zigzag"}));
    EXPECT_EQ(list().currentRow(), 1);

    // The file was rewritten with the new name.
    Presets reread(folder.path("Other.rova"), prompt);
    reread.load(presetsPath());
    EXPECT_EQ(reread.find("Zigzag"), 1);
}

TEST_F(ParameterFormPresetsTest, DeleteTakesTheSelectedRowOnly) {
    seed({{"Fast", 200}, {"Slow", 45}});
    showForm();
    form->setPresetEditing(true);
    auto& remove = control<QPushButton>(QStringLiteral("Delete"));

    remove.click();  // nothing selected
    EXPECT_EQ(listedNames(), (QStringList{"Fast", "Slow"}));

    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(0));
    remove.click();
    EXPECT_EQ(listedNames(), QStringList{"Slow"});
    EXPECT_EQ(form->presets().currentIndex(), -1);

    // With no current preset, "Store" stores a new one.
    control<QPushButton>(QStringLiteral("Store")).click();
    EXPECT_EQ(listedNames(), (QStringList{"*** new preset ***", "Slow"}));
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
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a bitmap");
    file.close();
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
    EXPECT_DOUBLE_EQ(form->controller().record().nextCommandAfter, 4.0);
    double topDeathAfter = 0.0;
    engine.forEachPlayer([&topDeathAfter](const Player& player) {
        if (topDeathAfter == 0.0) {
            topDeathAfter = player.parameters().deathAfter;
        }
    });
    EXPECT_DOUBLE_EQ(topDeathAfter, 9.0);
}

}  // namespace
}  // namespace rova
