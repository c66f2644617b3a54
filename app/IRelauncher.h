#pragma once

#include <QString>
#include <QStringList>

// Starts the program anew, so that a changed interface language takes effect.
class IRelauncher
{
public:
    virtual ~IRelauncher() = default;
    // True when the new process was started.
    virtual bool Relaunch(const QString& program, const QStringList& arguments) = 0;
};

// Starts a detached process.
class CProcessRelauncher final : public IRelauncher
{
public:
    bool Relaunch(const QString& program, const QStringList& arguments) override;
};
