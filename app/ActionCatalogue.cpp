#include "ActionCatalogue.h"

#include <algorithm>

namespace rova {

namespace {

constexpr ActionId kSeparator{0};

QKeySequence keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

// One entry. `prompt` is the status bar prompt and, after a line break, the tooltip.
ActionInfo entry(ActionId id, const QString& menuText, QList<QKeySequence> shortcuts,
                 const QString& prompt, const QString& icon = {}, bool checkable = false) {
    const qsizetype lineBreak = prompt.indexOf(u'\n');
    return ActionInfo{id,
                      menuText,
                      std::move(shortcuts),
                      lineBreak < 0 ? prompt : prompt.left(lineBreak),
                      lineBreak < 0 ? QString() : prompt.mid(lineBreak + 1),
                      icon,
                      checkable};
}

QList<ActionInfo> makeCommands() {
    using C = ActionId;
    using tr = ActionCatalogue;
    const auto ctrl = [](Qt::Key key) { return keys(Qt::CTRL | key); };
    const auto shiftCtrl = [](Qt::Key key) { return keys(Qt::SHIFT | Qt::CTRL | key); };

    QList<ActionInfo> list{
        // File
        entry(C::FileNew, tr::tr("&New"), {ctrl(Qt::Key_N)},
              tr::tr("Create a new document\nNew  Ctrl+N"), "new"),
        entry(C::FileOpen, tr::tr("&Open..."), {ctrl(Qt::Key_O)},
              tr::tr("Open an existing document\nOpen  Ctrl+O"), "open"),
        entry(C::FileSave, tr::tr("&Save"), {ctrl(Qt::Key_S)},
              tr::tr("Save the active document\nSave  Ctrl+S"), "save"),
        entry(C::FileSaveAs, tr::tr("Save &As..."), {shiftCtrl(Qt::Key_S)},
              tr::tr("Save the active document with a new name\nSave As")),
        entry(C::FileRevert, tr::tr("&Revert"), {shiftCtrl(Qt::Key_O)},
              tr::tr("Reload the active document from its file\nRevert  Shift+Ctrl+O")),
        entry(C::FilePrevious, tr::tr("&Previous"), {shiftCtrl(Qt::Key_P)},
              tr::tr("Open the previous file in the document list")),
        entry(C::FileNext, tr::tr("Ne&xt"), {shiftCtrl(Qt::Key_N)},
              tr::tr("Open the next file in the document list")),
        entry(C::FileSinglePlay, tr::tr("Single Pla&y"), {shiftCtrl(Qt::Key_Y)},
              tr::tr("If checked, the current document will only play once\nSingle Play"), {},
              true),
        entry(C::FileRemove, tr::tr("Re&move"), {shiftCtrl(Qt::Key_X)},
              tr::tr("Remove the currently opened document from the document list")),
        entry(C::FileRemoveAll, tr::tr("Remove Al&l"), {}, tr::tr("Clear the document list")),
        entry(C::FileDelete, tr::tr("&Delete"), {},
              tr::tr("Close the currently opened document and delete its file")),
        entry(C::FileAdditiveOpen, tr::tr("Additi&ve Open"), {},
              tr::tr("If checked, opened files will be added to the end of the current document "
                     "list"),
              {}, true),
        entry(C::FileRandomOrder, tr::tr("Random Ord&er"), {},
              tr::tr("If checked, the document list's order is random"), {}, true),
        entry(C::FilePickup, tr::tr("Pic&kup"), {},
              tr::tr("If checked, any file found in the Pickup Folder is automatically added to "
                     "the document list"),
              {}, true),
        entry(C::FilePickupFolder, tr::tr("Pickup &Folder..."), {},
              tr::tr("Set the file-system path of the pickup folder")),
        entry(C::FileExit, tr::tr("E&xit"), {keys(Qt::ALT | Qt::Key_F4)},
              tr::tr("Close the window and quit Rova\nExit")),

        // Edit
        entry(C::EditUndo, tr::tr("&Undo"), {ctrl(Qt::Key_Z), keys(Qt::ALT | Qt::Key_Backspace)},
              tr::tr("Take back the last change\nUndo")),
        entry(C::EditCut, tr::tr("Cu&t"), {ctrl(Qt::Key_X), keys(Qt::SHIFT | Qt::Key_Delete)},
              tr::tr("Move the selection to the clipboard\nCut"), "cut"),
        entry(C::EditCopy, tr::tr("&Copy"), {ctrl(Qt::Key_C), keys(Qt::CTRL | Qt::Key_Insert)},
              tr::tr("Put a copy of the selection on the clipboard\nCopy"), "copy"),
        entry(C::EditPaste, tr::tr("&Paste"), {ctrl(Qt::Key_V), keys(Qt::SHIFT | Qt::Key_Insert)},
              tr::tr("Insert what the clipboard holds\nPaste"), "paste"),
        entry(C::EditSelectAll, tr::tr("Select &All"), {ctrl(Qt::Key_A)},
              tr::tr("Select the whole text\nSelect All"), "select-all"),
        entry(C::DecreasePointsize, tr::tr("&Decrease Pointsize"), {ctrl(Qt::Key_BracketLeft)},
              tr::tr("Decrease the size of the selected text by 1 point\nDecrease Pointsize  "
                     "Ctrl+["),
              "decrease-pointsize"),
        entry(C::IncreasePointsize, tr::tr("Increa&se Pointsize"), {ctrl(Qt::Key_BracketRight)},
              tr::tr("Increase the size of the selected text by 1 point\nIncrease Pointsize  "
                     "Ctrl+]"),
              "increase-pointsize"),
        entry(C::ColourBlack, {}, {}, tr::tr("Set the current drawing color to black\nBlack"),
              "black", true),
        entry(C::ColourRed, tr::tr("&Red"), {},
              tr::tr("Set the selected text's color to bright red\nRed"), "red", true),
        entry(C::ColourGreen, tr::tr("&Green"), {}, {}, "green", true),
        entry(C::ColourBlue, tr::tr("B&lue"), {},
              tr::tr("Set the selected text's color to bright blue\nBlue"), "blue", true),
        entry(C::ColourCyan, tr::tr("&Cyan"), {},
              tr::tr("Set the selected text's color to bright cyan\nCyan"), "cyan", true),
        entry(C::ColourMagenta, tr::tr("&Magenta"), {},
              tr::tr("Set the selected text's color to bright magenta\nMagenta"), "magenta", true),
        entry(C::ColourYellow, tr::tr("&Yellow"), {},
              tr::tr("Set the selected text's color to bright yellow\nYellow"), "yellow", true),
        entry(C::ColourWhite, tr::tr("&White"), {},
              tr::tr("Set the selected text's color to bright white\nWhite"), "white", true),

        // Text
        entry(C::TextBold, tr::tr("&Bold"), {ctrl(Qt::Key_B)},
              tr::tr("Make the current selection bold\nBold  Ctrl+B"), "bold", true),
        entry(C::TextItalic, tr::tr("&Italic"), {ctrl(Qt::Key_I)},
              tr::tr("Make the current selection italic\nItalic  Ctrl+I"), "italic", true),
        entry(C::TextUnderline, tr::tr("&Underline"), {ctrl(Qt::Key_U)},
              tr::tr("Make the current selection underlined\nUnderline  Ctrl+U"), "underline",
              true),
        entry(C::TextFont, tr::tr("&Font..."), {ctrl(Qt::Key_F)},
              tr::tr("Choose the font and pointsize of the current selection\nFont...  Ctrl+F"),
              "font"),
        entry(C::TextRainbow, tr::tr("&Rainbow..."), {ctrl(Qt::Key_G)},
              tr::tr("Set text colors in the current selection in a cyclical fashion\n"
                     "Rainbow...  Ctrl+G"),
              "rainbow"),

        // Operation
        entry(C::RunStop, tr::tr("&Run/Stop"), {ctrl(Qt::Key_Space)},
              tr::tr("Run the current sequence starting at the current command, stops it if "
                     "already running\nRun/Stop Sequence  Ctrl+Space"),
              "run-stop", true),
        entry(C::TopCommand, tr::tr("&Top Command"), {ctrl(Qt::Key_T)},
              tr::tr("Go to the first command in the current sequence\nTop Command  Ctrl+T")),
        entry(C::RewindCommand, tr::tr("Re&wind Command"), {ctrl(Qt::Key_R)},
              tr::tr("Go to the command at which running was last started\nRewind Command  "
                     "Ctrl+R")),
        entry(C::PreviousCommand, tr::tr("&Previous Command"), {ctrl(Qt::Key_H)},
              tr::tr("Go to the previous command in the current sequence\nPrevious Command  "
                     "Ctrl+H"),
              "previous-command"),
        entry(C::NextCommand, tr::tr("&Next Command"), {ctrl(Qt::Key_L)}, {}, "next-command"),
        entry(C::RunFromTop, tr::tr("Run from Top"), {shiftCtrl(Qt::Key_T)},
              tr::tr("Go to the first command and run\nRun from Top  Shift+Ctrl+T"),
              "run-from-top"),
        entry(C::RunFromRewind, tr::tr("Run from Rewind"), {shiftCtrl(Qt::Key_R)},
              tr::tr("Go to the command at which running was last started and run\nRun from "
                     "Rewind  Shift+Ctrl+R")),
        entry(C::RunFromPrevious, tr::tr("Run from Previous"), {shiftCtrl(Qt::Key_H)},
              tr::tr("Go to the previous command and run\nRun from Previous  Shift+Ctrl+H")),
        entry(C::RunFromNext, tr::tr("Run from Next"), {shiftCtrl(Qt::Key_L)},
              tr::tr("Go to the next command and run\nRun from Next Shift+Ctrl+L")),
        entry(C::DefaultParameters, tr::tr("&Default Parameters"), {ctrl(Qt::Key_D)},
              tr::tr("Set all the parameters to default values\nDefault Parameters  Ctrl+D"),
              "default-parameters"),
        entry(C::ResetTopPlayer, tr::tr("R&eset Top Player"), {ctrl(Qt::Key_E)},
              tr::tr("Reset all of the parameters of the top player\nReset Top Player  Ctrl+E"),
              "reset-top-player"),
        entry(C::KillTopPlayer, tr::tr("&Kill Top Player"), {ctrl(Qt::Key_K)},
              tr::tr("Kill the top player\nKill Top Player  Ctrl+K"), "kill-top-player"),
        entry(C::KillAllPlayers, tr::tr("Kill &All Players"), {shiftCtrl(Qt::Key_K)},
              tr::tr("Kill all players\nKill All Players  Shift+Ctrl+K"), "kill-all-players"),
        entry(C::AutoRun, tr::tr("Auto Ru&n"), {},
              tr::tr("Causes sequences to run automatically when they are opened\nAuto Run"), {},
              true),
        entry(C::AutoUpdate, tr::tr("Auto &Update"), {},
              tr::tr("Causes parameter changes to be immediately expressed in the top player"), {},
              true),
        entry(C::EnablePresetEditing, tr::tr("Enable &Preset Editing"), {},
              tr::tr("Enables the creation, modification, and deletion of presets"), {}, true),
        entry(C::SaveRotorData, tr::tr("Sa&ve Rotor Data..."), {}, {}),

        // View
        entry(C::ViewMetrics, tr::tr("&Metrics"), {ctrl(Qt::Key_M)},
              tr::tr("Shows the simulation metrics splitter window\nView Metrics  Ctrl+M"),
              "metrics", true),
        entry(C::ViewParameters, tr::tr("&Parameters"), {ctrl(Qt::Key_P)},
              tr::tr("Shows the player parameters splitter window\nView Parameters  Ctrl+P"),
              "parameters", true),
        entry(C::ViewSequence, tr::tr("Se&quence"), {ctrl(Qt::Key_Q)},
              tr::tr("Shows the sequence splitter window\nView Sequence  Ctrl+Q"), "sequence",
              true),
        entry(C::ViewHideAll, tr::tr("Hide &All"), {ctrl(Qt::Key_W)},
              tr::tr("Hide all the splitter windows\nHide All Splitters  Ctrl+W"), "hide-all"),
        entry(C::ViewRotor, tr::tr("Rot&or"), {},
              tr::tr("Start/stop sending data to the rotor\nView Rotor"), {}, true),
        entry(C::ViewPreview, tr::tr("Pre&view"), {},
              tr::tr("Show/hide the rotor simulation\nView Preview"), {}, true),
        entry(C::ViewBackground, tr::tr("&Background"), {},
              tr::tr("Show/hide the background picture\nView Background"), {}, true),
        entry(C::ChooseBackground, tr::tr("&Choose Background..."), {},
              tr::tr("Choose the .bmp file to use as the background image")),
        entry(C::ViewToolbar, tr::tr("&Toolbar"), {},
              tr::tr("Show or hide the toolbar\nToggle Toolbar"), {}, true),
        entry(C::ViewStatusBar, tr::tr("&Status Bar"), {},
              tr::tr("Show or hide the status bar\nToggle Status Bar"), {}, true),

        // Help
        entry(C::RunDemo, tr::tr("Run &Demo"), {}, tr::tr("Open and run Demo.rova\nRun Demo"),
              "run-demo"),
        entry(C::About, tr::tr("&About Rova..."), {},
              tr::tr("Show the program's name, version and notice\nAbout"), "about"),

        // Keys without a menu item
        entry(C::NextPane, {}, {keys(Qt::Key_F6)}, {}),
        entry(C::PreviousPane, {}, {keys(Qt::SHIFT | Qt::Key_F6)}, {}),
    };
    for (int points = 7; points < 7 + kPointSizeCommands; ++points) {
        const QString digits = QString::number(points);
        // The mnemonic is on the last digit: "&7-Point", "1&6-Point".
        const QString text =
            digits.left(digits.size() - 1) + u'&' + digits.right(1) + QStringLiteral("-Point");
        list.append(entry(ActionId{static_cast<int>(C::Size7Points) + points - 7}, text, {},
                          tr::tr("Set the selected text's size to %1 points").arg(points), {},
                          true));
    }
    return list;
}

QList<ActionId> pointSizeItems() {
    QList<ActionId> items;
    for (int i = 0; i < kPointSizeCommands; ++i) {
        items.append(ActionId{static_cast<int>(ActionId::Size7Points) + i});
    }
    return items;
}

}  // namespace

const QList<ActionInfo>& ActionCatalogue::actions() {
    static const QList<ActionInfo> list = makeCommands();
    return list;
}

const ActionInfo& ActionCatalogue::info(ActionId id) {
    const QList<ActionInfo>& list = actions();
    const auto found = std::find_if(list.begin(), list.end(),
                                    [id](const ActionInfo& info) { return info.id == id; });
    Q_ASSERT(found != list.end());
    return *found;
}

const QList<MenuInfo>& ActionCatalogue::menus() {
    using C = ActionId;
    static const QList<MenuInfo> list{
        {tr("&File"),
         {C::FileNew, C::FileOpen, C::FileSave, C::FileSaveAs, C::FileRevert, kSeparator,
          C::FilePrevious, C::FileNext, C::FileSinglePlay, C::FileRemove, C::FileRemoveAll,
          C::FileDelete, kSeparator, C::FileAdditiveOpen, C::FileRandomOrder, C::FilePickup,
          C::FilePickupFolder, kSeparator, C::FileExit}},
        {tr("&Edit"),
         QList<ActionId>{C::EditUndo, kSeparator, C::EditCut, C::EditCopy, C::EditPaste,
                         C::EditSelectAll, kSeparator, C::DecreasePointsize, C::IncreasePointsize,
                         kSeparator} +
             pointSizeItems() +
             QList<ActionId>{kSeparator, C::ColourRed, C::ColourGreen, C::ColourBlue, C::ColourCyan,
                             C::ColourMagenta, C::ColourYellow, C::ColourWhite}},
        {tr("&Text"),
         {C::TextBold, C::TextItalic, C::TextUnderline, kSeparator, C::TextFont, C::TextRainbow}},
        {tr("&Operation"),
         {C::RunStop,           kSeparator,         C::TopCommand,    C::RewindCommand,
          C::PreviousCommand,   C::NextCommand,     kSeparator,       C::RunFromTop,
          C::RunFromRewind,     C::RunFromPrevious, C::RunFromNext,   kSeparator,
          C::DefaultParameters, C::ResetTopPlayer,  C::KillTopPlayer, C::KillAllPlayers,
          kSeparator,           C::AutoRun,         C::AutoUpdate,    C::EnablePresetEditing,
          kSeparator,           C::SaveRotorData}},
        {tr("&View"),
         {C::ViewMetrics, C::ViewParameters, C::ViewSequence, C::ViewHideAll, kSeparator,
          C::ViewRotor, C::ViewPreview, C::ViewBackground, C::ChooseBackground, kSeparator,
          C::ViewToolbar, C::ViewStatusBar}},
        {tr("&Help"), {C::RunDemo, C::About}},
    };
    return list;
}

const QList<ActionId>& ActionCatalogue::toolbar() {
    using C = ActionId;
    static const QList<ActionId> list{
        C::FileNew,           C::FileOpen,        C::FileSave,       kSeparator,
        C::EditCut,           C::EditCopy,        C::EditPaste,      C::EditSelectAll,
        kSeparator,           C::TextBold,        C::TextItalic,     C::TextUnderline,
        C::TextFont,          C::TextRainbow,     kSeparator,        C::DecreasePointsize,
        C::IncreasePointsize, kSeparator,         C::ColourBlack,    C::ColourRed,
        C::ColourGreen,       C::ColourBlue,      C::ColourCyan,     C::ColourMagenta,
        C::ColourYellow,      C::ColourWhite,     kSeparator,        C::DefaultParameters,
        C::ResetTopPlayer,    C::KillTopPlayer,   C::KillAllPlayers, C::RunFromTop,
        C::RunStop,           C::PreviousCommand, C::NextCommand,    kSeparator,
        C::ViewMetrics,       C::ViewParameters,  C::ViewSequence,   C::ViewHideAll,
        kSeparator,           C::About,           C::RunDemo,
    };
    return list;
}

}  // namespace rova
