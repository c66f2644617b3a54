#include "app/StartOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(StartOptions, TheWindowIsRefusedWithAReasonOnlyWhenNoDisplayIsNamed)
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN) || defined(Q_OS_ANDROID)
    GTEST_SKIP() << "the display is named by the environment on X11 and Wayland systems";
#endif
    const struct
    {
        const char* name;
        QStringList arguments;
        QStringList environment;
        bool refused;
    } cases[] = {
        {"X11", {}, {QStringLiteral("DISPLAY=:0")}, false},
        {"Wayland", {}, {QStringLiteral("HOME=/root"), QStringLiteral("WAYLAND_DISPLAY=wayland-0")}, false},
        {"platform in the environment", {}, {QStringLiteral("QT_QPA_PLATFORM=offscreen")}, false},
        {"platform argument", {QStringLiteral("-platform"), QStringLiteral("offscreen")}, {}, false},
        {"nothing", {QStringLiteral("table.csv")}, {QStringLiteral("HOME=/root")}, true},
        {"empty DISPLAY", {}, {QStringLiteral("DISPLAY=")}, true},
        {"a name that only begins alike", {}, {QStringLiteral("DISPLAYS=:0")}, true},
    };
    for (const auto& c : cases) {
        const QString reason = MissingDisplayReason(c.arguments, c.environment);
        EXPECT_EQ(!reason.isEmpty(), c.refused) << c.name;
        if (c.refused) {
            EXPECT_TRUE(reason.contains(QLatin1String("DISPLAY"))) << c.name;
        }
    }
}

} // namespace
