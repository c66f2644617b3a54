// Each row's transfer state in the window, the question where to go on after a failure, the Transfer dialog and
// the transfer log, against the simulated scale.

#include "app/IFileOpener.h"
#include "app/IRelauncher.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "download/TransferState.h"
#include "grid/CGridModel.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CSimulatedScale.h"
#include "ui/CMessageBoxPrompt.h"
#include "ui/CTalvexDlg.h"
#include "ui/CTransferDlg.h"
#include "ui/CommandIds.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr int kSrNo = 0;
constexpr int kPluNo = 1;
constexpr int kUnitPrice = 2;
constexpr int kGoodsId = 3;

class CNoRelaunch final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return false; }
};

// Records what it was asked to open instead of opening it.
class CRecordingOpener final : public IFileOpener
{
public:
    bool Open(const QString& path) override
    {
        opened.append(path);
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};

// The window on a simulated pricing scale, with four rows typed and answers that come quickly.
struct STransferWindow
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelaunch relauncher;
    CRecordingOpener opener;
    CSimulatedScale scale;
    std::optional<CTalvexDlg> window;

    explicit STransferWindow(SScaleOptions options = {})
        : scale(WithPricing(options))
    {
        Language::SetLanguageInForce(1033);
        settings.Settings().WriteInt(ESetting::PluMode, 0);
        settings.Settings().WriteInt(ESetting::AckTimeout, 300);
        QString error;
        EXPECT_TRUE(scale.Start(&error)) << error.toStdString();
        SWindowOptions windowOptions;
        windowOptions.providedPort =
            SProvidedPort{{QStringLiteral("Simulated scale"), scale.DevicePath()},
                          [this](EPluMode mode, ELimitMode limits) { scale.SetMode(mode, limits); }};
        windowOptions.discoverPorts = [](const QStringList&) { return PortDiscovery::PortList(); };
        window.emplace(settings.Settings(), prompt, relauncher, QStringList(), windowOptions);
        window->SetFileOpener(&opener);
        window->resize(900, 400);
        window->show();
        // The last row carries a Goods Id too long for its field: a value mark beside its transfer state.
        const std::pair<const char*, const char*> rows[] = {{"1", ""}, {"2", ""}, {"3", ""}, {"4", "4006381333931"}};
        for (const auto& [plu, goodsId] : rows) {
            CGridModel& grid = window->Grid();
            const int row = grid.RowCount() - 1;
            if (*goodsId)
                grid.CommitEdit(row, kGoodsId, QString::fromUtf8(goodsId));
            grid.CommitEdit(row, kPluNo, QString::fromUtf8(plu));
            grid.CommitEdit(row, kUnitPrice, QStringLiteral("2.5"));
        }
    }

    static SScaleOptions WithPricing(SScaleOptions options)
    {
        options.pluMode = EPluMode::Pricing;
        return options;
    }

    CGridModel& Grid() { return window->Grid(); }

    // Downloads and waits for the label's outcome.
    QString Download()
    {
        QLabel& label = window->ProgressLabel();
        label.setText(QString());
        window->OnCommand(CommandId::Download);
        if (!window->Download().IsRunning())
            return label.text();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return label.text() == QStringLiteral("Success") || label.text() == QStringLiteral("Fail!"); },
            10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Download().IsRunning(); }, 2000));
        return label.text();
    }

    // The state of every row as one letter each: A acknowledged, R refused, N no answer, S not sent, - none.
    std::string States()
    {
        std::string states;
        for (int row = 0; row < Grid().RowCount(); ++row) {
            const std::optional<ETransferState> state = window->TransferStates().State(row);
            states += !state                                   ? '-'
                      : *state == ETransferState::Acknowledged ? 'A'
                      : *state == ETransferState::Refused      ? 'R'
                      : *state == ETransferState::NoAnswer     ? 'N'
                                                               : 'S';
        }
        return states;
    }

    std::string ToolTip(int row, int column)
    {
        return Grid().index(row, column).data(Qt::ToolTipRole).toString().toStdString();
    }

    // The colour inside the left edge of the sign at the right end of the row's Sr.No. cell.
    QColor PaintedMark(int row)
    {
        CMFCListCtrlEx& view = window->GridView();
        const QImage picture = view.viewport()->grab().toImage();
        const QRect cell = view.visualRect(Grid().index(row, kSrNo));
        const int size = std::min(cell.height() - 4, 14);
        return picture.pixelColor(cell.right() - 2 - size + 3, cell.center().y());
    }
};

TEST(TransferStates, EachRowShowsWhatTheDownloadDidWithIt)
{
    SScaleOptions refuseThird;
    refuseThird.refuseRecord = 3;
    STransferWindow f(refuseThird);
    EXPECT_EQ(f.States(), "-----");
    ASSERT_EQ(f.Download(), QStringLiteral("Fail!"));
    // The entry row is never sent and carries no state.
    EXPECT_EQ(f.States(), "AARS-");

    const QVariant none;
    EXPECT_EQ(f.Grid().index(0, kSrNo).data(CGridModel::RowMarkRole), QVariant(int(ERowMark::Done)));
    EXPECT_EQ(f.Grid().index(2, kSrNo).data(CGridModel::RowMarkRole), QVariant(int(ERowMark::Failed)));
    EXPECT_EQ(f.Grid().index(3, kSrNo).data(CGridModel::RowMarkRole), QVariant(int(ERowMark::Pending)));
    EXPECT_EQ(f.Grid().index(0, kPluNo).data(CGridModel::RowMarkRole), none);
    EXPECT_EQ(f.ToolTip(0, kSrNo), "Acknowledged by the scale\n1");
    EXPECT_EQ(f.ToolTip(2, kSrNo), "Refused by the scale\n3");
    // The value mark of the row that was not sent stays on its own cell, readable beside the row's state.
    EXPECT_EQ(f.ToolTip(3, kSrNo), "Not sent\n4");
    EXPECT_EQ(f.Grid().index(3, kGoodsId).data(CGridModel::CellMarkRole), QVariant(int(ECellMark::Warning)));
    EXPECT_EQ(f.ToolTip(3, kGoodsId), "Goods Id 4006381333931 is cut to 12 bytes\n4006381333931");

    const QColor done = f.PaintedMark(0);
    const QColor refused = f.PaintedMark(2);
    EXPECT_GT(done.green(), done.red() + 50) << done.name().toStdString();
    EXPECT_GT(refused.red(), refused.green() + 50) << refused.name().toStdString();
    // No state, no sign: the red entry row shows its own colour there.
    constexpr quint32 entry = CPluTable::kEntryRowColor;
    EXPECT_EQ(f.PaintedMark(4), QColor(RedOf(entry), GreenOf(entry), BlueOf(entry)));

    // A changed cell clears its row's state only; Sr.No. renumbering and value marks do not.
    f.Grid().CommitEdit(1, kUnitPrice, QStringLiteral("3"));
    EXPECT_EQ(f.States(), "A-RS-");
    EXPECT_EQ(f.ToolTip(1, kSrNo), "2");
}

TEST(TransferStates, NoAnswerShowsOnTheSilentRowAndStatesFollowSorting)
{
    SScaleOptions silentSecond;
    silentSecond.silentRecord = 2;
    STransferWindow f(silentSecond);
    ASSERT_EQ(f.Download(), QStringLiteral("Fail!"));
    EXPECT_EQ(f.States(), "ANSS-");
    EXPECT_EQ(f.ToolTip(1, kSrNo), "No answer from the scale\n2");
    EXPECT_EQ(f.Grid().index(1, kSrNo).data(CGridModel::RowMarkRole), QVariant(int(ERowMark::Unanswered)));

    // Sorting by PLU No. downwards: the states go with their rows.
    f.window->Table().SortByColumn(kPluNo, Qt::DescendingOrder);
    EXPECT_EQ(f.States(), "SSNA-");
}

TEST(TransferStates, NewImportAndModeChangesClearEveryState)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("table.csv"));
    {
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PLU No.,Unit price\n7,1.5\n8,2.5\n");
    }
    const struct
    {
        const char* name;
        std::function<void(STransferWindow&)> change;
    } cases[] = {
        {"New", [](STransferWindow& f) { f.window->OnCommand(CommandId::New); }},
        {"Import", [&](STransferWindow& f) { EXPECT_TRUE(f.window->ImportFile(table)); }},
        {"Counting", [](STransferWindow& f) { f.window->OnCommand(CommandId::Counting); }},
        {"Lim", [](STransferWindow& f) { f.window->OnCommand(CommandId::Lim); }},
    };
    for (const auto& c : cases) {
        STransferWindow f;
        ASSERT_EQ(f.Download(), QStringLiteral("Success")) << c.name;
        EXPECT_EQ(f.States(), "AAAA-") << c.name;
        c.change(f); // the scripted prompt answers OK to the question about unexported rows
        EXPECT_EQ(f.States().find_first_not_of('-'), std::string::npos) << c.name << ": " << f.States();
        EXPECT_EQ(f.window->TransferStates().ResumeRow(), -1) << c.name;
    }
}

TEST(TransferStates, AfterAFailureTheNextDownloadAsksWhereToStart)
{
    const struct
    {
        const char* name;
        int choice;         // the answer to the question: 0 continue, 1 from the first row, -1 Cancel
        int recordsSent;    // by the second download
        const char* label;  // after it
        const char* states; // after it
    } cases[] = {
        {"continue at the failed row", 0, 2, "Success", "AAAA-"},
        {"start from the first row", 1, 4, "Success", "AAAA-"},
        {"cancel", -1, 0, "", "AARS-"},
    };
    for (const auto& c : cases) {
        SScaleOptions refuseThird;
        refuseThird.refuseRecord = 3;
        STransferWindow f(refuseThird);
        ASSERT_EQ(f.Download(), QStringLiteral("Fail!")) << c.name;
        EXPECT_EQ(f.prompt.QuestionCount(), 0) << c.name;
        f.scale.SetOptions(STransferWindow::WithPricing({}));
        const int before = f.scale.RecordsReceived();

        f.prompt.ChooseNext(c.choice);
        QLabel& label = f.window->ProgressLabel();
        EXPECT_EQ(f.Download(), QString::fromUtf8(c.label)) << c.name << ": " << label.text().toStdString();
        ASSERT_EQ(f.prompt.QuestionCount(), 1) << c.name;
        EXPECT_EQ(f.prompt.messages.back().text,
                  QStringLiteral("The last download stopped at row 3. Continue there, or start again from the first "
                                 "row?"))
            << c.name;
        EXPECT_EQ(f.prompt.lastAnswers,
                  (QStringList{QStringLiteral("Continue at row 3"), QStringLiteral("Start from the first row")}))
            << c.name;
        EXPECT_EQ(f.scale.RecordsReceived() - before, c.recordsSent) << c.name;
        EXPECT_EQ(f.States(), c.states) << c.name;
    }
}

TEST(TransferStates, NoQuestionWhenARowBeforeTheFailedOneChanged)
{
    SScaleOptions refuseThird;
    refuseThird.refuseRecord = 3;
    STransferWindow f(refuseThird);
    ASSERT_EQ(f.Download(), QStringLiteral("Fail!"));
    EXPECT_EQ(f.window->TransferStates().ResumeRow(), 2);
    // Fixing the failed row itself still lets the download go on there.
    f.Grid().CommitEdit(2, kUnitPrice, QStringLiteral("4"));
    EXPECT_EQ(f.window->TransferStates().ResumeRow(), 2);
    // A changed row before it would never reach the scale by going on: the download starts from the first row.
    f.Grid().CommitEdit(0, kUnitPrice, QStringLiteral("4"));
    EXPECT_EQ(f.window->TransferStates().ResumeRow(), -1);
    f.scale.SetOptions(STransferWindow::WithPricing({}));
    const int before = f.scale.RecordsReceived();
    EXPECT_EQ(f.Download(), QStringLiteral("Success"));
    EXPECT_EQ(f.prompt.QuestionCount(), 0);
    EXPECT_EQ(f.scale.RecordsReceived() - before, 4);
}

// Runs the Transfer dialog the command opens: checks what it shows, then sets the values and accepts, or cancels.
void AnswerTransferDialog(int expectedRetries, int expectedTimeout, std::optional<std::pair<int, int>> values)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<CTransferDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Transfer"));
        EXPECT_EQ(dialog->RetriesBox().value(), expectedRetries);
        EXPECT_EQ(dialog->TimeoutBox().value(), expectedTimeout);
        if (!values) {
            dialog->reject();
            return;
        }
        dialog->RetriesBox().setValue(values->first);
        dialog->TimeoutBox().setValue(values->second);
        dialog->accept();
    });
}

TEST(TransferStates, TheTransferDialogKeepsRetriesAndTimeOutForTheWindowsDownloads)
{
    SScaleOptions silentFirst;
    silentFirst.silentRecord = 1;
    STransferWindow f(silentFirst);
    f.settings.Settings().WriteInt(ESetting::AckTimeout, CSettings::DefaultValue(ESetting::AckTimeout));
    AnswerTransferDialog(0, 3000, std::pair{1, 250});
    f.window->OnCommand(CommandId::TransferSettings);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Retries), 1);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::AckTimeout), 250);

    AnswerTransferDialog(1, 250, std::nullopt);
    f.window->OnCommand(CommandId::TransferSettings);
    EXPECT_EQ(f.settings.Settings().ReadInt(ESetting::Retries), 1);

    // The first record goes unanswered once and is sent again after 250 ms.
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(f.Download(), QStringLiteral("Success"));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(f.window->Download().RetriesMade(), 1);
    EXPECT_EQ(f.States(), "AAAA-");
}

TEST(TransferStates, TheSettingMenuOpensTheTransferLogAndCreatesItFirst)
{
    STransferWindow f;
    const QString path = f.window->TransferLog().Path();
    QFile::remove(path);
    f.window->OnCommand(CommandId::TransferLog);
    EXPECT_EQ(f.opener.opened, QStringList{path});
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(f.prompt.MessageCount(), 0);

    // The log names the port by its stable name (here the device itself, which has no by-id link).
    ASSERT_EQ(f.Download(), QStringLiteral("Success"));
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("port %1,").arg(f.scale.DevicePath())));

    f.opener.succeeds = false;
    f.window->OnCommand(CommandId::TransferLog);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_EQ(f.prompt.messages.back().text,
              QStringLiteral("No program was found to show the transfer log %1.").arg(path));
}

// The message box behind the resume question: a button for each answer, the first the default, and Cancel.
TEST(TransferStates, TheChoiceBoxAnswersWithTheButtonClicked)
{
    const struct
    {
        const char* name;
        std::function<void(QMessageBox&)> answer;
        int expected;
    } cases[] = {
        {"second",
         [](QMessageBox& box) {
             for (QAbstractButton* button : box.buttons()) {
                 if (button->text() == QStringLiteral("There"))
                     button->click();
             }
         },
         1},
        {"Enter takes the default", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, 0},
        {"Escape cancels", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, -1},
    };
    for (const auto& c : cases) {
        CMessageBoxPrompt prompt;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << c.name;
            EXPECT_EQ(box->text(), QStringLiteral("Where?")) << c.name;
            // A button for each answer, beside Cancel.
            QStringList texts;
            for (QAbstractButton* button : box->buttons())
                texts << button->text();
            EXPECT_TRUE(texts.contains(QStringLiteral("Here")) && texts.contains(QStringLiteral("There")));
            c.answer(*box);
        });
        EXPECT_EQ(prompt.AskChoice(QStringLiteral("Talvex"), QStringLiteral("Where?"),
                                   {QStringLiteral("Here"), QStringLiteral("There")}, IPrompt::EIcon::Information),
                  c.expected)
            << c.name;
    }
}

} // namespace
