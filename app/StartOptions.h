#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the window program is started with.
struct SStartOptions
{
    bool demo = false;         // offer the simulated scale as a port
    QStringList serialDevices; // offered after the system's serial ports
    QString fileToImport;      // imported once the window is up
};

// Declares the program's options and its file argument on the parser.
void DeclareStartOptions(QCommandLineParser& parser);
// The options of a parser that has processed the command line.
SStartOptions ReadStartOptions(const QCommandLineParser& parser);

// The arguments of a restart after a language change: the ports offered stay, but the file is not
// imported again, so that the new window shows the table as the user left it rather than the file.
QStringList RestartArguments(const SStartOptions& options);

// Why the window cannot be shown, for a message before the toolkit is started (which would end the
// program on its own words); empty when it can. On X11 and Wayland systems the environment names the
// display; a platform chosen by QT_QPA_PLATFORM or -platform is taken as it is.
QString MissingDisplayReason(const QStringList& arguments, const QStringList& environment);
