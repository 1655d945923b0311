#pragma once
// The clock and sleeps go through one replaceable service so that no test waits on wall-clock time.
#include <QDateTime>

#include <cstdint>
#include <memory>

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime CurrentDateTime() = 0; // local time
    virtual uint64_t TickCount() = 0; // milliseconds, monotonic
    virtual void Sleep(unsigned Milliseconds) = 0;
};

IClock& Clock(); // the service in force (the real one by default)
void SetClock(std::shared_ptr<IClock> Service); // nullptr restores the real clock

// A clock for tests: time stands still until a test advances it; Sleep advances it.
class TFakeClock : public IClock {
public:
    explicit TFakeClock(const QDateTime& Start) : FNow(Start) {}
    QDateTime CurrentDateTime() override { return FNow; }
    uint64_t TickCount() override { return FTicks; }
    void Sleep(unsigned Ms) override { Advance(Ms); }
    void Advance(unsigned Ms) {
        FTicks += Ms;
        FNow = FNow.addMSecs(Ms);
    }
    void Set(const QDateTime& Now) { FNow = Now; }

private:
    QDateTime FNow;
    uint64_t FTicks = 0;
};
