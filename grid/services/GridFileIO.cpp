#include "grid/services/GridFileIO.h"

#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

// ---- TGridFileProgress --------------------------------------------------------------------------------
void TGridFileProgress::Report(qint64 Done, qint64 Total) {
    ReportPercent(100.0 * double(Done) / double(std::max<qint64>(1, Total)));
}

void TGridFileProgress::ReportPercent(double Percent) {
    if (!FGrid->OnFileProgress) return;
    // Halves go to the even neighbour, as the platform's rounding does.
    const int P = int(std::clamp(std::nearbyint(Percent), 0.0, 100.0));
    if (P == FLast) return;
    FLast = P;
    FGrid->OnFileProgress(FGrid, short(P));
}

// ---- TGridFileLoadLock --------------------------------------------------------------------------------
TGridFileLoadLock::TGridFileLoadLock(TExtStringGrid* Grid) : FGrid(Grid), FLastPoll(Clock().TickCount()) {
    ++FGrid->FFileLoading;
    if (QCoreApplication* App = QCoreApplication::instance()) {
        App->installEventFilter(this);
        FFiltering = true;
    }
}

TGridFileLoadLock::~TGridFileLoadLock() {
    if (FFiltering)
        if (QCoreApplication* App = QCoreApplication::instance()) App->removeEventFilter(this);
    --FGrid->FFileLoading;
    for (const QPointer<QObject>& O : FDeferredDeletes)
        if (O) O->deleteLater();
}

void TGridFileLoadLock::Poll() {
    const uint64_t Now = Clock().TickCount();
    if (Now - FLastPoll < PollInterval) return;
    FLastPoll = Now;
    if (Application)
        Application->ProcessMessages();
    else if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool TGridFileLoadLock::eventFilter(QObject* Watched, QEvent* Event) {
    auto* W = qobject_cast<QWidget*>(Watched);
    switch (Event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            // Input for the grid or an editor inside it would change the cells being loaded.
            return W && (W == FGrid || FGrid->isAncestorOf(W));
        case QEvent::Close:
            if (W && W == FGrid->window()) {
                Event->ignore();
                return true;
            }
            return false;
        case QEvent::DeferredDelete:
            // The grid, or something it lives in, goes only once the load is over.
            if (W && (W == FGrid || W->isAncestorOf(FGrid))) {
                FDeferredDeletes.emplace_back(Watched);
                return true;
            }
            return false;
        default: return false;
    }
}

// ---- the cell text line codec ---------------------------------------------------------------------
namespace {
constexpr char16_t Esc = 0x1B;
constexpr char16_t CellCR = 9;
constexpr char16_t CellLF = 8;
constexpr char16_t CellNul = 1;

bool NeedsEncoding(const QString& Text) {
    for (QChar C : Text) {
        const char16_t U = C.unicode();
        if (U == u'\r' || U == u'\n' || U == CellLF || U == Esc) return true;
    }
    return false;
}
} // namespace

QString EncodeCellFileText(const QString& Text) {
    if (!NeedsEncoding(Text)) return Text;
    QString R;
    R.reserve(Text.size() + 8);
    const int N = int(Text.size());
    for (int I = 0; I < N; ++I) {
        const char16_t U = Text.at(I).unicode();
        switch (U) {
            case u'\r':
                if (I + 1 < N && Text.at(I + 1) == QLatin1Char('\n')) {
                    R += QChar(CellCR);
                    R += QChar(CellLF);
                    ++I;
                } else {
                    R += QChar(Esc);
                    R += QLatin1Char('r');
                }
                break;
            case u'\n':
                R += QChar(Esc);
                R += QLatin1Char('n');
                break;
            case 0: R += QChar(CellNul); break;
            case CellCR:
                R += QChar(Esc);
                R += QLatin1Char('t');
                break;
            case CellLF:
                R += QChar(Esc);
                R += QLatin1Char('b');
                break;
            case CellNul:
                R += QChar(Esc);
                R += QLatin1Char('a');
                break;
            case Esc:
                R += QChar(Esc);
                R += QLatin1Char('e');
                break;
            default: R += QChar(U);
        }
    }
    return R;
}

QString DecodeCellFileText(const QString& Text, bool Whole) {
    QString R;
    if (!Text.contains(QChar(CellLF)) && !Text.contains(QChar(Esc))) {
        R = Text;
    } else {
        R.reserve(Text.size());
        const int N = int(Text.size());
        for (int I = 0; I < N; ++I) {
            const char16_t U = Text.at(I).unicode();
            if (U == Esc && I + 1 < N) {
                const char16_t Next = Text.at(I + 1).unicode();
                char16_t Out = 0;
                switch (Next) {
                    case u'r': Out = u'\r'; break;
                    case u'n': Out = u'\n'; break;
                    case u't': Out = CellCR; break;
                    case u'b': Out = CellLF; break;
                    case u'a': Out = CellNul; break;
                    case u'e': Out = Esc; break;
                    default: Out = 0xFFFF;
                }
                if (Out != 0xFFFF) {
                    R += QChar(Out);
                    ++I;
                    continue;
                }
            }
            if (U == CellCR)
                R += QLatin1Char('\r');
            else if (U == CellLF)
                R += QLatin1Char('\n');
            else if (U == CellNul)
                R += QChar(0);
            else
                R += QChar(U);
        }
    }
    if (Whole) return R;
    const int Cut = int(R.indexOf(QLatin1Char('\r')));
    const int CutLF = int(R.indexOf(QLatin1Char('\n')));
    int At = Cut < 0 ? CutLF : (CutLF < 0 ? Cut : std::min(Cut, CutLF));
    return At < 0 ? R : R.left(At);
}

int LeadingInt(QStringView Text) {
    int I = 0;
    const int N = int(Text.size());
    while (I < N && Text.at(I) == QLatin1Char(' ')) ++I;
    bool Negative = false;
    if (I < N && (Text.at(I) == QLatin1Char('-') || Text.at(I) == QLatin1Char('+'))) {
        Negative = Text.at(I) == QLatin1Char('-');
        ++I;
    }
    int Base = 10;
    if (I < N && Text.at(I) == QLatin1Char('$')) {
        Base = 16;
        ++I;
    } else if (I < N && (Text.at(I) == QLatin1Char('x') || Text.at(I) == QLatin1Char('X'))) {
        Base = 16;
        ++I;
    } else if (I + 1 < N && Text.at(I) == QLatin1Char('0') &&
               (Text.at(I + 1) == QLatin1Char('x') || Text.at(I + 1) == QLatin1Char('X'))) {
        Base = 16;
        I += 2;
    }
    qint64 V = 0;
    for (; I < N; ++I) {
        const char16_t U = Text.at(I).unicode();
        int Digit = -1;
        if (U >= u'0' && U <= u'9')
            Digit = U - u'0';
        else if (Base == 16 && U >= u'a' && U <= u'f')
            Digit = 10 + (U - u'a');
        else if (Base == 16 && U >= u'A' && U <= u'F')
            Digit = 10 + (U - u'A');
        if (Digit < 0) break;
        V = std::min<qint64>(V * Base + Digit, qint64(1) << 32);
    }
    if (Negative) V = -V;
    return int(std::clamp<qint64>(V, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
