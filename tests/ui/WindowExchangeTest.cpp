#include "app/IRelauncher.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "support/PresetFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CNoRelaunch final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return false; }
};

struct SExchangeWindow
{
    QTemporaryDir dir;
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelaunch relauncher;
    CPresetFileDialogs dialogs;
    std::optional<CTalvexDlg> window;

    SExchangeWindow()
    {
        Language::SetLanguageInForce(1033);
        window.emplace(settings.Settings(), prompt, relauncher, QStringList());
        window->SetFileDialogs(&dialogs);
    }

    QString WriteFile(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

TEST(WindowExchange, ImportThenExportThroughTheToolbarCommands)
{
    SExchangeWindow f;
    CTalvexDlg& window = *f.window;
    f.dialogs.openPath = f.WriteFile("table.csv", "PLU No.,Unit weight,Goods Id,Goods Name,Specification,Hi,Lo\n"
                                                  "5,0.25,A5,Bolts,steel,1.2,\n7,1.5,B7,Nuts,brass,,\n");
    ASSERT_TRUE(window.OnCommand(CommandId::Import));
    CGridModel& grid = window.Grid();
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(window.Table().LimitMode(), ELimitMode::On); // seven columns switch the limits on
    EXPECT_EQ(grid.CellText(1, 4), QStringLiteral("Nuts"));

    grid.CommitEdit(2, 1, QStringLiteral("9"));
    grid.CommitEdit(2, 2, QStringLiteral("2"));
    EXPECT_EQ(window.UnexportedChanges(), 1);
    f.dialogs.savePath = f.dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(window.OnCommand(CommandId::Export));
    EXPECT_TRUE(QFileInfo::exists(f.dir.filePath(QStringLiteral("out.xls"))));
    EXPECT_EQ(window.UnexportedChanges(), 0);
    EXPECT_EQ(f.prompt.messages.size(), 0u);
}

TEST(WindowExchange, AFileThatCannotBeReadLeavesTheTable)
{
    SExchangeWindow f;
    CTalvexDlg& window = *f.window;
    window.Grid().CommitEdit(0, 1, QStringLiteral("3"));
    window.Grid().CommitEdit(0, 2, QStringLiteral("4"));
    const int rows = window.Grid().RowCount();
    EXPECT_FALSE(window.ImportFile(f.WriteFile("broken.xlsx", "PK\x03\x04 not really a workbook")));
    EXPECT_EQ(window.Grid().RowCount(), rows);
    EXPECT_EQ(window.Grid().CellText(0, 1), QStringLiteral("3"));
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_TRUE(f.prompt.messages.front().text.contains(QStringLiteral("broken.xlsx")))
        << f.prompt.messages.front().text.toStdString();
}

} // namespace
