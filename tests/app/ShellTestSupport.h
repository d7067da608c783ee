#pragma once

#include <QAction>
#include <QFileInfo>
#include <memory>

#include "Application.h"
#include "CommandFile.h"
#include "DefaultPresets.h"
#include "DocumentTestSupport.h"
#include "MainFrame.h"
#include "MemorySettingsStore.h"
#include "QtApplicationTest.h"
#include "ScriptedDialog.h"
#include "ShippedData.h"
#include "TestCommands.h"

namespace rova::test {

// The application on its own settings, prompt and folder: the demo and the shipped presets are
// written there, and the user's presets and picked-up files go there too.
class ShellTest : public QtApplicationTest {
  protected:
    ShellTest() {
        writeCommands(makeDemoSequence(), folder.path(QStringLiteral("Demo.rova")), prompt);
        writeCommands(makeDefaultPresets(), folder.path(QStringLiteral("Shipped.rova")), prompt);
    }
    ~ShellTest() override {
        if (application && application->mainFrame()) {
            application->document().setModifiedFlag(false);
            application->mainFrame()->close();
        }
    }

    ApplicationPaths paths() const {
        return {folder.path("Demo.rova"), folder.path("Shipped.rova"), folder.path("Presets.rova"),
                folder.path("PickedUp") + u'/'};
    }
    bool start(const QStringList& files = {}) {
        application = std::make_unique<Application>(settings, prompt, paths(), dialog.show());
        return application->start(files);
    }
    MainFrame& frame() { return *application->mainFrame(); }
    QAction& action(ActionId id) {
        frame().actions().update();
        return *frame().actions().action(id);
    }
    bool enabled(ActionId id) { return action(id).isEnabled(); }
    bool checked(ActionId id) { return action(id).isChecked(); }
    void trigger(ActionId id) { frame().actions().trigger(id); }
    // The file names of the playlist's entries, in its order.
    QStringList listed() const {
        QStringList names;
        for (const DocumentListEntry& entry : application->documentList().entries()) {
            names.append(QFileInfo(entry.path).fileName());
        }
        return names;
    }
    // Writes a sequence of `count` text commands, five seconds each, and returns its path.
    QString writeSequence(const QString& name, int count) {
        NodeList<Command> commands;
        for (int i = 0; i < count; ++i) {
            commands.append(textCommand(Keyword::Solo, "text " + std::to_string(i)));
        }
        const QString path = folder.path(name);
        EXPECT_EQ(writeCommands(commands, path, prompt), FileResult::Ok);
        return path;
    }

    TempFolder folder;
    MemorySettingsStore settings;
    AnsweringPrompt prompt;
    ScriptedDialog dialog;
    std::unique_ptr<Application> application;
};

}  // namespace rova::test
