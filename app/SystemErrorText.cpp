#include "app/SystemErrorText.h"

#include "app/StringTable.h"

#include <cerrno>
#include <cstring>

namespace {

unsigned StringIdOfError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return StringId::SystemPermissionDenied;
    case ENOENT: return StringId::SystemNoSuchFile;
    case ENOSPC: return StringId::SystemNoSpace;
    case EROFS: return StringId::SystemReadOnly;
    case EISDIR: return StringId::SystemIsFolder;
    case ENOTDIR: return StringId::SystemNotFolder;
    case EIO: return StringId::SystemInputOutput;
    case EBUSY: return StringId::SystemBusy;
    case ENAMETOOLONG: return StringId::SystemNameTooLong;
    case EDQUOT: return StringId::SystemQuota;
    case EMFILE:
    case ENFILE: return StringId::SystemTooManyFiles;
    case ENODEV:
    case ENXIO: return StringId::SystemNoDevice;
    case ETIMEDOUT: return StringId::SystemTimedOut;
    case EPIPE:
    case ECONNRESET: return StringId::SystemConnectionClosed;
    default: return 0;
    }
}

} // namespace

QString SystemErrorText(int error)
{
    // In English the C library's own words stay, which scripts may already look for.
    if (const unsigned id = MessagesInEnglish() ? 0 : StringIdOfError(error))
        return MessageString(id);
    // strerror_r, because strerror may share its buffer with other threads; the receive thread raises too.
    char buffer[256] = {};
    // The GNU variant returns a pointer to the text, which may or may not be the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text ? QString::fromLocal8Bit(text) : QString();
}
