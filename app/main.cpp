#include "cli/CliCommands.h"
#include "ui/CTalvexApp.h"

#include <QString>

int main(int argc, char** argv)
{
    // A command, and the help and version texts, run without a display and never open a window.
    if (argc > 1) {
        const QString first = QString::fromLocal8Bit(argv[1]);
        if (Cli::IsCommand(first) || Cli::IsHelpOrVersion(first))
            return Cli::Run(argc, argv);
    }
    CTalvexApp app;
    return app.Run(argc, argv);
}
