#pragma once
// ICMP echo (IPv4), one synchronous request per call, as the device check before an update uses
// it. Goes through a replaceable service so that tests never send a packet.
#include "platform/rtl/SysUtils.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

TESSARO_DECLARE_EXCEPTION(ESocketError, Exception)

struct TIcmpReply {
    QString FromAddress; // dotted IPv4 address of the answering host
    int BytesReceived = 0; // payload bytes in the echo reply
    int RoundTripMs = 0;
};

class IIcmpClient {
public:
    virtual ~IIcmpClient() = default;
    // Sends one echo request with PacketSize payload bytes to Host (a dotted address or a name)
    // and waits up to TimeoutMs for its reply. nullopt when no matching reply came in time.
    // Raises ESocketError when the host cannot be resolved or no ICMP socket can be opened.
    virtual std::optional<TIcmpReply> Ping(const QString& Host, int PacketSize, int TimeoutMs) = 0;
};

IIcmpClient& IcmpClient(); // the service in force (real by default)
void SetIcmpClient(std::shared_ptr<IIcmpClient> Service); // nullptr restores the real client

// The real client: Linux's unprivileged ping socket (SOCK_DGRAM, IPPROTO_ICMP) when the system
// allows it (net.ipv4.ping_group_range), else a raw socket (needs CAP_NET_RAW), else the system's
// ping program (iputils-ping, which holds that capability itself), run for one echo and stopped
// at the same time-out.
class TIcmpClient : public IIcmpClient {
public:
    // skAuto tries the three ways in that order; each other kind uses only its own way.
    enum TSocketKind { skAuto, skPingSocket, skRawSocket, skPingProgram };
    explicit TIcmpClient(TSocketKind Kind = skAuto, const QString& PingProgram = QStringLiteral("ping"))
        : FKind(Kind), FPingProgram(PingProgram) {}
    std::optional<TIcmpReply> Ping(const QString& Host, int PacketSize, int TimeoutMs) override;

protected:
    // Opens an ICMP socket of Type (SOCK_DGRAM or SOCK_RAW): the descriptor, or -1 with errno set.
    virtual int OpenSocket(int Type);

private:
    std::optional<TIcmpReply> PingBySocket(int Fd, bool Raw, const QString& Host, uint32_t Target, int PacketSize,
                                           int TimeoutMs);
    // One echo through the ping program, polled on the clock service and killed once TimeoutMs
    // have passed. Raises ESocketError when the program cannot run or reports an error.
    std::optional<TIcmpReply> PingByProgram(const QString& Address, int PacketSize, int TimeoutMs);
    TSocketKind FKind;
    QString FPingProgram;
};

// A client for tests. Hosts set as answering reply at once (after ReplyDelayMs on the clock
// service); any other host stays silent and costs the whole time-out on the clock service, so a
// fake clock sees the time a real echo would take. Hosts set as unresolvable raise ESocketError.
class TFakeIcmpClient : public IIcmpClient {
public:
    void SetAnswering(const QString& Host, bool Answers = true) { FAnswering[Host] = Answers; }
    void SetUnresolvable(const QString& Host) { FUnresolvable.append(Host); }
    void SetReplyDelayMs(int Ms) { FReplyDelayMs = Ms; }
    int Count() const { return FHosts.size(); } // requests sent
    const QStringList& Hosts() const { return FHosts; } // their hosts, in order
    std::optional<TIcmpReply> Ping(const QString& Host, int PacketSize, int TimeoutMs) override;

private:
    QMap<QString, bool> FAnswering;
    QStringList FUnresolvable;
    QStringList FHosts;
    int FReplyDelayMs = 1;
};
