#include "exchange/ExchangeCommands.h"
#include "app/CSettings.h"
#include "app/StringTable.h"
#include "exchange/IFileDialogs.h"
#include "exchange/Workbook.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CPresetFileDialogs final : public IFileDialogs
{
public:
    QString openAnswer;
    QString saveAnswer;
    int openCalls = 0;
    int saveCalls = 0;
    QString filter;

    QString GetOpenFileName(const QString& f) override
    {
        ++openCalls;
        filter = f;
        return openAnswer;
    }
    QString GetSaveFileName(const QString& f) override
    {
        ++saveCalls;
        filter = f;
        return saveAnswer;
    }
};

const quint32 kNewRowColor = PackRgb(240, 100, 100);

class ExchangeCommands : public ::testing::Test
{
protected:
    // A table in the stored layout with two typed rows before the entry row.
    void Start(int pluMode, int limitMode)
    {
        m_settings.Settings().WriteInt(ESetting::PluMode, pluMode);
        m_settings.Settings().WriteInt(ESetting::LimMode, limitMode);
        m_table = std::make_unique<CPluTable>(m_grid, m_settings.Settings(), m_prompt);
        m_table->EnterStoredMode();
        for (int row = 0; row < 2; ++row) {
            m_grid.SetCellText(row, 1, QStringLiteral("old%1").arg(row));
            m_table->AppendNewRow();
        }
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_grid.RowCount(); ++row)
            texts.append(m_grid.CellText(row, column));
        return texts;
    }

    QTemporaryDir m_dir;
    CTempSettings m_settings;
    CScriptedPrompt m_prompt;
    CGridModel m_grid;
    CPresetFileDialogs m_dialogs;
    std::unique_ptr<CPluTable> m_table;
};

TEST_F(ExchangeCommands, ImportReplacesTheRowsAndSwitchesLimitsOn)
{
    Start(1, 0);
    m_dialogs.openAnswer = WriteFile(QStringLiteral("seven.csv"), "a,b,c,d,e,f,g\n1,2,3,4,5,6,7\n8,9\n");
    ASSERT_TRUE(RunImportCommand(*m_table, m_dialogs, m_prompt));

    EXPECT_EQ(m_table->LimitMode(), ELimitMode::On);
    EXPECT_EQ(m_settings.Settings().ReadInt(ESetting::LimMode), 1);
    EXPECT_EQ(m_grid.ColumnCount(), 8);
    ASSERT_EQ(m_grid.RowCount(), 3);
    EXPECT_EQ(Column(0), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(m_grid.CellText(0, 7), QStringLiteral("7"));
    EXPECT_EQ(m_grid.CellText(1, 2), QStringLiteral("9"));
    EXPECT_EQ(m_grid.FindCellType(1, 3), CET_EDIT); // cells a short line misses are edited as in a typed row
    ASSERT_TRUE(m_grid.RowColor(0).has_value());
    EXPECT_EQ(m_grid.RowColor(0)->crBk, PackRgb(255, 255, 255)); // imported rows are no entry rows
    EXPECT_FALSE(m_table->IsEntryRow(0));
    ASSERT_TRUE(m_grid.RowColor(2).has_value());
    EXPECT_TRUE(m_table->IsEntryRow(2));
    EXPECT_EQ(m_grid.RowColor(2)->crBk, kNewRowColor); // the entry row
    EXPECT_EQ(m_prompt.messages.size(), 0u);
    EXPECT_TRUE(m_dialogs.filter.contains(QStringLiteral("*.CSV")));
}

TEST_F(ExchangeCommands, ImportInPricingSwitchesStoredLimitsOff)
{
    Start(0, 1);
    m_dialogs.openAnswer = WriteFile(QStringLiteral("p.csv"), "a,b,c,d,e,f,g,h\n1,2,3,4,5,6,7,yes\n");
    ASSERT_TRUE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_table->LimitMode(), ELimitMode::Off);
    EXPECT_EQ(m_settings.Settings().ReadInt(ESetting::LimMode), 0);
    ASSERT_EQ(m_grid.RowCount(), 2);
    EXPECT_EQ(m_grid.CellText(0, 8), QString::fromUtf8("√"));
    EXPECT_EQ(m_grid.CellText(1, 8), QString::fromUtf8("×"));
}

TEST_F(ExchangeCommands, AnUnreadableFileLeavesTheTableAndSaysWhy)
{
    Start(1, 1);
    const QStringList before = Column(1);
    m_dialogs.openAnswer = WriteFile(QStringLiteral("table.txt"), "a,b,c,d,e\n1,2,3,4,5\n");
    EXPECT_FALSE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(Column(1), before);
    EXPECT_EQ(m_table->LimitMode(), ELimitMode::On);
    ASSERT_EQ(m_prompt.MessageCount(), 1);
    EXPECT_TRUE(m_prompt.messages[0].text.contains(m_dialogs.openAnswer));
    EXPECT_EQ(m_prompt.messages[0].caption, ApplicationCaption());
}

TEST_F(ExchangeCommands, CancelOrAMissingFileChangesNothingAndSaysNothing)
{
    Start(1, 0);
    const QStringList before = Column(1);
    for (const QString& answer : {QString(), m_dir.filePath(QStringLiteral("gone.csv"))}) {
        m_dialogs.openAnswer = answer;
        EXPECT_FALSE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    }
    EXPECT_EQ(Column(1), before);
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(ExchangeCommands, ImportAsksFirstWhenRowsAreNotExported)
{
    Start(1, 0);
    m_table->SetUnexportedChanges(1);
    m_dialogs.openAnswer = WriteFile(QStringLiteral("t.csv"), "a,b\n1,2\n");
    m_prompt.AnswerNext(false);
    EXPECT_FALSE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_prompt.QuestionCount(), 1);
    EXPECT_EQ(m_prompt.messages[0].text, LoadString(StringId::NotExportedImport));
    EXPECT_EQ(m_dialogs.openCalls, 0);
    EXPECT_EQ(m_grid.CellText(0, 1), QStringLiteral("old0"));

    // OK, then the file dialog is cancelled: the rows stay, and so does the flag that guards them.
    const QString file = m_dialogs.openAnswer;
    m_dialogs.openAnswer.clear();
    m_prompt.AnswerNext(true);
    EXPECT_FALSE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_grid.CellText(0, 1), QStringLiteral("old0"));
    EXPECT_EQ(m_table->UnexportedChanges(), 1);

    m_dialogs.openAnswer = file;
    m_prompt.AnswerNext(true);
    EXPECT_TRUE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_grid.CellText(0, 1), QStringLiteral("1"));
    EXPECT_EQ(m_table->UnexportedChanges(), 0); // the table is the file's now
}

TEST_F(ExchangeCommands, ExportClearsTheFlagOnlyWhenTheFileWasWritten)
{
    Start(0, 0);
    m_table->SetUnexportedChanges(1);

    m_dialogs.saveAnswer.clear();
    EXPECT_FALSE(RunExportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_table->UnexportedChanges(), 1);

    m_grid.SetCellText(1, 4, QString(40000, QLatin1Char('x')));
    m_dialogs.saveAnswer = m_dir.filePath(QStringLiteral("table"));
    EXPECT_FALSE(RunExportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_table->UnexportedChanges(), 1);
    ASSERT_EQ(m_prompt.MessageCount(), 1);
    EXPECT_TRUE(m_prompt.messages[0].text.contains(m_dir.filePath(QStringLiteral("table.xls"))));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("table.xls"))));

    m_grid.SetCellText(1, 4, QStringLiteral("short"));
    EXPECT_TRUE(RunExportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(m_table->UnexportedChanges(), 0);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("table.xls"))));
    EXPECT_TRUE(m_dialogs.filter.contains(QStringLiteral("*.xlsx")));

    // And the file reads back into the table: the rows, then a new entry row.
    m_dialogs.openAnswer = m_dir.filePath(QStringLiteral("table.xls"));
    ASSERT_TRUE(RunImportCommand(*m_table, m_dialogs, m_prompt));
    EXPECT_EQ(Column(1), QStringList({QStringLiteral("old0"), QStringLiteral("old1"), QString()}));
    EXPECT_EQ(m_grid.CellText(1, 4), QStringLiteral("short"));
}

} // namespace
