#include "app/StringTable.h"
#include "cli/CliCommands.h"
#include "tools/CSimulatedScale.h"
#include "ui/CTalvexApp.h"

#include <QString>

#include <memory>

int main(int argc, char** argv)
{
    // A command, and the help and version texts, run without a display and never open a window.
    if (argc > 1) {
        const QString first = QString::fromLocal8Bit(argv[1]);
        if (Cli::IsCommand(first) || Cli::IsHelpOrVersion(first))
            return Cli::Run(argc, argv);
    }
    std::unique_ptr<CSimulatedScale> demoScale;
    const auto startDemoScale = [&demoScale](QString* error) -> std::optional<SProvidedPort> {
        demoScale = std::make_unique<CSimulatedScale>();
        if (!demoScale->Start(error)) {
            demoScale.reset();
            return std::nullopt;
        }
        CSimulatedScale* scale = demoScale.get();
        return SProvidedPort{{LoadString(StringId::DemoPortLabel).arg(scale->DevicePath()), scale->DevicePath()},
                             [scale](EPluMode pluMode, ELimitMode limitMode) { scale->SetMode(pluMode, limitMode); }};
    };
    CTalvexApp app;
    return app.Run(argc, argv, startDemoScale);
}
