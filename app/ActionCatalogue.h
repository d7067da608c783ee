#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

namespace rova {

// The actions of the main window's menus and toolbar (its menu commands, named apart from the
// commands of a sequence), by their identifiers.
enum class ActionId : int {
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 57603,
    FileSaveAs = 57604,
    FileRevert = 32781,
    FilePrevious = 32853,
    FileNext = 32852,
    FileSinglePlay = 32875,
    FileRemove = 32857,
    FileRemoveAll = 32862,
    FileDelete = 32858,
    FileAdditiveOpen = 32842,
    FileRandomOrder = 32843,
    FilePickup = 32861,
    FilePickupFolder = 32859,
    FileExit = 57665,

    EditUndo = 57643,
    EditCut = 57635,
    EditCopy = 57634,
    EditPaste = 57637,
    EditSelectAll = 57642,
    DecreasePointsize = 32799,
    IncreasePointsize = 32798,
    Size7Points = 32800,  // up to Size16Points = 32809
    ColourBlack = 32817,
    ColourRed = 32818,
    ColourGreen = 32819,
    ColourBlue = 32820,
    ColourCyan = 32821,
    ColourMagenta = 32822,
    ColourYellow = 32823,
    ColourWhite = 32824,

    TextBold = 32789,
    TextItalic = 32790,
    TextUnderline = 32791,
    TextFont = 32793,
    TextRainbow = 32870,

    RunStop = 32783,
    TopCommand = 32850,
    RewindCommand = 32846,
    PreviousCommand = 32844,
    NextCommand = 32782,
    RunFromTop = 32827,
    RunFromRewind = 32847,
    RunFromPrevious = 32851,
    RunFromNext = 32849,
    DefaultParameters = 32797,
    ResetTopPlayer = 32778,
    KillTopPlayer = 32779,
    KillAllPlayers = 32780,
    AutoRun = 32841,
    AutoUpdate = 32772,
    EnablePresetEditing = 32775,
    SaveRotorData = 32840,

    ViewMetrics = 32773,
    ViewParameters = 32777,
    ViewSequence = 32774,
    ViewHideAll = 32854,
    ViewRotor = 32839,
    ViewPreview = 32838,
    ViewBackground = 32855,
    ChooseBackground = 32856,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,

    RunDemo = 32825,
    About = 57664,

    NextPane = 57680,
    PreviousPane = 57681,
};

inline constexpr int kPointSizeCommands = 10;  // "&7-Point" to "1&6-Point"
inline constexpr int kRecentFileCommands = 9;  // the recent-file list's entries

// What the menus and the toolbar show of one action.
struct ActionInfo {
    ActionId id;
    // With "&" mnemonics. The menus draw the accelerator label from `shortcuts`, so it is spelled
    // as the desktop spells it.
    QString menuText;
    QList<QKeySequence> shortcuts;
    QString statusPrompt;  // shown in the status bar while the item is highlighted
    QString toolTip;       // empty: no tooltip
    QString iconName;      // the toolbar icon's resource name; empty: not on the toolbar
    bool checkable = false;
};

// A menu of the main window: its title and its items; ActionId{0} stands for a separator.
struct MenuInfo {
    QString title;
    QList<ActionId> items;
};

// Every text of the main window's actions, in one place.
class ActionCatalogue {
    Q_DECLARE_TR_FUNCTIONS(ActionCatalogue)

  public:
    static const QList<ActionInfo>& actions();
    // The action's entry; the catalogue has one for every identifier above.
    static const ActionInfo& info(ActionId id);
    static const QList<MenuInfo>& menus();
    // The toolbar's buttons, left to right; ActionId{0} stands for a separator.
    static const QList<ActionId>& toolbar();
};

}  // namespace rova
