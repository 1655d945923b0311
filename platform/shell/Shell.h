#pragma once
// Starting programs, opening links and listing serial ports. Each goes through a replaceable
// service so that tests start nothing, open nothing and see the ports they set up.
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// ---- processes -------------------------------------------------------------------------------
class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // Starts Program with Arguments (each passed as it stands, no shell in between). Hidden is
    // the caller's wish for no window; on Linux a program opens its own windows or none, so the
    // real launcher passes it on to nobody. The process id, or nullopt when it cannot be started.
    virtual std::optional<int64_t> Start(const QString& Program, const QStringList& Arguments, bool Hidden) = 0;
    // Whether the process has ended, without waiting. An ended process is reaped here.
    virtual bool HasEnded(int64_t Pid) = 0;
};

IProcessLauncher& ProcessLauncher(); // real by default
void SetProcessLauncher(std::shared_ptr<IProcessLauncher> Service); // nullptr restores it

enum class TWaitResult { NotStarted, Ended, TimedOut };

// Starts Program with the command line Parameters (split at blanks, double quotes grouping
// words, as command lines are written; never run through a shell), then polls every PollMs on the clock service until
// the process has ended or more than LimitMs have passed. Processes nothing meanwhile. A program
// still running at the limit keeps running.
TWaitResult StartAndWait(const QString& Program, const QString& Parameters, bool Hidden, unsigned LimitMs,
                         unsigned PollMs);

// A launcher for tests: starts nothing, records each start; a started "process" ends after it
// has been polled RunPolls times (0: ended at the first poll; -1: never). Programs set as
// missing cannot be started.
class TFakeProcessLauncher : public IProcessLauncher {
public:
    struct TStart {
        QString Program;
        QStringList Arguments;
        bool Hidden = false;
    };
    void SetRunPolls(int Polls) { FRunPolls = Polls; }
    void SetMissing(const QString& Program) { FMissing.append(Program); }
    const QList<TStart>& Starts() const { return FStarts; }
    int Polls() const { return FPolls; }
    std::optional<int64_t> Start(const QString& Program, const QStringList& Arguments, bool Hidden) override;
    bool HasEnded(int64_t Pid) override;

private:
    QList<TStart> FStarts;
    QStringList FMissing;
    int FRunPolls = 0;
    int FPolls = 0;
};

// ---- links -----------------------------------------------------------------------------------
class ILinkOpener {
public:
    virtual ~ILinkOpener() = default;
    // Opens the address in the user's browser (or the program the desktop has for it). False
    // when it cannot be handed over.
    virtual bool OpenLink(const QString& Url) = 0;
};

ILinkOpener& LinkOpener(); // xdg-open through ProcessLauncher() by default
void SetLinkOpener(std::shared_ptr<ILinkOpener> Service);
inline bool OpenLink(const QString& Url) { return LinkOpener().OpenLink(Url); }

class TFakeLinkOpener : public ILinkOpener {
public:
    bool OpenLink(const QString& Url) override {
        FLinks.append(Url);
        return FResult;
    }
    const QStringList& Links() const { return FLinks; }
    void SetResult(bool Result) { FResult = Result; }

private:
    QStringList FLinks;
    bool FResult = true;
};

// ---- serial ports ----------------------------------------------------------------------------
class ISerialPorts {
public:
    virtual ~ISerialPorts() = default;
    // Device paths of the serial ports present ("/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0"):
    // ttyS first, then ttyUSB, then ttyACM, each by ascending number. A port that exists but
    // cannot be opened for lack of rights, or is busy, is listed too.
    virtual QStringList List() = 0;
};

ISerialPorts& SerialPorts(); // scans /dev by default
void SetSerialPorts(std::shared_ptr<ISerialPorts> Service);
inline QStringList ListSerialPorts() { return SerialPorts().List(); }

// The scan the real service does, on any folder and with any probe (which tells whether a
// device node is a port that is there), so that its selection and order can be tested.
QStringList ScanSerialPorts(const QString& DevDir, const std::function<bool(const QString& Path)>& Probe);
bool ProbeSerialPort(const QString& Path); // the real probe
// The real probe's verdict on a node, from what opening it gave (0 or the errno) and the UART type
// its driver reports (nullopt when neither the node nor the kernel's published type says).
bool SerialNodeIsPort(const QString& Path, int OpenError, std::optional<int> UartType);

class TFakeSerialPorts : public ISerialPorts {
public:
    explicit TFakeSerialPorts(QStringList Ports = {}) : FPorts(std::move(Ports)) {}
    QStringList List() override { return FPorts; }
    void Set(const QStringList& Ports) { FPorts = Ports; }

private:
    QStringList FPorts;
};
