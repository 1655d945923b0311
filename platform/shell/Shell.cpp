#include "platform/shell/Shell.h"

#include "platform/rtl/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// ---- processes -------------------------------------------------------------------------------
namespace {

class TRealProcessLauncher : public IProcessLauncher {
public:
    std::optional<int64_t> Start(const QString& Program, const QStringList& Arguments, bool) override {
        ReapLeftovers();
        if (Program.isEmpty()) return std::nullopt;
        std::vector<std::string> Args;
        Args.push_back(Program.toStdString());
        for (const QString& A : Arguments) Args.push_back(A.toStdString());
        std::vector<char*> Argv;
        for (std::string& A : Args) Argv.push_back(A.data());
        Argv.push_back(nullptr);
        pid_t Pid = 0;
        // posix_spawnp reports a program that cannot be run (missing, not executable) as an error
        // here rather than as a child that exits at once.
        const int Rc = Program.contains('/')
            ? posix_spawn(&Pid, Args[0].c_str(), nullptr, nullptr, Argv.data(), environ)
            : posix_spawnp(&Pid, Args[0].c_str(), nullptr, nullptr, Argv.data(), environ);
        if (Rc != 0) return std::nullopt;
        FRunning.insert(Pid);
        return int64_t(Pid);
    }

    bool HasEnded(int64_t Pid) override {
        if (!FRunning.count(pid_t(Pid))) return true;
        int Status = 0;
        const pid_t R = ::waitpid(pid_t(Pid), &Status, WNOHANG);
        if (R == 0) return false;
        if (R < 0 && errno == EINTR) return false;
        FRunning.erase(pid_t(Pid));
        return true;
    }

private:
    // A program that outlived its wait ends some time later; reaping it here keeps it from
    // staying behind as a zombie for the rest of the session.
    void ReapLeftovers() {
        for (auto It = FRunning.begin(); It != FRunning.end();) {
            int Status = 0;
            const pid_t R = ::waitpid(*It, &Status, WNOHANG);
            It = (R == 0 || (R < 0 && errno == EINTR)) ? std::next(It) : FRunning.erase(It);
        }
    }
    std::set<pid_t> FRunning;
};

std::shared_ptr<IProcessLauncher>& CurrentLauncher() {
    static std::shared_ptr<IProcessLauncher> L = std::make_shared<TRealProcessLauncher>();
    return L;
}

} // namespace

IProcessLauncher& ProcessLauncher() { return *CurrentLauncher(); }

void SetProcessLauncher(std::shared_ptr<IProcessLauncher> Service) {
    CurrentLauncher() = Service ? std::move(Service) : std::make_shared<TRealProcessLauncher>();
}

TWaitResult StartAndWait(const QString& Program, const QString& Parameters, bool Hidden, unsigned LimitMs,
                         unsigned PollMs) {
    const std::optional<int64_t> Pid = ProcessLauncher().Start(Program, QProcess::splitCommand(Parameters), Hidden);
    if (!Pid) return TWaitResult::NotStarted;
    const uint64_t Start = Clock().TickCount();
    for (;;) {
        if (ProcessLauncher().HasEnded(*Pid)) return TWaitResult::Ended;
        if (Clock().TickCount() - Start > LimitMs) return TWaitResult::TimedOut;
        Clock().Sleep(PollMs);
    }
}

std::optional<int64_t> TFakeProcessLauncher::Start(const QString& Program, const QStringList& Arguments, bool Hidden) {
    FStarts.append({Program, Arguments, Hidden});
    if (FMissing.contains(Program)) return std::nullopt;
    FPolls = 0;
    return int64_t(1000 + FStarts.size());
}

bool TFakeProcessLauncher::HasEnded(int64_t) {
    ++FPolls;
    return FRunPolls >= 0 && FPolls > FRunPolls;
}

// ---- links -----------------------------------------------------------------------------------
namespace {

class TXdgLinkOpener : public ILinkOpener {
public:
    bool OpenLink(const QString& Url) override {
        // The address goes to xdg-open as one argument, never through a shell; a text that
        // xdg-open would take for an option is refused.
        const QString U = Url.trimmed();
        if (U.isEmpty() || U.startsWith('-')) return false;
        return ProcessLauncher().Start(QStringLiteral("xdg-open"), {U}, false).has_value();
    }
};

std::shared_ptr<ILinkOpener>& CurrentOpener() {
    static std::shared_ptr<ILinkOpener> O = std::make_shared<TXdgLinkOpener>();
    return O;
}

} // namespace

ILinkOpener& LinkOpener() { return *CurrentOpener(); }

void SetLinkOpener(std::shared_ptr<ILinkOpener> Service) {
    CurrentOpener() = Service ? std::move(Service) : std::make_shared<TXdgLinkOpener>();
}

// ---- serial ports ----------------------------------------------------------------------------
QStringList ScanSerialPorts(const QString& DevDir, const std::function<bool(const QString&)>& Probe) {
    static const QString Kinds[] = {QStringLiteral("ttyS"), QStringLiteral("ttyUSB"), QStringLiteral("ttyACM")};
    static const QRegularExpression Name(QStringLiteral("^(ttyS|ttyUSB|ttyACM)(\\d+)$"));
    struct TPort {
        int Kind;
        qlonglong Number;
        QString Path;
    };
    std::vector<TPort> Ports;
    const QDir Dir(DevDir);
    for (const QString& Entry : Dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch M = Name.match(Entry);
        if (!M.hasMatch()) continue;
        const QString Path = Dir.filePath(Entry);
        if (!Probe(Path)) continue;
        const int Kind = int(std::find(std::begin(Kinds), std::end(Kinds), M.captured(1)) - std::begin(Kinds));
        Ports.push_back({Kind, M.captured(2).toLongLong(), Path});
    }
    std::sort(Ports.begin(), Ports.end(),
              [](const TPort& A, const TPort& B) { return A.Kind != B.Kind ? A.Kind < B.Kind : A.Number < B.Number; });
    QStringList Result;
    for (const TPort& P : Ports) Result.append(P.Path);
    return Result;
}

bool SerialNodeIsPort(const QString& Path, int OpenError, std::optional<int> UartType) {
    // The legacy ttyS nodes exist whether or not a UART stands behind them; the driver says
    // "unknown" for the empty ones. USB and ACM drivers leave the type unset (it reads as
    // "unknown" too) although the port is there, so only ttyS nodes are judged by it.
    const bool Legacy = QFileInfo(Path).fileName().startsWith(QLatin1String("ttyS"));
    if (Legacy && UartType && *UartType == PORT_UNKNOWN) return false;
    if (OpenError != 0)
        return OpenError == EACCES || OpenError == EBUSY || OpenError == EPERM; // there, but not ours to open
    return true;
}

namespace {

// The UART type the kernel publishes for a serial node, readable without the rights to open the
// node itself (so a user outside the dialout group is not shown every empty ttyS node).
std::optional<int> PublishedUartType(const QString& Path) {
    QFile F(QStringLiteral("/sys/class/tty/%1/type").arg(QFileInfo(Path).fileName()));
    if (!F.open(QIODevice::ReadOnly)) return std::nullopt;
    bool Ok = false;
    const int Type = F.readAll().trimmed().toInt(&Ok);
    return Ok ? std::optional<int>(Type) : std::nullopt;
}

} // namespace

bool ProbeSerialPort(const QString& Path) {
    const QByteArray P = QFile::encodeName(Path);
    const int Fd = ::open(P.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        const int Error = errno == 0 ? EIO : errno;
        return SerialNodeIsPort(Path, Error, PublishedUartType(Path));
    }
    std::optional<int> Type;
    serial_struct Info{};
    if (::ioctl(Fd, TIOCGSERIAL, &Info) == 0) Type = Info.type;
    ::close(Fd);
    return SerialNodeIsPort(Path, 0, Type);
}

namespace {

class TDevSerialPorts : public ISerialPorts {
public:
    QStringList List() override { return ScanSerialPorts(QStringLiteral("/dev"), ProbeSerialPort); }
};

std::shared_ptr<ISerialPorts>& CurrentPorts() {
    static std::shared_ptr<ISerialPorts> S = std::make_shared<TDevSerialPorts>();
    return S;
}

} // namespace

ISerialPorts& SerialPorts() { return *CurrentPorts(); }

void SetSerialPorts(std::shared_ptr<ISerialPorts> Service) {
    CurrentPorts() = Service ? std::move(Service) : std::make_shared<TDevSerialPorts>();
}
