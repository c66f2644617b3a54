#include "PtyPair.h"

// The kernel's header gives the speeds as numbers; it cannot share a file with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

bool ReadLineSettings(int fd, SLineSettings& settings)
{
    termios2 line{};
    if (::ioctl(fd, TCGETS2, &line) != 0)
        return false;
    settings.inputSpeed = line.c_ispeed;
    settings.outputSpeed = line.c_ospeed;
    settings.eightDataBits = (line.c_cflag & CSIZE) == CS8;
    settings.parity = (line.c_cflag & PARENB) != 0;
    settings.twoStopBits = (line.c_cflag & CSTOPB) != 0;
    settings.hardwareFlowControl = (line.c_cflag & CRTSCTS) != 0;
    settings.softwareFlowControl = (line.c_iflag & (IXON | IXOFF)) != 0;
    settings.lineProcessing = (line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) != 0;
    settings.inputTranslation = (line.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) != 0;
    settings.outputProcessing = (line.c_oflag & OPOST) != 0;
    return true;
}
