// The quick-configuration box a grid shows in its bottom right corner while a form is designed:
// switch editing, show column numbers, pick a look, or close the box. At run time nothing of it
// is drawn or hit.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Resources.h"

#include <QImage>

namespace {

const QString AllowEditText = QStringLiteral("Allow edit");
const QString ColumnNumbersText = QStringLiteral("Column numbers");
const QString SetLookText = QStringLiteral("Set look: ");

// The box's font on a canvas.
void SetBoxFont(TCanvas* C) {
    C->Font()->SetName(QStringLiteral("Tahoma"));
    C->Font()->SetSize(8);
}

} // namespace

QString TExtStringGrid::LookDisplayName(TGridLook Value) {
    switch (Value) {
        case glStandard: return QStringLiteral("Standard");
        case glSoft: return QStringLiteral("Soft");
        case glClassic: return QStringLiteral("Classic");
        case glExt: return QStringLiteral("Ext");
        case glXP: return QStringLiteral("Windows XP");
        case glListView: return QStringLiteral("ListView");
        case glVista: return QStringLiteral("Windows Vista");
        case glWin7: return QStringLiteral("Windows 7");
        case glOffice2007: return QStringLiteral("Office2007");
        case glCustom: break; // a custom look has no name of its own
    }
    return QString();
}

TRect TExtStringGrid::DesignHelperRect() {
    TCanvas Measure;
    SetBoxFont(&Measure);
    const int th = Measure.TextHeight(QStringLiteral("gh"));
    const TRect C = Rect(0, 0, ClientWidth(), ClientHeight());
    return Rect(C.Right - 150, C.Bottom - 4 * th - 18, C.Right, C.Bottom);
}

int TExtStringGrid::DesignHelperHitTest(int X, int Y) {
    if (!IsDesigning() || !ShowDesignHelper()) return -1;
    TCanvas Measure;
    SetBoxFont(&Measure);
    const int th = Measure.TextHeight(QStringLiteral("gh"));
    const int s = th + 2;
    const TRect C = Rect(0, 0, ClientWidth(), ClientHeight());
    const int T0 = C.Bottom - 4 * th - 18;
    int Item = -1;
    if (X > C.Right - 16 && T0 < Y && Y < T0 + 16) Item = 4;
    if (C.Right - 150 < X && X < C.Right - 132 + Measure.TextWidth(AllowEditText) && T0 + s + 4 < Y &&
        Y < T0 + 2 * s + 4)
        Item = 1;
    if (C.Right - 150 < X && X < C.Right - 132 + Measure.TextWidth(ColumnNumbersText) && T0 + 2 * s + 4 < Y &&
        Y < T0 + 3 * s + 4)
        Item = 2;
    if (C.Right - 150 < X && X < C.Right - 150 + Measure.TextWidth(SetLookText + LookDisplayName(Look())) &&
        T0 + 3 * s + 4 < Y && Y < T0 + 4 * s + 4)
        Item = 3;
    return Item;
}

void TExtStringGrid::PaintDesignHelper() { PaintDesignHelperOn(Canvas()); }

void TExtStringGrid::PaintDesignHelperOn(TCanvas* C) {
    if (!C || !IsDesigning() || !ShowDesignHelper()) return;
    SetBoxFont(C);
    const int th = C->TextHeight(QStringLiteral("gh"));
    const TRect Box = DesignHelperRect();
    C->Brush()->SetColor(clInfoBk);
    C->Pen()->SetColor(clGray);
    C->Font()->SetColor(clNavy);
    C->Font()->SetStyle({fsUnderline});
    C->Rectangle(Box);
    C->TextOut(Box.Left + 4, Box.Top + 4, QStringLiteral("Quick config [v") + Version() + QStringLiteral("]"));
    const QImage Close = ResourceBitmap(QStringLiteral("ESGCLOSE"));
    if (!Close.isNull()) {
        TBitmap B;
        B.SetImage(Close);
        C->Draw(Box.Right - 16, Box.Top + 2, &B);
    }
    const TPoint Mouse = ScreenToClient(::Mouse->CursorPos());
    const int Hot = DesignHelperHitTest(Mouse.X, Mouse.Y);
    auto ItemFont = [&](int Item) { C->Font()->SetStyle(Hot == Item ? TFontStyles{fsUnderline} : TFontStyles{}); };
    const int OldMode = SetBkMode(C, TRANSPARENT);
    ItemFont(1);
    DrawCheckBox(C, Rect(Box.Left + 4, Box.Top + th + 4, Box.Left + 20, Box.Top + th + 20),
                 Options().Contains(goEditing), cbUnchecked, false, csWinXP, false, true);
    C->TextOut(Box.Left + 22, Box.Top + th + 6, AllowEditText);
    ItemFont(2);
    DrawCheckBox(C, Rect(Box.Left + 4, Box.Top + 2 * th + 6, Box.Left + 20, Box.Top + 2 * th + 22), FColumnNumbersShown,
                 cbUnchecked, false, csWinXP, false, true);
    C->TextOut(Box.Left + 22, Box.Top + 2 * th + 8, ColumnNumbersText);
    ItemFont(3);
    C->TextOut(Box.Left + 4, Box.Top + 3 * th + 10, SetLookText + LookDisplayName(Look()));
    SetBkMode(C, OldMode);
    C->Font()->SetStyle({});
}

void TExtStringGrid::DesignHelperClick(int X, int Y) {
    const int Item = DesignHelperHitTest(X, Y);
    switch (Item) {
        case 1: {
            TGridOptions O = Options();
            if (O.Contains(goEditing))
                O >> goEditing;
            else
                O << goEditing;
            SetOptions(O);
            break;
        }
        case 2:
            FColumnNumbersShown = !FColumnNumbersShown;
            Invalidate();
            break;
        case 3: {
            // The looks in menu order with their command numbers (the look's ordinal + 1); the
            // menu spells the office look apart from its display name.
            static const TGridLook Looks[] = {glStandard,   glSoft, glClassic, glExt, glListView,
                                              glOffice2007, glXP,   glVista,   glWin7};
            QStringList Entries;
            std::vector<int> Commands;
            for (TGridLook L : Looks) {
                Entries << (L == glOffice2007 ? QStringLiteral("Office 2007") : LookDisplayName(L));
                Commands.push_back(int(L) + 1);
            }
            const TPoint At = ClientToScreen(Point(X, Y));
            if (DesignLookMenu) {
                ApplyDesignLookCommand(DesignLookMenu(Entries, Commands, int(Look()) + 1, At));
            } else {
                if (!FDesignMenu) FDesignMenu = new TPopupMenu(this);
                FDesignMenu->Items()->Clear();
                for (size_t i = 0; i < Commands.size(); ++i) {
                    auto* M = new TMenuItem(FDesignMenu);
                    M->SetCaption(Entries[int(i)]);
                    M->SetChecked(Commands[i] == int(Look()) + 1);
                    const int Cmd = Commands[i];
                    M->OnClick = [this, Cmd](TObject*) { ApplyDesignLookCommand(Cmd); };
                    FDesignMenu->Items()->Add(M);
                }
                FDesignMenu->Popup(At.X, At.Y);
            }
            return; // the chosen look nudges the form itself
        }
        case 4: SetShowDesignHelper(false); return;
        default: return;
    }
    NudgeDesignForm();
}

void TExtStringGrid::ApplyDesignLookCommand(int Command) {
    if (Command <= 0) return;
    SetLook(TGridLook(Command - 1));
    Invalidate();
    NudgeDesignForm();
}

void TExtStringGrid::NudgeDesignForm() {
    // The designer registers a change only when the form itself changes.
    if (TForm* F = FindParentForm(this)) {
        F->SetWidth(F->Width() - 1);
        F->SetWidth(F->Width() + 1);
    }
}

bool TExtStringGrid::HandleDesignHitTest(int X, int Y) {
    if (!IsDesigning() || !ShowDesignHelper()) return false;
    const int Item = DesignHelperHitTest(X, Y);
    if (Item != FLastDesignItem) {
        const TRect C = Rect(0, 0, ClientWidth(), ClientHeight());
        InvalidateRect(Rect(C.Right - 150, C.Bottom - 70, C.Right, C.Bottom));
        ++FDesignHelperRepaints;
    }
    FLastDesignItem = Item;
    return Item >= 1 && Item <= 4;
}
