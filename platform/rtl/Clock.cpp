#include "platform/rtl/Clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace {
class TRealClock : public IClock {
public:
    TRealClock() { FTimer.start(); }
    QDateTime CurrentDateTime() override { return QDateTime::currentDateTime(); }
    uint64_t TickCount() override { return static_cast<uint64_t>(FTimer.elapsed()); }
    void Sleep(unsigned Ms) override { QThread::msleep(Ms); }

private:
    QElapsedTimer FTimer;
};

std::shared_ptr<IClock>& Current() {
    static std::shared_ptr<IClock> clock = std::make_shared<TRealClock>();
    return clock;
}
} // namespace

IClock& Clock() { return *Current(); }

void SetClock(std::shared_ptr<IClock> Service) {
    Current() = Service ? std::move(Service) : std::make_shared<TRealClock>();
}
