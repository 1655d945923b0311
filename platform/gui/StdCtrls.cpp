#include "platform/gui/StdCtrls.h"

#include "platform/rtl/StateScope.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <limits>

namespace {
void* ObjectData(TObject* O) { return static_cast<void*>(O); }
TObject* DataObject(const QVariant& V) { return static_cast<TObject*>(V.value<void*>()); }

// Uniform item access over the two Qt list widgets.
struct TComboAccess {
    QComboBox* C;
    int count() const { return C->count(); }
    QString itemText(int I) const { return C->itemText(I); }
    void setItemText(int I, const QString& S) { C->setItemText(I, S); }
    QVariant itemData(int I) const { return C->itemData(I); }
    void setItemData(int I, const QVariant& V) { C->setItemData(I, V); }
    void insertItem(int I, const QString& S, const QVariant& V) {
        // Qt selects the first item put into an empty box; the classic combo box keeps
        // "nothing selected" and its text.
        QSignalBlocker B(C);
        int Cur = C->currentIndex();
        QString Text = C->currentText();
        C->insertItem(I, S, V);
        if (Cur < 0) {
            C->setCurrentIndex(-1);
            if (C->isEditable()) {
                // The text as it was, whatever the length limit (off for this one set).
                QLineEdit* E = C->lineEdit();
                const QValidator* Limit = E->validator();
                E->setValidator(nullptr);
                C->setEditText(Text);
                E->setValidator(Limit);
            }
        }
    }
    void removeItem(int I) { C->removeItem(I); }
    void clearItems() { C->clear(); }
};

struct TListAccess {
    QListWidget* L;
    int count() const { return L->count(); }
    QString itemText(int I) const { return L->item(I)->text(); }
    void setItemText(int I, const QString& S) { L->item(I)->setText(S); }
    QVariant itemData(int I) const { return L->item(I)->data(Qt::UserRole); }
    void setItemData(int I, const QVariant& V) { L->item(I)->setData(Qt::UserRole, V); }
    void insertItem(int I, const QString& S, const QVariant& V) {
        auto* Item = new QListWidgetItem(S);
        Item->setData(Qt::UserRole, V);
        L->insertItem(I, Item);
    }
    void removeItem(int I) { delete L->takeItem(I); }
    void clearItems() { L->clear(); }
};

// The lines of a memo: the text split at line ends.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(QPlainTextEdit* E) : FE(E) {}
    int Count() const override { return int(Lines().size()); }
    QString Get(int Index) const override {
        QStringList L = Lines();
        if (Index < 0 || Index >= L.size()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
        return L[Index];
    }
    void Put(int Index, const QString& S) override {
        QStringList L = Lines();
        if (Index < 0 || Index >= L.size()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
        L[Index] = S;
        SetLines(L);
    }
    void Insert(int Index, const QString& S) override {
        QStringList L = Lines();
        if (Index < 0 || Index > L.size()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
        L.insert(Index, S);
        SetLines(L);
    }
    void Delete(int Index) override {
        QStringList L = Lines();
        if (Index < 0 || Index >= L.size()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
        L.removeAt(Index);
        SetLines(L);
    }
    void Clear() override { FE->setPlainText(QString()); }

private:
    QStringList Lines() const {
        QString T = FE->toPlainText();
        if (T.isEmpty()) return {};
        QStringList L = T.split(QLatin1Char('\n'));
        if (L.size() > 1 && L.last().isEmpty()) L.removeLast();
        return L;
    }
    void SetLines(const QStringList& L) { FE->setPlainText(L.join(QLatin1Char('\n'))); }
    QPlainTextEdit* FE;
};

template <class A>
class TAccessStrings : public TStrings {
public:
    explicit TAccessStrings(A Access) : FA(Access) {}
    int Count() const override { return FA.count(); }
    QString Get(int Index) const override {
        Check(Index);
        return FA.itemText(Index);
    }
    void Put(int Index, const QString& S) override {
        Check(Index);
        FA.setItemText(Index, S);
    }
    TObject* GetObject(int Index) const override {
        Check(Index);
        return DataObject(FA.itemData(Index));
    }
    void PutObject(int Index, TObject* AObject) override {
        Check(Index);
        FA.setItemData(Index, QVariant::fromValue(ObjectData(AObject)));
    }
    void Insert(int Index, const QString& S) override { InsertObject(Index, S, nullptr); }
    void InsertObject(int Index, const QString& S, TObject* AObject) override {
        if (Index < 0 || Index > Count()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
        FA.insertItem(Index, S, QVariant::fromValue(ObjectData(AObject)));
    }
    void Delete(int Index) override {
        Check(Index);
        FA.removeItem(Index);
    }
    void Clear() override { FA.clearItems(); }

private:
    void Check(int Index) const {
        if (Index < 0 || Index >= Count()) Error(QStringLiteral("List index out of bounds (%d)"), Index);
    }
    mutable A FA;
};
} // namespace

// ---- TLabel -----------------------------------------------------------------------------------
TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    AdjustBounds();
    update();
}

void TLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    AdjustBounds();
    update();
}

unsigned TLabel::DrawFlags() const {
    unsigned F = DT_EXPANDTABS;
    if (FWordWrap) F |= DT_WORDBREAK;
    if (!FShowAccelChar) F |= DT_NOPREFIX;
    switch (FAlignment) {
        case taRightJustify: F |= DT_RIGHT; break;
        case taCenter: F |= DT_CENTER; break;
        default: break;
    }
    return F;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    QString Text = Caption();
    if (Text.isEmpty() || (FShowAccelChar && Text == QLatin1String("&"))) Text += QLatin1Char(' ');
    TRect R = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    C->DrawText(Text, R, DrawFlags() | DT_CALCRECT);
    int X = Left();
    if (!FWordWrap) {
        if (FAlignment == taRightJustify)
            X += Width() - R.Width();
        else if (FAlignment == taCenter)
            X += (Width() - R.Width()) / 2;
    }
    SetBounds(X, Top(), FWordWrap ? Width() : R.Width(), R.Height());
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    AdjustBounds();
    update();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    unsigned F = DrawFlags();
    if (!FAutoSize && !FWordWrap) {
        switch (FEllipsisPosition) {
            case epEndEllipsis: F |= DT_END_ELLIPSIS; break;
            case epPathEllipsis: F |= DT_PATH_ELLIPSIS; break;
            case epWordEllipsis: F |= DT_WORD_ELLIPSIS; break;
            case epNone: break;
        }
    }
    if (!FTransparent) {
        C->Brush()->SetColor(Color());
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(R);
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    if (FLayout != tlTop) {
        TRect Calc = R;
        C->DrawText(Caption(), Calc, F | DT_CALCRECT);
        int Dy = FLayout == tlBottom ? R.Height() - Calc.Height() : (R.Height() - Calc.Height()) / 2;
        OffsetRect(R, 0, Dy);
    }
    if (!Enabled()) {
        C->Font()->SetColor(clGrayText);
    }
    C->DrawText(Caption(), R, F);
}

// ---- TLinkLabel -------------------------------------------------------------------------------
TLinkLabel::TLinkLabel(TComponent* AOwner) : TWinControl(AOwner), FLabel(new QLabel()) {
    FLabel->setTextFormat(Qt::RichText);
    FLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    FLabel->setOpenExternalLinks(false);
    SetNativeWidget(FLabel);
    setAutoFillBackground(false);
    SetParentColor(true);
    QObject::connect(FLabel, &QLabel::linkActivated, FLabel,
                     [this](const QString& Link) { TControl::Guard(this, [&] { ClickLink(Link); }); });
    SetBounds(0, 0, 53, 17);
}

void TLinkLabel::ClickLink(const QString& Link) {
    if (OnLinkClick) OnLinkClick(this, Link, sltURL);
}

void TLinkLabel::TextChanged() {
    FLabel->setText(Caption());
    AdjustBounds();
}

void TLinkLabel::FontChanged() {
    TWinControl::FontChanged();
    AdjustBounds();
}

void TLinkLabel::AdjustBounds() {
    if (!FAutoSize) return;
    QSize S = FLabel->sizeHint();
    SetBounds(Left(), Top(), S.width(), S.height());
}

// ---- TCustomEdit ------------------------------------------------------------------------------
QString EditMaskToInputMask(const QString& EditMask) {
    if (EditMask.isEmpty()) return QString();
    // "mask;keep literals;blank"
    QStringList Parts = EditMask.split(QLatin1Char(';'));
    QString Mask = Parts[0];
    QChar Blank = Parts.size() >= 3 && !Parts[2].isEmpty() ? Parts[2][0] : QChar('_');
    QString Out;
    for (int I = 0; I < Mask.size(); ++I) {
        QChar C = Mask[I];
        switch (C.unicode()) {
            case '0': Out += QLatin1Char('9'); break; // required digit
            case '9': Out += QLatin1Char('0'); break; // optional digit
            case '#': Out += QLatin1Char('#'); break;
            case 'L': Out += QLatin1Char('A'); break;
            case 'l': Out += QLatin1Char('a'); break;
            case 'A': Out += QLatin1Char('N'); break;
            case 'a': Out += QLatin1Char('n'); break;
            case 'C': Out += QLatin1Char('X'); break;
            case 'c': Out += QLatin1Char('x'); break;
            case '>': Out += QLatin1Char('>'); break;
            case '<':
                if (I + 1 < Mask.size() && Mask[I + 1] == QLatin1Char('>')) {
                    Out += QLatin1Char('!');
                    ++I;
                } else
                    Out += QLatin1Char('<');
                break;
            case '!': break; // leading blanks: no equivalent, the field is kept as is
            case '\\':
                if (I + 1 < Mask.size()) {
                    Out += QLatin1Char('\\');
                    Out += Mask[++I];
                }
                break;
            case ':':
            case '/': Out += C; break;
            case '_': Out += QLatin1Char(' '); break;
            default:
                // Qt's own field characters taken literally.
                if (QStringLiteral("9AaNnXxDdHhBb0#><!{}[]").contains(C)) Out += QLatin1Char('\\');
                Out += C;
                break;
        }
    }
    return Out + QLatin1Char(';') + Blank;
}

namespace {
// The line edit with its caret rectangle reachable (for the position messages).
class TNativeLineEdit : public QLineEdit {
public:
    using QLineEdit::cursorRect;
};

// The edit's length limit holds back what the user types or pastes, never a text the program
// sets: cutting a longer text on loading would lose its tail when the edit is stored back. Of an
// insertion only as much is kept as fits; where the text is already longer than the limit, only
// as much as the same change removed. (Qt's own maxLength cuts set texts, so it stays off.)
class TTypingLimit : public QValidator {
public:
    explicit TTypingLimit(QLineEdit* Edit) : QValidator(Edit), FEdit(Edit), FPrev(Edit->text()) {
        connect(Edit, &QLineEdit::textChanged, this, [this](const QString& T) { FPrev = T; });
    }
    int Limit = 0; // 0: none
    bool Setting = false;
    // Texts that come whole whatever the limit (a combo box's list entries).
    std::function<bool(const QString&)> Whole;
    void Sync() { FPrev = FEdit->text(); }

    State validate(QString& Input, int& Pos) const override {
        // A mask fixes the length itself.
        if (Limit <= 0 || Setting || !FEdit->inputMask().isEmpty() || Input.size() <= Limit) return Acceptable;
        if (Whole && Whole(Input)) return Acceptable;
        const QString& O = FPrev;
        qsizetype Common = std::min(O.size(), Input.size());
        qsizetype P = 0;
        while (P < Common && O[P] == Input[P]) ++P;
        qsizetype S = 0;
        while (S < Common - P && O[O.size() - 1 - S] == Input[Input.size() - 1 - S]) ++S;
        qsizetype Removed = O.size() - P - S, Inserted = Input.size() - P - S;
        qsizetype Room = std::max<qsizetype>(Limit - (O.size() - Removed), Removed);
        if (Inserted > Room) {
            Input = Input.left(P + Room) + Input.right(S);
            Pos = int(P + Room);
        }
        return Acceptable;
    }

private:
    QLineEdit* FEdit;
    QString FPrev;
};

TTypingLimit* TypingLimit(QLineEdit* E) { return static_cast<TTypingLimit*>(const_cast<QValidator*>(E->validator())); }
} // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner), FEdit(new TNativeLineEdit()) {
    SetNativeWidget(FEdit);
    SetTabStop(true);
    SetColor(clWindow);
    FEdit->setValidator(new TTypingLimit(FEdit));
    // The native edit cuts every text to 32767 characters unless told otherwise; the typing limit
    // is MaxLength's (TTypingLimit), a text set from code is kept whole.
    FEdit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(FEdit, &QLineEdit::textChanged, FEdit, [this](const QString&) {
        FModified = true;
        TControl::Guard(this, [this] {
            // Announced to the parent, as child notifications are; it hands it back (WndProc).
            if (Parent())
                Parent()->Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), LPARAM(this));
            else
                Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), LPARAM(this));
        });
    });
    SetBounds(0, 0, 121, 21);
}

QString TCustomEdit::GetText() const { return FEdit->text(); }

void TCustomEdit::SetText(const QString& Value) {
    if (FEdit->text() == Value) return;
    TTypingLimit* L = TypingLimit(FEdit);
    L->Setting = true;
    FEdit->setText(Value);
    L->Setting = false;
    L->Sync();
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    TypingLimit(FEdit)->Limit = FMaxLength;
}

bool TCustomEdit::ReadOnly() const { return FEdit->isReadOnly(); }
void TCustomEdit::SetReadOnly(bool Value) { FEdit->setReadOnly(Value); }

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    if (Value == ecUpperCase)
        SetText(Text().toUpper());
    else if (Value == ecLowerCase)
        SetText(Text().toLower());
}

void TCustomEdit::SetPasswordChar(QChar Value) {
    FPasswordChar = Value;
    FEdit->setEchoMode(Value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TCustomEdit::SetEditMask(const QString& Value) {
    FEditMask = Value;
    TTypingLimit* L = TypingLimit(FEdit);
    L->Setting = true;
    FEdit->setInputMask(EditMaskToInputMask(Value));
    L->Setting = false;
    L->Sync();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    FEdit->setFrame(Value != bsNone);
}

int TCustomEdit::SelStart() const {
    return FEdit->hasSelectedText() ? FEdit->selectionStart() : FEdit->cursorPosition();
}

void TCustomEdit::SetSelStart(int Value) {
    FEdit->deselect();
    FEdit->setCursorPosition(std::clamp(Value, 0, int(FEdit->text().size())));
}

int TCustomEdit::SelLength() const { return FEdit->hasSelectedText() ? int(FEdit->selectedText().size()) : 0; }

void TCustomEdit::SetSelLength(int Value) {
    int Start = SelStart();
    int Len = std::clamp(Value, 0, int(FEdit->text().size()) - Start);
    FEdit->setSelection(Start, Len);
}

QString TCustomEdit::SelText() const { return FEdit->selectedText(); }

void TCustomEdit::SetSelText(const QString& Value) { FEdit->insert(Value); }

void TCustomEdit::SelectAll() { FEdit->selectAll(); }
void TCustomEdit::ClearSelection() { FEdit->del(); }
void TCustomEdit::CutToClipboard() { FEdit->cut(); }
void TCustomEdit::CopyToClipboard() { FEdit->copy(); }
void TCustomEdit::PasteFromClipboard() { FEdit->paste(); }
void TCustomEdit::Undo() { FEdit->undo(); }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
    if (FAutoSelect && !FEdit->isReadOnly()) FEdit->selectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_COMMAND:
            if (M.LParam != LPARAM(this)) break;
            if (HiWord(M.WParam) == EN_CHANGE) Change();
            return;
        case EM_GETSEL: {
            uint32_t Start = uint32_t(SelStart()), End = uint32_t(SelStart() + SelLength());
            if (M.WParam) *reinterpret_cast<uint32_t*>(M.WParam) = Start;
            if (M.LParam) *reinterpret_cast<uint32_t*>(M.LParam) = End;
            M.Result = MakeLParam(int(Start), int(End));
            return;
        }
        case EM_SETSEL: {
            int Len = int(FEdit->text().size());
            int Start = int(intptr_t(M.WParam)), End = int(M.LParam);
            if (Start < 0) {
                FEdit->deselect();
                return;
            }
            if (End < 0 || End > Len) End = Len;
            Start = std::min(Start, Len);
            // The caret ends at End, as the classic edit leaves it.
            FEdit->setSelection(Start, End - Start);
            return;
        }
        case EM_REPLACESEL:
            if (M.LParam) FEdit->insert(*reinterpret_cast<const QString*>(M.LParam));
            return;
        case EM_LIMITTEXT: SetMaxLength(int(M.WParam)); return;
        case EM_SETREADONLY:
            SetReadOnly(M.WParam != 0);
            M.Result = 1;
            return;
        case EM_POSFROMCHAR: {
            int Index = int(M.WParam);
            if (Index < 0 || Index >= FEdit->text().size()) {
                M.Result = -1;
                return;
            }
            // The caret's place at that character, then the caret and selection as they were.
            QSignalBlocker B(FEdit);
            int Cursor = FEdit->cursorPosition();
            bool HasSel = FEdit->hasSelectedText();
            int SelFrom = FEdit->selectionStart(), SelLen = int(FEdit->selectedText().size());
            FEdit->setCursorPosition(Index);
            QRect R = static_cast<TNativeLineEdit*>(FEdit)->cursorRect();
            if (HasSel) {
                if (Cursor == SelFrom)
                    FEdit->setSelection(SelFrom + SelLen, -SelLen);
                else
                    FEdit->setSelection(SelFrom, SelLen);
            } else {
                FEdit->setCursorPosition(Cursor);
            }
            QPoint P = FEdit->mapTo(this, QPoint(R.center().x(), R.top()));
            M.Result = MakeLParam(P.x(), P.y());
            return;
        }
        case EM_CHARFROMPOS: {
            QPoint P = FEdit->mapFrom(this, QPoint(GetXLParam(M.LParam), GetYLParam(M.LParam)));
            M.Result = MakeLParam(FEdit->cursorPositionAt(P), 0);
            return;
        }
        default: break;
    }
    TWinControl::WndProc(M);
}

void TCustomEdit::DefaultHandler(TMessage& M) {
    if (M.Msg == WM_CHAR && FCharCase != ecNormal) {
        QChar C(char16_t(M.WParam));
        M.WParam = (FCharCase == ecUpperCase ? C.toUpper() : C.toLower()).unicode();
    }
    TWinControl::DefaultHandler(M);
}

// ---- TMemo ------------------------------------------------------------------------------------
TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner), FEdit(new QPlainTextEdit()) {
    SetNativeWidget(FEdit);
    FLines = std::make_unique<TMemoStrings>(FEdit);
    SetTabStop(true);
    SetColor(clWindow);
    FEdit->setTabChangesFocus(true);
    FEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QObject::connect(FEdit, &QPlainTextEdit::textChanged, FEdit, [this] {
        TControl::Guard(this, [this] {
            if (Parent())
                Parent()->Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), LPARAM(this));
            else
                Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), LPARAM(this));
        });
    });
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

QString TMemo::GetText() const {
    QString T = FEdit->toPlainText();
    T.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return T;
}

void TMemo::SetText(const QString& Value) {
    QString V = Value;
    V.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    V.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (FEdit->toPlainText() != V) FEdit->setPlainText(V);
}

bool TMemo::ReadOnly() const { return FEdit->isReadOnly(); }
void TMemo::SetReadOnly(bool Value) { FEdit->setReadOnly(Value); }

void TMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    FEdit->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    FEdit->setHorizontalScrollBarPolicy(Value == ssHorizontal || Value == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                 : Qt::ScrollBarAlwaysOff);
    FEdit->setVerticalScrollBarPolicy(Value == ssVertical || Value == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                             : Qt::ScrollBarAlwaysOff);
}

int TMemo::SelStart() const { return FEdit->textCursor().selectionStart(); }

void TMemo::SetSelStart(int Value) {
    QTextCursor C = FEdit->textCursor();
    C.setPosition(std::clamp(Value, 0, int(FEdit->toPlainText().size())));
    FEdit->setTextCursor(C);
}

int TMemo::SelLength() const {
    QTextCursor C = FEdit->textCursor();
    return C.selectionEnd() - C.selectionStart();
}

void TMemo::SetSelLength(int Value) {
    QTextCursor C = FEdit->textCursor();
    int Start = C.selectionStart();
    C.setPosition(Start);
    C.setPosition(std::clamp(Start + Value, 0, int(FEdit->toPlainText().size())), QTextCursor::KeepAnchor);
    FEdit->setTextCursor(C);
}

void TMemo::Change() {
    if (OnChange) OnChange(this);
}

LRESULT TMemo::DialogCode() const {
    LRESULT R = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (FWantTabs) R |= DLGC_WANTTAB;
    if (FWantReturns) R |= DLGC_WANTALLKEYS;
    return R;
}

void TMemo::WndProc(TMessage& M) {
    if (M.Msg == WM_COMMAND && M.LParam == LPARAM(this)) {
        if (HiWord(M.WParam) == EN_CHANGE) Change();
        return;
    }
    TWinControl::WndProc(M);
}

void TMemo::DefaultHandler(TMessage& M) {
    if (M.Msg == WM_CHAR) {
        QChar C(char16_t(M.WParam));
        if (C == QChar(9) && !FWantTabs) return;
        if (C == QChar(13) && !FWantReturns) return;
        if (FMaxLength > 0 && C.unicode() >= 0x20 && FEdit->toPlainText().size() >= FMaxLength &&
            !FEdit->textCursor().hasSelection())
            return;
        if (C == QChar(9)) {
            FEdit->insertPlainText(QStringLiteral("\t"));
            return;
        }
    }
    TWinControl::DefaultHandler(M);
}

// ---- TComboBox --------------------------------------------------------------------------------
// The Qt combo box that tells its control when its list opens and closes.
class TComboPopupBox : public QComboBox {
public:
    explicit TComboPopupBox(TComboBox* Owner) : FOwner(Owner) {}
    void showPopup() override {
        if (Live()) TControl::Guard(FOwner, [this] { FOwner->Notify(CBN_DROPDOWN); });
        QComboBox::showPopup();
    }
    void hidePopup() override {
        bool WasOpen = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (WasOpen && Live()) TControl::Guard(FOwner, [this] { FOwner->Notify(CBN_CLOSEUP); });
    }

private:
    bool Live() const { return !FOwner->ComponentState().Contains(csDestroying); }
    TComboBox* FOwner;
};

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner), FCombo(new TComboPopupBox(this)) {
    FCombo->setEditable(true);
    FCombo->setInsertPolicy(QComboBox::NoInsert);
    FCombo->setMaxVisibleItems(FDropDownCount);
    SetNativeWidget(FCombo);
    FItems = std::make_unique<TAccessStrings<TComboAccess>>(TComboAccess{FCombo});
    SetTabStop(true);
    SetColor(clWindow);
    QObject::connect(FCombo, QOverload<int>::of(&QComboBox::activated), FCombo,
                     [this](int) { TControl::Guard(this, [this] { Notify(CBN_SELCHANGE); }); });
    ConnectEdit();
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

void TComboBox::ConnectEdit() {
    // Only typing is an edit change; a choice from the list is announced by "activated".
    QLineEdit* E = FCombo->lineEdit();
    if (!E || E == FConnectedEdit) return;
    FConnectedEdit = E;
    // The length limit holds back typing only; a choice from the list comes whole.
    auto* L = new TTypingLimit(E);
    L->Limit = FMaxLength;
    L->Whole = [this](const QString& T) { return FCombo->findText(T, Qt::MatchExactly) >= 0; };
    E->setValidator(L);
    QObject::connect(E, &QLineEdit::textEdited, E,
                     [this](const QString&) { TControl::Guard(this, [this] { Notify(CBN_EDITCHANGE); }); });
}

void TComboBox::Notify(Word Code) {
    if (Parent())
        Parent()->Perform(WM_COMMAND, MakeWParam(0, Code), LPARAM(this));
    else
        Perform(WM_COMMAND, MakeWParam(0, Code), LPARAM(this));
}

void TComboBox::SetStyle(TComboBoxStyle Value) {
    FStyle = Value;
    QString T = FCombo->currentText();
    int I = FCombo->currentIndex();
    const TStateScope<bool> Setting(FSettingText, true);
    FCombo->setEditable(Value != csDropDownList);
    if (Value != csDropDownList) {
        FCombo->setInsertPolicy(QComboBox::NoInsert);
        ConnectEdit();
        TTypingLimit* L = TypingLimit(FCombo->lineEdit());
        L->Setting = true;
        FCombo->setEditText(T);
        L->Setting = false;
        L->Sync();
    } else {
        FCombo->setCurrentIndex(I);
    }
}

int TComboBox::ItemIndex() const {
    int I = FCombo->currentIndex();
    if (I >= 0 && FStyle != csDropDownList && FCombo->currentText() != FCombo->itemText(I)) return -1;
    return I;
}

void TComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FCombo->count()) Value = -1;
    const TStateScope<bool> Setting(FSettingText, true);
    FCombo->setCurrentIndex(Value);
    if (Value < 0 && FCombo->isEditable()) FCombo->setEditText(QString());
}

QString TComboBox::GetText() const { return FCombo->currentText(); }

void TComboBox::SetText(const QString& Value) {
    const TStateScope<bool> Setting(FSettingText, true);
    int I = -1;
    for (int K = 0; K < FCombo->count(); ++K)
        if (FCombo->itemText(K) == Value) {
            I = K;
            break;
        }
    if (FStyle == csDropDownList) {
        FCombo->setCurrentIndex(I);
    } else {
        if (I >= 0) FCombo->setCurrentIndex(I);
        // A text the program sets is kept whole whatever the length limit.
        TTypingLimit* L = FCombo->lineEdit() ? TypingLimit(FCombo->lineEdit()) : nullptr;
        if (L) L->Setting = true;
        FCombo->setEditText(Value);
        if (L) {
            L->Setting = false;
            L->Sync();
        }
    }
}

void TComboBox::SetDropDownCount(int Value) {
    FDropDownCount = std::max(1, Value);
    FCombo->setMaxVisibleItems(FDropDownCount);
}

bool TComboBox::DroppedDown() const { return FCombo->view() && FCombo->view()->isVisible(); }

void TComboBox::SetDroppedDown(bool Value) {
    if (Value == DroppedDown()) return;
    if (Value)
        FCombo->showPopup();
    else
        FCombo->hidePopup();
}

void TComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    if (FCombo->lineEdit()) TypingLimit(FCombo->lineEdit())->Limit = FMaxLength;
}

void TComboBox::SetSorted(bool Value) {
    FSorted = Value;
    if (Value) FCombo->model()->sort(0);
}

int TComboBox::ItemHeight() const {
    return FCombo->view() ? FCombo->view()->sizeHintForRow(0) : FCombo->fontMetrics().height();
}

int TComboBox::SelStart() const {
    if (!FCombo->lineEdit()) return 0;
    QLineEdit* E = FCombo->lineEdit();
    return E->hasSelectedText() ? E->selectionStart() : E->cursorPosition();
}

void TComboBox::SetSelStart(int Value) {
    if (QLineEdit* E = FCombo->lineEdit()) {
        E->deselect();
        E->setCursorPosition(Value);
    }
}

int TComboBox::SelLength() const {
    QLineEdit* E = FCombo->lineEdit();
    return E && E->hasSelectedText() ? int(E->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int Value) {
    if (QLineEdit* E = FCombo->lineEdit()) E->setSelection(SelStart(), Value);
}

void TComboBox::SelectAll() {
    if (QLineEdit* E = FCombo->lineEdit()) E->selectAll();
}

void TComboBox::Clear() {
    FItems->Clear();
    SetItemIndex(-1);
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::Select() {
    Click();
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::WndProc(TMessage& M) {
    if (M.Msg == WM_COMMAND && M.LParam == LPARAM(this)) {
        switch (HiWord(M.WParam)) {
            case CBN_SELCHANGE: Select(); break;
            case CBN_EDITCHANGE: Change(); break;
            case CBN_DROPDOWN: DropDown(); break;
            case CBN_CLOSEUP: CloseUp(); break;
            default: break;
        }
        return;
    }
    TWinControl::WndProc(M);
}

void TComboBox::DefaultHandler(TMessage& M) {
    // With the list open, the keys the list uses stay with it.
    TWinControl::DefaultHandler(M);
}

// ---- TButton ----------------------------------------------------------------------------------
TButton::TButton(TComponent* AOwner) : TWinControl(AOwner), FButton(new QPushButton()) {
    FButton->setAutoDefault(false);
    SetNativeWidget(FButton);
    SetTabStop(true);
    QObject::connect(FButton, &QPushButton::clicked, FButton, [this] { TControl::Guard(this, [this] { Click(); }); });
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    FButton->setDefault(Value);
}

void TButton::Click() {
    TForm* F = ParentForm();
    if (F && FModalResult != mrNone) F->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TButton::TextChanged() { FButton->setText(Caption()); }

void TButton::WndProc(TMessage& M) {
    if (M.Msg == CM_DIALOGKEY) {
        Word Key = Word(M.WParam);
        bool Active = Focused() || (FDefault && !dynamic_cast<TButton*>(FindControl(QApplication::focusWidget())));
        if ((Key == VK_RETURN && Active) || (Key == VK_ESCAPE && FCancel)) {
            Click();
            M.Result = 1;
        }
        return;
    }
    if (M.Msg == CM_DIALOGCHAR) {
        if (IsAccel(Word(M.WParam), Caption()) && CanFocus()) {
            Click();
            M.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(M);
}

void TCheckBox::WndProc(TMessage& M) {
    if (M.Msg == CM_DIALOGCHAR) {
        if (IsAccel(Word(M.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Toggle();
            M.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(M);
}

void TRadioButton::WndProc(TMessage& M) {
    if (M.Msg == CM_DIALOGCHAR) {
        if (IsAccel(Word(M.WParam), Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            M.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(M);
}

// ---- TCheckBox --------------------------------------------------------------------------------
TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner), FBox(new QCheckBox()) {
    SetNativeWidget(FBox);
    SetTabStop(true);
    SetParentColor(true);
    QObject::connect(FBox, &QCheckBox::clicked, FBox, [this] { TControl::Guard(this, [this] { Toggle(); }); });
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked: SetState(cbChecked); break;
        case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
        case cbGrayed: SetState(cbUnchecked); break;
    }
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == cbGrayed && !FAllowGrayed) Value = cbUnchecked;
    bool Changed = FState != Value;
    FState = Value;
    {
        QSignalBlocker B(FBox);
        FBox->setCheckState(Value == cbChecked      ? Qt::Checked
                                : Value == cbGrayed ? Qt::PartiallyChecked
                                                    : Qt::Unchecked);
    }
    if (Changed && !ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::SetAllowGrayed(bool Value) {
    FAllowGrayed = Value;
    FBox->setTristate(Value);
    if (!Value && FState == cbGrayed) SetState(cbUnchecked);
}

void TCheckBox::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    FBox->setLayoutDirection(Value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::TextChanged() { FBox->setText(Caption()); }

// ---- TRadioButton -----------------------------------------------------------------------------
TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner), FRadio(new QRadioButton()) {
    FRadio->setAutoExclusive(false);
    SetNativeWidget(FRadio);
    SetTabStop(true);
    SetParentColor(true);
    QObject::connect(FRadio, &QRadioButton::clicked, FRadio, [this] {
        TControl::Guard(this, [this] {
            if (FChecked) {
                QSignalBlocker B(FRadio);
                FRadio->setChecked(true);
            } else {
                SetChecked(true);
            }
        });
    });
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
    bool Changed = FChecked != Value;
    FChecked = Value;
    {
        QSignalBlocker B(FRadio);
        FRadio->setChecked(Value);
    }
    if (!Value || !Changed) return;
    if (Parent()) {
        for (int I = 0; I < Parent()->ControlCount(); ++I) {
            auto* R = dynamic_cast<TRadioButton*>(Parent()->Controls(I));
            if (R && R != this && R->FChecked) R->SetChecked(false);
        }
    }
    if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::TextChanged() { FRadio->setText(Caption()); }

// ---- TGroupBox --------------------------------------------------------------------------------
TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint() {
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    int H = C->TextHeight(QStringLiteral("0"));
    TRect R = Rect(0, H / 2 - 1, Width(), Height());
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    DrawEdge(C, R, EDGE_ETCHED, BF_RECT);
    if (!Caption().isEmpty()) {
        TRect T = Rect(8, 0, 0, H);
        C->DrawText(Caption(), T, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
        C->Brush()->SetColor(Color());
        C->Brush()->SetStyle(bsSolid);
        C->DrawText(Caption(), T, DT_SINGLELINE | DT_LEFT);
    }
}

// ---- TListBox ---------------------------------------------------------------------------------
TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner), FList(new QListWidget()) {
    SetNativeWidget(FList);
    FItems = std::make_unique<TAccessStrings<TListAccess>>(TListAccess{FList});
    SetTabStop(true);
    SetColor(clWindow);
    // A new selection by the user (mouse or keys) is a click; a selection set in code is not.
    QObject::connect(FList, &QListWidget::currentRowChanged, FList, [this](int) {
        if (FSetting) return;
        TControl::Guard(this, [this] { Click(); });
    });
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

int TListBox::ItemIndex() const { return FList->currentRow(); }

void TListBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FList->count()) Value = -1;
    const TStateScope<bool> Setting(FSetting, true);
    FList->setCurrentRow(Value);
    if (Value < 0) FList->clearSelection();
}

void TListBox::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    FList->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int Index) const {
    if (Index < 0 || Index >= FList->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FList->item(Index)->isSelected();
}

void TListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= FList->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FList->item(Index)->setSelected(Value);
}

int TListBox::SelCount() const { return int(FList->selectedItems().size()); }

int TListBox::TopIndex() const {
    QListWidgetItem* I = FList->itemAt(0, 0);
    return I ? FList->row(I) : 0;
}

void TListBox::SetTopIndex(int Value) {
    if (Value >= 0 && Value < FList->count()) FList->scrollToItem(FList->item(Value), QAbstractItemView::PositionAtTop);
}

int TListBox::ItemHeight() const { return FList->count() ? FList->sizeHintForRow(0) : FList->fontMetrics().height(); }

void TListBox::SetSorted(bool Value) {
    FSorted = Value;
    FList->setSortingEnabled(Value);
    if (Value) FList->sortItems();
}

void TListBox::Clear() { FItems->Clear(); }

// ---- TScrollBar -------------------------------------------------------------------------------
TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner), FBar(new QScrollBar(Qt::Horizontal)) {
    FBar->setRange(0, 100);
    SetNativeWidget(FBar);
    SetTabStop(true);
    QObject::connect(FBar, &QScrollBar::actionTriggered, FBar, [this](int Action) {
        if (FSetting) return;
        TControl::Guard(this, [&] {
            TScrollCode Code = scPosition;
            switch (Action) {
                case QAbstractSlider::SliderSingleStepAdd: Code = scLineDown; break;
                case QAbstractSlider::SliderSingleStepSub: Code = scLineUp; break;
                case QAbstractSlider::SliderPageStepAdd: Code = scPageDown; break;
                case QAbstractSlider::SliderPageStepSub: Code = scPageUp; break;
                case QAbstractSlider::SliderToMinimum: Code = scTop; break;
                case QAbstractSlider::SliderToMaximum: Code = scBottom; break;
                case QAbstractSlider::SliderMove: Code = scTrack; break;
                default: break;
            }
            int Pos = FBar->sliderPosition();
            if (OnScroll) OnScroll(this, Code, Pos);
            FBar->setSliderPosition(std::clamp(Pos, FBar->minimum(), FBar->maximum()));
        });
    });
    QObject::connect(FBar, &QScrollBar::valueChanged, FBar, [this](int) {
        if (FSetting) return;
        TControl::Guard(this, [this] {
            if (OnChange) OnChange(this);
        });
    });
    SetBounds(0, 0, 121, 17);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    FKind = Value;
    FBar->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

int TScrollBar::Min() const { return FBar->minimum(); }
int TScrollBar::Max() const { return FMax; }
int TScrollBar::Position() const { return FBar->value(); }
int TScrollBar::SmallChange() const { return FBar->singleStep(); }
int TScrollBar::LargeChange() const { return FBar->pageStep(); }

void TScrollBar::SetMin(int Value) { SetParams(Position(), Value, FMax); }
void TScrollBar::SetMax(int Value) { SetParams(Position(), Min(), Value); }
void TScrollBar::SetPosition(int Value) { SetParams(Value, Min(), FMax); }
void TScrollBar::SetSmallChange(int Value) { FBar->setSingleStep(Value); }
void TScrollBar::SetLargeChange(int Value) { FBar->setPageStep(Value); }

void TScrollBar::SetPageSize(int Value) {
    FPageSize = std::max(0, Value);
    SetParams(Position(), Min(), FMax);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    int Old = FBar->value();
    {
        const TStateScope<bool> Setting(FSetting, true);
        FMax = AMax;
        // The page occupies the last PageSize - 1 positions, as the classic scroll bar counts.
        int QtMax = std::max(AMin, AMax - (FPageSize > 0 ? FPageSize - 1 : 0));
        FBar->setRange(AMin, QtMax);
        if (FPageSize > 0) FBar->setPageStep(FPageSize);
        FBar->setValue(std::clamp(APosition, AMin, QtMax));
    }
    if (FBar->value() != Old && OnChange) OnChange(this);
}
