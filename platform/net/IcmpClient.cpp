#include "platform/net/IcmpClient.h"

#include "platform/rtl/Clock.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int MaxPayload = 65507; // largest ICMP payload an IPv4 datagram can carry
// How often a running ping program is looked at.
constexpr unsigned Program_Poll_Ms = 10;

uint16_t Checksum(const uint8_t* Data, size_t Len) {
    uint32_t Sum = 0;
    for (size_t i = 0; i + 1 < Len; i += 2) Sum += uint32_t(Data[i]) << 8 | Data[i + 1];
    if (Len & 1) Sum += uint32_t(Data[Len - 1]) << 8;
    while (Sum >> 16) Sum = (Sum & 0xFFFF) + (Sum >> 16);
    return htons(uint16_t(~Sum));
}

class TSocket {
public:
    explicit TSocket(int Fd) : FFd(Fd) {}
    ~TSocket() {
        if (FFd >= 0) ::close(FFd);
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

in_addr Resolve(const QString& Host) {
    addrinfo Hints{};
    Hints.ai_family = AF_INET;
    Hints.ai_socktype = SOCK_RAW;
    addrinfo* Res = nullptr;
    const QByteArray Name = Host.trimmed().toUtf8();
    const int Rc = Name.isEmpty() ? EAI_NONAME : getaddrinfo(Name.constData(), nullptr, &Hints, &Res);
    if (Rc != 0 || !Res)
        throw ESocketError(
            QStringLiteral("Cannot resolve host \"%1\": %2").arg(Host, QString::fromUtf8(gai_strerror(Rc))));
    in_addr A = reinterpret_cast<sockaddr_in*>(Res->ai_addr)->sin_addr;
    freeaddrinfo(Res);
    return A;
}

std::atomic<uint16_t> NextSequence{1};

} // namespace

int TIcmpClient::OpenSocket(int Type) { return ::socket(AF_INET, Type | SOCK_CLOEXEC, IPPROTO_ICMP); }

std::optional<TIcmpReply> TIcmpClient::Ping(const QString& Host, int PacketSize, int TimeoutMs) {
    if (PacketSize < 0 || PacketSize > MaxPayload)
        throw ESocketError(QStringLiteral("Invalid ICMP packet size %1").arg(PacketSize));
    const in_addr Target = Resolve(Host);
    char Address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &Target, Address, sizeof Address);
    if (FKind == skPingProgram) return PingByProgram(QString::fromLatin1(Address), PacketSize, TimeoutMs);

    // The ping socket needs no privilege where the system's ping group range allows it; the
    // kernel then owns the identifier and hands us only our own replies, without IP header.
    bool Raw = false;
    int Fd = -1;
    int DgramErr = 0, RawErr = 0;
    if (FKind != skRawSocket) {
        Fd = OpenSocket(SOCK_DGRAM);
        DgramErr = errno;
    }
    if (Fd < 0 && FKind != skPingSocket) {
        Fd = OpenSocket(SOCK_RAW);
        RawErr = errno;
        Raw = true;
    }
    if (Fd >= 0) return PingBySocket(Fd, Raw, Host, Target.s_addr, PacketSize, TimeoutMs);

    QString Why;
    if (FKind != skRawSocket) Why = QStringLiteral("ping socket: %1").arg(QString::fromLocal8Bit(strerror(DgramErr)));
    if (FKind != skPingSocket)
        Why +=
            QStringLiteral("%1raw socket: %2").arg(Why.isEmpty() ? "" : ", ", QString::fromLocal8Bit(strerror(RawErr)));
    if (FKind == skAuto) {
        // Neither socket is allowed to this user: the system's ping program holds the privilege.
        try {
            return PingByProgram(QString::fromLatin1(Address), PacketSize, TimeoutMs);
        } catch (const ESocketError& E) {
            Why += QStringLiteral(", ") + E.Message();
        }
    }
    throw ESocketError(QStringLiteral("Cannot open an ICMP socket (%1)").arg(Why));
}

std::optional<TIcmpReply> TIcmpClient::PingBySocket(int Fd, bool Raw, const QString& Host, uint32_t TargetAddr,
                                                    int PacketSize, int TimeoutMs) {
    TSocket Sock(Fd);
    in_addr Target{};
    Target.s_addr = TargetAddr;
    const uint16_t Id = uint16_t(::getpid());
    const uint16_t Seq = NextSequence++;
    std::vector<uint8_t> Packet(sizeof(icmphdr) + size_t(PacketSize));
    for (int i = 0; i < PacketSize; ++i) Packet[sizeof(icmphdr) + size_t(i)] = uint8_t('A' + i % 26);
    auto* Hdr = reinterpret_cast<icmphdr*>(Packet.data());
    Hdr->type = ICMP_ECHO;
    Hdr->code = 0;
    Hdr->un.echo.id = htons(Id);
    Hdr->un.echo.sequence = htons(Seq);
    Hdr->checksum = 0;
    Hdr->checksum = Checksum(Packet.data(), Packet.size());

    sockaddr_in To{};
    To.sin_family = AF_INET;
    To.sin_addr = Target;
    using SteadyClock = std::chrono::steady_clock;
    const auto Sent = SteadyClock::now();
    if (::sendto(Fd, Packet.data(), Packet.size(), 0, reinterpret_cast<sockaddr*>(&To), sizeof To) < 0)
        throw ESocketError(QStringLiteral("Cannot send the echo request to %1: %2")
                               .arg(Host, QString::fromLocal8Bit(strerror(errno))));

    const auto Deadline = Sent + std::chrono::milliseconds(qMax(0, TimeoutMs));
    std::vector<uint8_t> Buf(size_t(MaxPayload) + 128);
    for (;;) {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - SteadyClock::now()).count();
        if (Left <= 0) return std::nullopt;
        pollfd P{Fd, POLLIN, 0};
        const int Ready = ::poll(&P, 1, int(Left));
        if (Ready < 0 && errno == EINTR) continue;
        if (Ready <= 0) return std::nullopt;
        sockaddr_in From{};
        socklen_t FromLen = sizeof From;
        const ssize_t N = ::recvfrom(Fd, Buf.data(), Buf.size(), 0, reinterpret_cast<sockaddr*>(&From), &FromLen);
        if (N < 0) continue;
        size_t Off = 0;
        if (Raw) {
            if (size_t(N) < sizeof(iphdr)) continue;
            Off = size_t(reinterpret_cast<const iphdr*>(Buf.data())->ihl) * 4;
        }
        if (size_t(N) < Off + sizeof(icmphdr)) continue;
        const auto* R = reinterpret_cast<const icmphdr*>(Buf.data() + Off);
        if (R->type != ICMP_ECHOREPLY || ntohs(R->un.echo.sequence) != Seq || From.sin_addr.s_addr != Target.s_addr)
            continue;
        if (Raw && ntohs(R->un.echo.id) != Id) continue; // another program's echo seen by our raw socket
        TIcmpReply Reply;
        char Text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &From.sin_addr, Text, sizeof Text);
        Reply.FromAddress = QString::fromLatin1(Text);
        Reply.BytesReceived = int(size_t(N) - Off - sizeof(icmphdr));
        Reply.RoundTripMs =
            int(std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - Sent).count());
        return Reply;
    }
}

std::optional<TIcmpReply> TIcmpClient::PingByProgram(const QString& Address, int PacketSize, int TimeoutMs) {
    if (TimeoutMs <= 0) return std::nullopt;
    QProcess P;
    // Its messages in plain English whatever the user's locale, so that they can be read here.
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    P.setProcessEnvironment(Env);
    P.setProgram(FPingProgram);
    P.setArguments({QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-s"),
                    QString::number(PacketSize), QStringLiteral("-W"), QString::number(TimeoutMs / 1000.0, 'f', 3),
                    Address});
    const uint64_t Start = Clock().TickCount();
    P.start(QIODevice::ReadOnly);
    if (!P.waitForStarted())
        throw ESocketError(QStringLiteral("Cannot run the ping program \"%1\": %2").arg(FPingProgram, P.errorString()));
    // The program waits on its own too; this bound holds whatever it does.
    while (!P.waitForFinished(0)) {
        if (Clock().TickCount() - Start >= uint64_t(TimeoutMs)) {
            P.kill();
            P.waitForFinished();
            return std::nullopt;
        }
        Clock().Sleep(Program_Poll_Ms);
    }
    const QString Out = QString::fromLocal8Bit(P.readAllStandardOutput());
    // "1032 bytes from 10.1.2.3: icmp_seq=1 ttl=64 time=0.031 ms": the count includes the
    // 8-byte ICMP header.
    static const QRegularExpression ReplyLine(
        QStringLiteral("^(\\d+) bytes from ([0-9.]+)[^\\n]*?(?:time=([0-9.]+) ms)?$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch M = ReplyLine.match(Out);
    if (P.exitStatus() == QProcess::NormalExit && P.exitCode() == 0 && M.hasMatch()) {
        TIcmpReply Reply;
        Reply.FromAddress = M.captured(2);
        Reply.BytesReceived = qMax(0, M.captured(1).toInt() - int(sizeof(icmphdr)));
        Reply.RoundTripMs = int(M.captured(3).toDouble());
        return Reply;
    }
    // Exit code 1: sent, but no reply in time. Anything else is the program's own failure.
    if (P.exitStatus() == QProcess::NormalExit && P.exitCode() == 1) return std::nullopt;
    const QString Err = QString::fromLocal8Bit(P.readAllStandardError()).trimmed();
    throw ESocketError(QStringLiteral("The ping program failed (exit code %1)%2")
                           .arg(P.exitCode())
                           .arg(Err.isEmpty() ? QString() : QStringLiteral(": ") + Err));
}

std::optional<TIcmpReply> TFakeIcmpClient::Ping(const QString& Host, int PacketSize, int TimeoutMs) {
    FHosts.append(Host);
    if (FUnresolvable.contains(Host)) throw ESocketError(QStringLiteral("Cannot resolve host \"%1\"").arg(Host));
    if (FAnswering.value(Host, false)) {
        Clock().Sleep(unsigned(qMax(0, FReplyDelayMs)));
        return TIcmpReply{Host, PacketSize, FReplyDelayMs};
    }
    Clock().Sleep(unsigned(qMax(0, TimeoutMs)));
    return std::nullopt;
}

namespace {
std::shared_ptr<IIcmpClient>& Current() {
    static std::shared_ptr<IIcmpClient> Client = std::make_shared<TIcmpClient>();
    return Client;
}
} // namespace

IIcmpClient& IcmpClient() { return *Current(); }

void SetIcmpClient(std::shared_ptr<IIcmpClient> Service) {
    Current() = Service ? std::move(Service) : std::make_shared<TIcmpClient>();
}
