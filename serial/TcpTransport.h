#pragma once

#include <QString>

#include <chrono>

// Serial device servers (and ser2net) offer a scale's line as a raw TCP connection: "tcp://HOST:PORT". The baud
// rate is set on the server, so the connection is used as it is.
namespace TcpTransport {

constexpr std::chrono::milliseconds kConnectTimeout{5000};

bool IsTcpAddress(const QString& device);

// HOST and PORT of "tcp://HOST:PORT" ("tcp://[::1]:4001" for IPv6); false when the address is malformed.
bool ParseAddress(const QString& device, QString* host, quint16* port);

struct SConnection
{
    int fd = -1;    // non-blocking, closed on exec; -1 when not connected
    int error = 0;  // errno when not connected
    QString reason; // the resolver's words when the host name could not be resolved
};

// Connects to the server, trying each address of the host in turn, each for at most the time-out.
SConnection Connect(const QString& device, std::chrono::milliseconds timeout = kConnectTimeout);

} // namespace TcpTransport
