#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// A pseudo-terminal standing in for a serial line: the code under test opens the slave's path, the test plays the
// scale on the master descriptor.
class CPtyPair
{
public:
    CPtyPair();
    ~CPtyPair();

    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    bool IsValid() const { return m_master >= 0; }
    const QString& SlavePath() const { return m_slavePath; }
    // The test's own descriptor on the slave; it sees the line settings the code under test made.
    int SlaveFd() const { return m_slave; }

    // Sends bytes to the device's reader, as the scale would.
    bool Send(const QByteArray& bytes);
    // Reads what the device wrote until count bytes have come or the time is up.
    QByteArray Receive(int count, std::chrono::milliseconds timeout);
    // Hangs up the scale's side, as unplugging a USB adapter does.
    void CloseMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};

struct SLineSettings
{
    unsigned inputSpeed = 0;
    unsigned outputSpeed = 0;
    bool eightDataBits = false;
    bool parity = true;
    bool twoStopBits = true;
    bool hardwareFlowControl = true;
    bool softwareFlowControl = true; // XON/XOFF in either direction
    bool lineProcessing = true;      // canonical mode, echo or signal characters
    bool inputTranslation = true;    // CR/NL translation or stripping of the eighth bit
    bool outputProcessing = true;
};

// The line settings of a terminal, speeds as numbers (56000 too).
bool ReadLineSettings(int fd, SLineSettings& settings);
