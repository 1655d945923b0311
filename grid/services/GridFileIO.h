#pragma once
// What the grid's file writers and loaders share: the progress report and the lock a loader holds
// while it lets pending events run.
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <vector>

class TExtStringGrid;
class QEvent;

// OnFileProgress as a percentage of Done out of Total, to the nearest integer and never outside
// 0..100, fired only when the value changes (the first report always fires).
class TGridFileProgress {
public:
    explicit TGridFileProgress(TExtStringGrid* Grid) : FGrid(Grid) {}
    void Report(qint64 Done, qint64 Total);
    // A percentage already worked out.
    void ReportPercent(double Percent);

private:
    TExtStringGrid* FGrid;
    int FLast = -1;
};

// Held by a loader for its whole run. While it lives the grid takes no input (keys, mouse, wheel
// and drops meant for it or its editors are dropped), its window does not close and neither it nor
// anything holding it is deleted; a deletion asked for meanwhile is asked for again at the end.
// Poll lets the application's pending events run, at most once every 50 ms.
class TGridFileLoadLock : public QObject {
public:
    explicit TGridFileLoadLock(TExtStringGrid* Grid);
    ~TGridFileLoadLock() override;
    TGridFileLoadLock(const TGridFileLoadLock&) = delete;
    TGridFileLoadLock& operator=(const TGridFileLoadLock&) = delete;
    void Poll();
    static constexpr uint64_t PollInterval = 50;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TExtStringGrid* FGrid;
    uint64_t FLastPoll;
    bool FFiltering = false;
    std::vector<QPointer<QObject>> FDeferredDeletes;
};

// A cell's text as one line of the cell text formats, and back. A line break pair becomes
// characters 9 and 8 and a NUL character 1; a lone CR or LF, and any 9, 8, 1 or ESC the text holds
// itself, become ESC and a letter, so that no text can split its line or read back as another.
// A text without CR, LF, 8 or ESC is written as it is. Decoding keeps only the first line unless
// Whole is set.
QString EncodeCellFileText(const QString& Text);
QString DecodeCellFileText(const QString& Text, bool Whole);
// The integers of the cell text file's own lines: blanks skipped, an optional sign, a "$", "x" or
// "0x" prefix for hexadecimal, then digits up to the first other character; 0 without digits.
// Values beyond the 32-bit range are held at its ends.
int LeadingInt(QStringView Text);
