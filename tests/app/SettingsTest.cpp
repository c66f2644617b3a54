#include "support/TempSettings.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(Settings, MissingKeysReadAsTheirDefaults)
{
    CTempSettings temp;
    CSettings& settings = temp.Settings();
    EXPECT_EQ(settings.ReadInt(ESetting::Language), -1);
    EXPECT_EQ(settings.ReadInt(ESetting::Port), 0);
    EXPECT_EQ(settings.ReadInt(ESetting::Bps), 1);
    EXPECT_EQ(settings.ReadInt(ESetting::PluMode), 1);
    EXPECT_EQ(settings.ReadInt(ESetting::LimMode), 0);
    EXPECT_FALSE(settings.Contains(ESetting::Language));
}

TEST(Settings, RoundTripKeepsTheLiteralSection)
{
    CTempSettings temp;
    temp.Settings().WriteInt(ESetting::PluMode, 0);
    temp.Settings().WriteInt(ESetting::Language, 2052);
    temp.Settings().WriteInt(ESetting::Port, -3);
    const QString text = temp.FileText();
    EXPECT_TRUE(text.contains(QStringLiteral("[[SET]]\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("PLUMODE=0"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Language=2052"))) << text.toStdString();

    CSettings reopened(temp.FilePath());
    EXPECT_EQ(reopened.ReadInt(ESetting::PluMode), 0);
    EXPECT_EQ(reopened.ReadInt(ESetting::Language), 2052);
    EXPECT_EQ(reopened.ReadInt(ESetting::Port), -3);
    EXPECT_EQ(reopened.ReadInt(ESetting::Bps), 1);
}

TEST(Settings, ValueThatIsNotAnIntegerReadsAsDefault)
{
    CTempSettings temp;
    const QString path = temp.FilePath();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[[SET]]\nBPS=fast\nPORT=4\nbroken line\nLIMMODE=\n");
    }
    CSettings settings(path);
    EXPECT_EQ(settings.ReadInt(ESetting::Bps), 1);
    EXPECT_EQ(settings.ReadInt(ESetting::Port), 4);
    EXPECT_EQ(settings.ReadInt(ESetting::LimMode), 0);
}

TEST(Settings, UserStoreLivesUnderTheIsolatedConfigDirectory)
{
    CSettings settings;
    const QString path = settings.FilePath();
    EXPECT_TRUE(path.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME"))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Talvex/app_tests.conf"))) << path.toStdString();
}

} // namespace
