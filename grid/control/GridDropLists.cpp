#include "grid/control/GridDropLists.h"

#include "grid/control/ExtGrid.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StateScope.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

// ---- placement ----------------------------------------------------------------------------------------
TRect PlaceInWorkArea(TRect R, int FlipTop, const TRect& Area) {
    if (Area.IsEmpty()) return R;
    const int W = R.Width(), H = R.Height();
    if (R.Bottom > Area.Bottom && FlipTop - H >= Area.Top) R = Bounds(R.Left, FlipTop - H, W, H);
    if (R.Right > Area.Right) R = Bounds(Area.Right - W, R.Top, W, H);
    if (R.Left < Area.Left) R = Bounds(Area.Left, R.Top, W, H);
    if (R.Bottom > Area.Bottom) R = Bounds(R.Left, Area.Bottom - H, W, H);
    if (R.Top < Area.Top) R = Bounds(R.Left, Area.Top, W, H);
    return R;
}

TRect WorkAreaAt(const TPoint& P) {
    QScreen* S = QGuiApplication::screenAt(QPoint(P.X, P.Y));
    if (!S) S = QGuiApplication::primaryScreen();
    if (!S) return TRect{};
    const QRect R = S->availableGeometry();
    return Bounds(R.x(), R.y(), R.width(), R.height());
}

// ---- TDropListBase ------------------------------------------------------------------------------------
TDropListBase::TDropListBase(TComponent* AOwner, TExtStringGrid* Grid) : TListBox(AOwner), FGrid(Grid) {
    // A popup of the grid: Qt deletes it with the grid, a press outside reaches it first.
    setParent(Grid, Qt::Popup | Qt::FramelessWindowHint);
    SetBounds(0, 0, 0, 0);
    SetVisible(false);
}

void TDropListBase::DropAt(const TRect& R, int FlipTop) {
    TRect S = R;
    int Flip = FlipTop;
    if (FGrid) {
        const TPoint P = FGrid->ClientToScreen(TPoint{R.Left, R.Top});
        S = Bounds(P.X, P.Y, R.Width(), R.Height());
        Flip = FGrid->ClientToScreen(TPoint{0, FlipTop}).Y;
    }
    S = PlaceInWorkArea(S, Flip, WorkAreaAt(TPoint{S.Left, S.Top}));
    setGeometry(S.Left, S.Top, S.Width(), S.Height());
    SetVisible(true);
    raise();
    activateWindow();
    SetFocus();
    if (NativeWidget()) NativeWidget()->setFocus(Qt::PopupFocusReason);
}

void TDropListBase::Select(int ItemIndex) {
    SetVisible(false);
    if (OnSelect) OnSelect(this, ItemIndex);
}

bool TDropListBase::event(QEvent* E) {
    // A press outside the popup cancels it, as the platform's cancel-mode message does for a
    // list that drops from a grid; the press is used up.
    if (E->type() == QEvent::MouseButtonPress || E->type() == QEvent::MouseButtonDblClick) {
        const QPoint P = static_cast<QMouseEvent*>(E)->position().toPoint();
        if (!rect().contains(P)) {
            QPointer<TDropListBase> Self(this);
            Guard(this, [&] {
                FCancelPoint = TPoint{P.x(), P.y()};
                Perform(CM_CANCELMODE, 0, 0);
            });
            if (Self) {
                FCancelPoint.reset();
                if (isVisible()) SetVisible(false);
            }
            return true;
        }
    }
    // Closed by the windowing system (another application took the input): cancelled too.
    if (E->type() == QEvent::Close) {
        E->ignore();
        if (isVisible()) {
            Guard(this, [&] {
                FCancelPoint = TPoint{-1, -1};
                Perform(CM_CANCELMODE, 0, 0);
            });
            FCancelPoint.reset();
            SetVisible(false);
        }
        return true;
    }
    return TListBox::event(E);
}

void TDropListBase::WndProc(TMessage& Message) {
    if (Message.Msg == CM_CANCELMODE) {
        TPoint P;
        if (FCancelPoint)
            P = *FCancelPoint;
        else
            P = ScreenToClient(Mouse->CursorPos());
        if (P.X < 0 || P.Y < 0 || P.X >= Width() || P.Y >= Height()) {
            if (FGrid) FGrid->SetFilterCol(-1);
            SetVisible(false);
        }
    }
    TListBox::WndProc(Message);
}

// ---- TDropList ----------------------------------------------------------------------------------------
void TDropList::WndProc(TMessage& Message) {
    QPointer<TDropList> Self(this);
    const Cardinal Msg = Message.Msg;
    const bool Enter = Msg == WM_CHAR && Message.WParam == VK_RETURN;
    TDropListBase::WndProc(Message);
    if (!Self) return;
    // After the list box has moved its selection: Enter and a release choose.
    if (Enter || Msg == WM_LBUTTONUP) Select(ItemIndex());
}

// ---- TDropCheckList -----------------------------------------------------------------------------------
TDropCheckList::TDropCheckList(TComponent* AOwner, TExtStringGrid* Grid) : TDropListBase(AOwner, Grid) {
    QObject::connect(Native(), &QListWidget::itemChanged, Native(), [this](QListWidgetItem*) {
        if (FSetting) return;
        Guard(this, [this] {
            if (OnSelect) OnSelect(this, -1);
        });
    });
}

bool TDropCheckList::Checked(int Index) const {
    if (Index < 0 || Index >= Native()->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return Native()->item(Index)->checkState() == Qt::Checked;
}

void TDropCheckList::SetChecked(int Index, bool Value) {
    if (Index < 0 || Index >= Native()->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    const TStateScope<bool> Setting(FSetting, true);
    Native()->item(Index)->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
}

void TDropCheckList::MakeCheckable() {
    const TStateScope<bool> Setting(FSetting, true);
    for (int I = 0; I < Native()->count(); ++I) {
        QListWidgetItem* It = Native()->item(I);
        It->setFlags(It->flags() | Qt::ItemIsUserCheckable);
        It->setCheckState(Qt::Unchecked);
    }
}

// ---- TNoActiveForm ------------------------------------------------------------------------------------
TNoActiveForm::TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {
    // A bare popup with a thin border that neither takes input nor the activation.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetEnabled(false);
}

void TNoActiveForm::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_MOUSEACTIVATE: Message.Result = NoActivate; return;
        case WM_ACTIVATE:
            TForm::WndProc(Message);
            Message.Result = 1;
            return;
        default: TForm::WndProc(Message);
    }
}

void TNoActiveForm::Show() { SetVisible(true); }

void TNoActiveForm::SetVisible(bool Value) {
    if (Value) {
        const TRect R = Bounds(Left(), Top(), Width(), Height());
        const TRect P = PlaceInWorkArea(R, R.Top, WorkAreaAt(TPoint{R.Left, R.Top}));
        if (P.Left != R.Left || P.Top != R.Top) move(P.Left, P.Top);
    }
    // TForm's showing without its raise and activation.
    TForm::SetVisible(Value);
}

void TNoActiveForm::PaintHandler() {
    TForm::PaintHandler();
    TCanvas C;
    C.BeginPaintOn(this);
    C.Brush()->SetColor(clWindowFrame);
    C.FrameRect(ClientRect());
    C.EndPaint();
}
