// With German in force, what a failing import, export, port or download puts on screen is German: the messages,
// the progress label's tooltip, the grid's marks, and Qt's own buttons.

#include "app/IRelauncher.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "support/PresetFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "tools/CSimulatedScale.h"
#include "ui/CTalvexDlg.h"
#include "ui/CommandIds.h"
#include "ui/QtTranslations.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

class CNoRelaunch final : public IRelauncher
{
public:
    bool Relaunch(const QString&, const QStringList&) override { return false; }
};

// Words of the English messages that no German message holds.
const QStringList kEnglishWords = {
    QStringLiteral("the"),     QStringLiteral("is"),     QStringLiteral("cannot"), QStringLiteral("not"),
    QStringLiteral("row"),     QStringLiteral("file"),   QStringLiteral("open"),   QStringLiteral("rejected"),
    QStringLiteral("above"),   QStringLiteral("below"),  QStringLiteral("could"),  QStringLiteral("of"),
    QStringLiteral("to"),      QStringLiteral("and"),    QStringLiteral("no"),     QStringLiteral("a"),
    QStringLiteral("sent"),    QStringLiteral("scale"),  QStringLiteral("device"), QStringLiteral("workbook"),
    QStringLiteral("archive"), QStringLiteral("import"), QStringLiteral("export"), QStringLiteral("folder"),
    QStringLiteral("exist"),   QStringLiteral("does"),   QStringLiteral("quote"),  QStringLiteral("line"),
    QStringLiteral("closed"),  QStringLiteral("never"),  QStringLiteral("longer"), QStringLiteral("there"),
    QStringLiteral("plug"),    QStringLiteral("choose"), QStringLiteral("again"),  QStringLiteral("then"),
    QStringLiteral("try"),     QStringLiteral("chosen"), QStringLiteral("also"),   QStringLiteral("keeps"),
    QStringLiteral("record"),  QStringLiteral("number"), QStringLiteral("price"),  QStringLiteral("unit"),
    QStringLiteral("cancel"),  QStringLiteral("denied"), QStringLiteral("error"),  QStringLiteral("zip"),
};

// The English words of a text once the names the test chose (paths, devices) are taken out.
QStringList EnglishWordsIn(QString text, const QStringList& names)
{
    for (const QString& name : names)
        text.remove(name);
    QStringList found;
    static const QRegularExpression word(QStringLiteral("\\p{L}+"));
    for (auto match = word.globalMatch(text); match.hasNext();) {
        const QString w = match.next().captured();
        if (kEnglishWords.contains(w, Qt::CaseInsensitive) && w != QLatin1String("Zip"))
            found.append(w);
    }
    return found;
}

#define EXPECT_GERMAN(text, ...)                                                                                       \
    do {                                                                                                               \
        const QString shown = (text);                                                                                  \
        EXPECT_FALSE(shown.isEmpty());                                                                                 \
        EXPECT_EQ(EnglishWordsIn(shown, {__VA_ARGS__}), QStringList()) << shown.toStdString();                         \
    } while (false)

struct SGermanWindow
{
    QTemporaryDir dir;
    CTempSettings settings;
    CScriptedPrompt prompt;
    CNoRelaunch relauncher;
    CPresetFileDialogs dialogs;
    std::optional<CSimulatedScale> scale;
    PortDiscovery::PortList ports;
    std::optional<CTalvexDlg> window;
    int languageBefore = Language::LanguageInForce();

    explicit SGermanWindow(bool withScale = false)
    {
        Language::SetLanguageInForce(1031);
        settings.Settings().WriteInt(ESetting::PluMode, 0);
        SWindowOptions options;
        options.discoverPorts = [this](const QStringList&) { return ports; };
        if (withScale) {
            scale.emplace();
            QString error;
            EXPECT_TRUE(scale->Start(&error)) << error.toStdString();
            options.providedPort =
                SProvidedPort{{scale->DevicePath(), scale->DevicePath()},
                              [this](EPluMode layout, ELimitMode limits) { scale->SetMode(layout, limits); }};
        }
        window.emplace(settings.Settings(), prompt, relauncher, QStringList(), options);
        window->SetFileDialogs(&dialogs);
        window->show();
    }
    ~SGermanWindow() { Language::SetLanguageInForce(languageBefore); }

    QString WriteFile(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void TypeRow(int row, const QString& plu, const QString& price)
    {
        window->Grid().CommitEdit(row, 1, plu);
        window->Grid().CommitEdit(row, 2, price);
    }

    QString LastMessage() const { return prompt.messages.empty() ? QString() : prompt.messages.back().text; }
};

TEST(GermanMessages, AFailingImportSaysWhyInGerman)
{
    SGermanWindow f;
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"offen.csv", "PLU No.,Unit price\n1,\"2.5\n"},
        {"kaputt.xlsx", "PK\x03\x04 not really a workbook"},
        {"kaputt.xls", "not an xls file at all"},
    };
    for (const auto& file : files) {
        f.dialogs.openPath = f.WriteFile(file.name, file.bytes);
        f.prompt.messages.clear();
        EXPECT_FALSE(f.window->OnCommand(CommandId::Import) && f.prompt.messages.empty());
        ASSERT_EQ(f.prompt.MessageCount(), 1) << file.name;
        EXPECT_GERMAN(f.LastMessage(), f.dialogs.openPath);
    }
}

TEST(GermanMessages, AFailingExportSaysWhyInGerman)
{
    SGermanWindow f;
    f.TypeRow(0, QStringLiteral("5"), QStringLiteral("2.5"));
    const QString missing = f.dir.filePath(QStringLiteral("fehlt"));
    f.dialogs.savePath = missing + QStringLiteral("/tabelle.xls");
    f.window->OnCommand(CommandId::Export);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_GERMAN(f.LastMessage(), f.dialogs.savePath, missing);

    QDir(f.dir.path()).mkdir(QStringLiteral("ordner.xls"));
    f.dialogs.savePath = f.dir.filePath(QStringLiteral("ordner.xls"));
    f.window->OnCommand(CommandId::Export);
    ASSERT_EQ(f.prompt.MessageCount(), 2);
    EXPECT_GERMAN(f.LastMessage(), f.dialogs.savePath);
}

TEST(GermanMessages, APortThatDoesNotOpenSaysWhyInGerman)
{
    SGermanWindow f;
    f.TypeRow(0, QStringLiteral("5"), QStringLiteral("2.5"));
    // No port chosen, then a device that is gone.
    f.window->OnCommand(CommandId::Download);
    ASSERT_EQ(f.prompt.MessageCount(), 1);
    EXPECT_GERMAN(f.LastMessage());

    const QString gone = QStringLiteral("/dev/ttyUSB9-ausgesteckt");
    f.ports = {{QStringLiteral("ttyUSB9"), gone}};
    f.window->RefreshPorts();
    f.window->PortSelector().setCurrentIndex(0);
    Q_EMIT f.window->PortSelector().activated(0);
    f.window->OnCommand(CommandId::Download);
    ASSERT_EQ(f.prompt.MessageCount(), 2);
    EXPECT_GERMAN(f.LastMessage(), gone);
    EXPECT_GERMAN(f.window->ProgressLabel().toolTip(), gone);
}

TEST(GermanMessages, ARejectedRowSaysWhyInGermanInTheTooltipAndTheMark)
{
    SGermanWindow f(true);
    f.TypeRow(0, QStringLiteral("5000"), QStringLiteral("2.5"));
    f.TypeRow(1, QStringLiteral("7"), QStringLiteral("2.5"));
    f.TypeRow(2, QStringLiteral("7"), QStringLiteral("3"));
    f.window->OnCommand(CommandId::Download);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.window->ProgressLabel().text() == QStringLiteral("Fail!"); }, 10000))
        << f.window->ProgressLabel().text().toStdString();
    const QString tooltip = f.window->ProgressLabel().toolTip();
    EXPECT_EQ(tooltip, QStringLiteral("Zeile 1 abgelehnt: PLU-Nummer 5000 ist größer als 1008"));
    EXPECT_GERMAN(tooltip);

    CGridModel& grid = f.window->Grid();
    EXPECT_GERMAN(grid.data(grid.index(0, 1), Qt::ToolTipRole).toString());
    // The repeated PLU No. is marked in the later row.
    EXPECT_GERMAN(grid.data(grid.index(2, 1), Qt::ToolTipRole).toString());
    EXPECT_EQ(f.prompt.MessageCount(), 0);
}

TEST(GermanMessages, QtsOwnButtonsAndMenusAreGerman)
{
    QTranslator translator;
    ASSERT_TRUE(InstallQtTranslations(translator, 1031)) << "Qt's translations (qt6-translations-l10n) are missing";
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Talvex"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    EXPECT_TRUE(texts.filter(QStringLiteral("Einf&ügen")).size() == 1) << texts.join(QLatin1Char('|')).toStdString();
    QCoreApplication::removeTranslator(&translator);

    // English has no translation to load: Qt's texts are its own.
    QTranslator english;
    EXPECT_FALSE(InstallQtTranslations(english, 1033));
}

} // namespace
