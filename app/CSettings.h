#pragma once

#include <QString>

#include <memory>

class QSettings;

// The settings kept per user between runs in the section "[SET]": integers and the chosen port's name.
enum class ESetting
{
    Language,   // LCID of the interface language; 0 chooses from the system locale, -1 keeps it
    Port,       // index of the selected entry of the port selector
    Bps,        // index of the selected entry of the baud selector
    PluMode,    // 0 pricing, 1 counting
    LimMode,    // 0 limits off, 1 on
    PortName,   // text: the stable name of the port last downloaded to (its /dev/serial/by-id link, else its path)
    Retries,    // how often the window's downloads send a record without an answer again
    AckTimeout, // milliseconds the window's downloads wait for each answer
};

class CSettings
{
public:
    static constexpr const char* kSection = "[SET]";

    // The user's own store: <config dir>/Talvex/<executable name>.conf.
    CSettings();
    // A store in the given file (tests, or a portable set-up).
    explicit CSettings(const QString& filePath);
    ~CSettings();

    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // A value that is missing or not an integer reads as the key's default.
    int ReadInt(ESetting key) const;
    void WriteInt(ESetting key, int value);
    // A missing text reads as empty.
    QString ReadString(ESetting key) const;
    void WriteString(ESetting key, const QString& value);
    bool Contains(ESetting key) const;
    void Sync();

    QString FilePath() const;

    static int DefaultValue(ESetting key);
    static QString KeyName(ESetting key);

private:
    QString FullKey(ESetting key) const;

    std::unique_ptr<QSettings> m_store;
};
