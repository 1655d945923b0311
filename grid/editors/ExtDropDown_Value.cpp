// The edit side of the drop-down: value text between prefix and suffix, edit types with their
// character filters, precision and money formatting, and the clipboard rules.
#include "grid/editors/ExtDropDown.h"

#include "grid/base/ExtUtil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>

#include <cmath>

// ---- text routines --------------------------------------------------------------------------
QChar DropDownThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar DropDownDecimalSeparator() { return FormatSettings.DecimalSeparator; }

bool IsRangeSeparator(QChar Ch) { return Ch == u',' || Ch == u'-' || Ch == u';'; }

QString RemoveThousandSeparators(const QString& S) {
    QString R = S;
    R.remove(DropDownThousandSeparator());
    return R;
}

int HexDigitValue(QChar Ch) {
    ushort U = Ch.unicode();
    if (U >= '0' && U <= '9') return U - '0';
    if (U >= 'A' && U <= 'F') return U - 'A' + 10;
    if (U >= 'a' && U <= 'f') return U - 'a' + 10;
    return 0;
}

int64_t HexToInt(const QString& S) {
    uint64_t R = 0, Weight = 1;
    for (qsizetype I = S.size() - 1; I >= 0; --I) {
        R += uint64_t(HexDigitValue(S[I])) * Weight;
        Weight *= 16;
    }
    return int64_t(R);
}

QString ApplyCase(const QString& S, bool Keep) { return Keep ? S : UpperCase(S); }

int ClassifyValueText(const QString& S) {
    if (S.isEmpty()) return 2;
    const QChar Dec = DropDownDecimalSeparator(), Th = DropDownThousandSeparator();
    if (S.count(u'-') > 1 || S.count(Dec) > 1) return 2;
    bool Hex = true, Int = true, Flt = true;
    int LastThousand = 0;
    for (qsizetype I = 0; I < S.size(); ++I) {
        QChar C = S[I];
        bool Digit = C.unicode() >= '0' && C.unicode() <= '9';
        bool HexLetter = (C.unicode() >= 'A' && C.unicode() <= 'F') || (C.unicode() >= 'a' && C.unicode() <= 'f');
        if (!(C == u'-' || Digit || HexLetter)) Hex = false;
        if (!(Digit || C == u'-')) Int = false;
        if (!(Digit || C == u',' || C == u'-' || C == u'.')) Flt = false;
        if (C == Th) {
            int Pos = int(I) + 1;
            if (Pos == 1) Flt = false;
            if (LastThousand > 0 && Pos - LastThousand <= 2) Flt = false;
            LastThousand = Pos;
        }
    }
    if (Int) return 0;
    if (Flt) return 1;
    if (Hex) return 5;
    return 2;
}

double TextToFloat(const QString& S) {
    double V = 0;
    if (!TryStrToFloat(RemoveThousandSeparators(S), V)) return 0;
    return V;
}

namespace {
bool IsDigit(QChar C) { return C.unicode() >= '0' && C.unicode() <= '9'; }

QString PrecisionFormat(int Precision, QChar Kind) { return QStringLiteral("%.") + QString::number(Precision) + Kind; }
} // namespace

// ---- value text -----------------------------------------------------------------------------
QString TExtCustomDropDown::RawText() const { return Native()->text(); }

QString TExtCustomDropDown::GetText() const {
    QString T = RawText();
    if (!FPrefix.isEmpty() && T.startsWith(FPrefix)) T.remove(0, FPrefix.size());
    if (!FSuffix.isEmpty()) T.chop(std::min(T.size(), FSuffix.size()));
    return T;
}

void TExtCustomDropDown::SetText(const QString& Value) {
    QString V = Value;
    if (V.isEmpty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        V = QStringLiteral("0");
    if (FPrecision > 0 && !V.isEmpty() && V != QLatin1String("Error")) {
        if (FEditType == etMoney)
            V = Format(PrecisionFormat(FPrecision, u'n'), {TextToFloat(V)});
        else if (FEditType == etFloat)
            V = Format(PrecisionFormat(FPrecision, u'f'), {TextToFloat(V)});
    }
    if (FEditType == etHex) V = V.toUpper();
    SetRawText(FPrefix + V + FSuffix);
    // While the popup is open the text it opened with stays the one a cancel puts back.
    if (!FDroppedDown) FOldText = V;
    SetModified(false);
}

void TExtCustomDropDown::SetTextUnformatted(const QString& Value) { SetRawText(Value); }

void TExtCustomDropDown::SetPrefix(const QString& Value) {
    QString V = GetText();
    FPrefix = Value;
    SetRawText(FPrefix + V + FSuffix);
}

void TExtCustomDropDown::SetSuffix(const QString& Value) {
    QString V = GetText();
    FSuffix = Value;
    SetRawText(FPrefix + V + FSuffix);
}

double TExtCustomDropDown::GetFloatValue() const {
    const QString T = GetText();
    switch (FEditType) {
        case etString: {
            bool Ok = false;
            double V = T.trimmed().toDouble(&Ok); // "." as the decimal point, whatever the locale
            return Ok ? V : 0;
        }
        case etNumeric:
        case etFloat:
            if (T.isEmpty() || T == QLatin1String("Error") || T == QLatin1String("-")) return 0;
            return TextToFloat(T);
        case etMoney: {
            QString S = RemoveThousandSeparators(T);
            if (S.endsWith(DropDownDecimalSeparator())) S.chop(1);
            if (S.isEmpty() || S == QLatin1String("-")) return 0;
            return TextToFloat(S);
        }
        case etHex: return T.isEmpty() ? 0 : double(HexToInt(T));
        default: return 0;
    }
}

void TExtCustomDropDown::SetFloatValue(double Value) {
    const QString G = QStringLiteral("%g");
    switch (FEditType) {
        case etString:
        case etFloat: SetText(Format(FPrecision < 0 ? G : PrecisionFormat(FPrecision, u'f'), {Value})); break;
        case etNumeric: SetText(Format(FPrecision < 0 ? G : PrecisionFormat(FPrecision, u'n'), {Value})); break;
        case etMoney:
            SetText(Format(FPrecision < 0 ? G : PrecisionFormat(FPrecision, u'f'), {Value}));
            FormatMoney();
            break;
        case etHex: SetText(QString::number(int64_t(std::trunc(Value)), 16).toUpper()); break;
        default: break;
    }
    SetModified(true);
}

void TExtCustomDropDown::SetIntValue(int Value) {
    switch (FEditType) {
        case etNumeric:
        case etFloat: SetText(IntToStr(Value)); break;
        case etMoney:
            SetText(IntToStr(Value));
            FormatMoney();
            break;
        case etHex: SetText(QString::number(Value, 16).toUpper()); break;
        default: break;
    }
    SetModified(true);
}

void TExtCustomDropDown::SetModified(bool Value) {
    if (ComponentState().Contains(csLoading) || !FEditorEnabled || ReadOnly()) return;
    TCustomEdit::SetModified(Value);
    FIsModified = Value;
}

void TExtCustomDropDown::FormatMoney() {
    QString V = GetText();
    if (V.isEmpty()) return;
    QString Sign;
    if (V.startsWith(u'-')) {
        Sign = QStringLiteral("-");
        V.remove(0, 1);
    }
    const QChar Dec = DropDownDecimalSeparator();
    qsizetype DecAt = V.indexOf(Dec);
    QString Fraction = DecAt >= 0 ? V.mid(DecAt, 255) : QString();
    double Whole = std::trunc(std::fabs(GetFloatValue()));
    QString IntPart = Format(FAutoThousandSeparator ? QStringLiteral("%n") : QStringLiteral("%f"), {Whole});
    qsizetype Cut = IntPart.indexOf(Dec);
    if (Cut >= 0) IntPart.truncate(Cut);
    const int OldLen = int(GetText().size());
    const int Caret = SelStart();
    const int16_t SavedPrecision = FPrecision;
    FPrecision = 0;
    const QString NewText = FPrefix + Sign + IntPart + Fraction + FSuffix;
    FBlockChange = NewText != RawText();
    SetRawText(NewText);
    FPrecision = SavedPrecision;
    const int NewLen = int(GetText().size());
    SetSelStart(std::clamp(Caret + NewLen - OldLen, PrefixLength(), PrefixLength() + NewLen));
}

int TExtCustomDropDown::IntegerDigits(const QString& S) const {
    QString T = RemoveThousandSeparators(S);
    qsizetype P = T.indexOf(DropDownDecimalSeparator());
    int R = P >= 0 ? int(P) + 1 : int(T.size()) + 1;
    if (FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && T.contains(u'-')) --R;
    return R;
}

int TExtCustomDropDown::DecimalPos() const {
    const QString V = GetText();
    qsizetype P = V.indexOf(DropDownDecimalSeparator());
    if (P >= 0) return PrefixLength() + int(P) + 1;
    return PrefixLength() + int(V.size()) + int(FSuffix.size()) + 1;
}

bool TExtCustomDropDown::IsSignChar(QChar Ch) const {
    return FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && Ch == u'-';
}

void TExtCustomDropDown::SetEditType(TDropDownEditType Value) {
    if (Value == FEditType) return;
    FEditType = Value;
    if (Value == etPassword) {
        SetPasswordChar(u'*');
        FCanUndo = false;
    } else {
        SetPasswordChar(QChar());
    }
    const int Class = ClassifyValueText(GetText());
    if (Value == etNumeric && Class != 0)
        SetIntValue(0);
    else if ((Value == etFloat || Value == etMoney) && Class > 1)
        SetFloatValue(0);
    else if (Value == etHex && Class != 0 && Class != 5)
        SetIntValue(0);
    if (ComponentState().Contains(csDesigning) && Value == etFloat && FPrecision == 0) FPrecision = 2;
}

void TExtCustomDropDown::SetPrecision(int Value) {
    if (Value == FPrecision) return;
    if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
    FPrecision = int16_t(Value);
    if (ClassifyValueText(GetText()) > 1)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

void TExtCustomDropDown::SelectAll() {
    Perform(EM_SETSEL, WPARAM(PrefixLength()), LPARAM(PrefixLength() + GetText().size()));
}

void TExtCustomDropDown::SelectAfterDecimal() {
    qsizetype P = GetText().indexOf(DropDownDecimalSeparator());
    SetSelStart(PrefixLength() + (P >= 0 ? int(P) + 1 : 0));
}

void TExtCustomDropDown::SelectBeforeDecimal() {
    qsizetype P = GetText().indexOf(DropDownDecimalSeparator());
    SetSelStart(PrefixLength() + (P >= 0 ? int(P) : 0));
}

bool TExtCustomDropDown::WholeValueSelected() const {
    const int Len = int(GetText().size());
    return Len > 0 && SelStart() == PrefixLength() && SelLength() == Len;
}

QString TExtCustomDropDown::SelectedValueText() const {
    return GetText().mid(std::max(0, SelStart() - PrefixLength()), SelLength());
}

// ---- characters -----------------------------------------------------------------------------
namespace {
// The caret is at a place where a thousand or decimal separator cannot go.
bool SeparatorMisplaced(QString Value, int Caret, int PrefixLen) {
    const QChar Th = DropDownThousandSeparator();
    int P = Caret - PrefixLen;
    if (!Value.contains(Th)) return false;
    int Best = int(Value.size());
    bool Near = false;
    for (;;) {
        int Q = int(Value.indexOf(Th)) + 1;
        if (Q == 0) break;
        Best = std::min(Best, std::abs(Q - P));
        if (std::abs(Q - P) < 3) {
            Near = true;
            break;
        }
        if (Q < P) P -= Q;
        Value.remove(0, Q);
    }
    return Best > 3 || Near;
}
} // namespace

void TExtCustomDropDown::ReplaceSign(bool WholeSelected) {
    const QString V = GetText();
    const int Pl = PrefixLength();
    if (WholeSelected) {
        SetRawText(FPrefix + QStringLiteral("-") + FSuffix);
        SetSelStart(Pl + 1);
    } else if (V.contains(u'-')) {
        const int Caret = SelStart();
        SetRawText(FPrefix + V.mid(1) + FSuffix);
        SetSelStart(std::max(Pl, Caret - 1));
    } else {
        const int Caret = SelStart();
        SetRawText(FPrefix + QStringLiteral("-") + V + FSuffix);
        SetSelStart(Caret + 1);
    }
    SetModified(true);
}

void TExtCustomDropDown::WMChar(TMessage& M) {
    if (!FEditorEnabled) return;
    QChar Ch(char16_t(M.WParam));
    const bool Ctrl = KeyboardShiftState().Contains(ssCtrl);
    const bool NumPad = FLastKeyDown == VK_DECIMAL;
    const QChar Dec = DropDownDecimalSeparator(), Th = DropDownThousandSeparator();
    const QString Before = RawText();
    const unsigned ChangesBefore = FChangeCount;
    // Typing over the whole value: the edit's own notification of this character is held back
    // and announced once the character has been handled (below), whatever path it took.
    const bool Whole = WholeValueSelected() && !GetText().isEmpty();
    if (Whole) FBlockChange = true;
    struct TAnnounce {
        TExtCustomDropDown* Self;
        bool Armed;
        const QString& Before;
        unsigned ChangesBefore;
        ~TAnnounce() {
            if (!Armed) return;
            Self->FBlockChange = false;
            if (Self->RawText() != Before && Self->FChangeCount == ChangesBefore) Self->Change();
        }
    } Announce{this, Whole, Before, ChangesBefore};
    auto Inherited = [&] {
        M.WParam = Ch.unicode();
        TCustomEdit::WndProc(M);
    };
    const ushort U = Ch.unicode();
    TForm* Form = ParentForm();
    const bool Preview = Form && Form->KeyPreview();
    if (U == 13 && Ctrl) {
        M.Result = 1;
        return;
    }
    if (U == 13) {
        if (OnKeyPress) OnKeyPress(this, Ch);
        if (!FDefaultHandling && Parent()) {
            PostMessage(Parent(), WM_KEYDOWN, VK_RETURN, 0);
            if (!Preview) PostMessage(Parent(), WM_KEYUP, VK_RETURN, 0);
        }
        return;
    }
    if (U == 27 && !FDefaultHandling && Parent()) {
        if (Preview) {
            Inherited();
            return;
        }
        PostMessage(Parent(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent(), WM_KEYUP, VK_ESCAPE, 0);
    }
    if (U == 27) {
        // Escape is no character of the value: whatever it did (undo, or the cancel of an open
        // popup by its key) is done, and the value it leaves is not modified by it.
        Inherited();
        return;
    }
    if (Ctrl && (U == 3 || U == 22 || U == 24)) {
        // The edit's clipboard keys take the clipboard paths with their events.
        Perform(U == 3 ? WM_COPY : U == 22 ? WM_PASTE : WM_CUT);
        return;
    }
    // A read-only value is copied, never changed: the filters below rewrite the text themselves.
    if (ReadOnly()) return;
    if (FExcelStyleDecimalSeparator && NumPad && (Ch == u'.' || Ch == u',')) Ch = Dec;
    const int Caret = SelStart();
    const int Pl = PrefixLength();
    if (U == 8 && !FPrefix.isEmpty() && SelLength() == 0 && Caret <= Pl) return;
    if (FLengthLimit > 0 && IntegerDigits(GetText()) - 1 >= FLengthLimit && SelLength() == 0 && Caret < DecimalPos() &&
        U != 8 && Ch != Dec && !IsSignChar(Ch))
        return;
    if (U == 8) {
        // As for Delete: a Backspace that would join the decimals to the integer part past the
        // length limit is dropped.
        if (FLengthLimit > 0 && (SelLength() > 0 || Caret > Pl)) {
            QString Left = GetText();
            const int At = SelLength() > 0 ? Caret - Pl : Caret - Pl - 1;
            if (At >= 0 && At < Left.size()) {
                Left.remove(At, SelLength() > 0 ? SelLength() : 1);
                if (IntegerDigits(Left) - 1 > FLengthLimit) return;
            }
        }
        Inherited();
        return;
    }
    if (Ctrl && U == 10) return;
    if (Ch == u'-' && !FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney)) return;

    const QString V = GetText();
    const bool Control = U == 8 || U == 9 || U == 13;
    auto MarkModified = [&] {
        if (Modified()) SetModified(true);
    };
    switch (FEditType) {
        case etString:
        case etPassword:
            Inherited();
            SetModified(true);
            break;
        case etNumeric:
            if (Ch == u'-') {
                ReplaceSign(Whole);
            } else if (Control || IsDigit(Ch) || Ctrl) {
                Inherited();
            }
            break;
        case etFloat:
        case etMoney: {
            const bool Money = FEditType == etMoney;
            if (Money) {
                if (Ch == Dec && (V.contains(Dec) || FPrecision == 0)) {
                    if (FPrecision > 0 && Whole) {
                        SetText(QStringLiteral("0") + Dec + QStringLiteral("0"));
                        SelectAfterDecimal();
                    }
                    break;
                }
                if (!(Control || Ch == u'-' || IsDigit(Ch) || Ch == Dec)) break;
            } else {
                if (Ch == u',' && Dec != u',' && Th != u',') break;
                if (Ch == u'.' && Dec != u'.' && Th != u'.') break;
                if (!(Control || Ch == u',' || Ch == u'-' || Ch == u'.' || IsDigit(Ch))) break;
                if (Ch == Dec && !SelText().contains(Dec) && (V.contains(Dec) || FPrecision == 0)) {
                    if (FPrecision > 0) SelectAfterDecimal();
                    break;
                }
                if (Ch == u',' && V.contains(u',') && !SelText().contains(u',') && Th != u',') break;
            }
            if ((Ch == Th || Ch == Dec) && SeparatorMisplaced(V, Caret, Pl)) break;
            // Precision full: every decimal is there and the caret stands among them.
            bool Full = false;
            if (FPrecision > 0) {
                const int C = Caret - Pl;
                const qsizetype D = V.indexOf(Dec);
                Full = V.size() - C <= FPrecision && D >= 0 && C >= D + 1 && V.size() - D - 1 >= FPrecision;
            }
            if (Full && (IsDigit(Ch) || Ch == Dec) && SelLength() == 0) {
                qsizetype D = V.indexOf(Dec);
                int C = Caret - Pl;
                if (IsDigit(Ch) && FPrecision > 0 && D >= 0 && C > D && C < V.size()) {
                    Perform(EM_SETSEL, WPARAM(Caret), LPARAM(Caret + 1));
                    Inherited();
                }
                break;
            }
            if (Caret - Pl == 0 && V.isEmpty() && Ch == Dec) {
                SetRawText(FPrefix + QStringLiteral("0") + Dec + FSuffix);
                SetSelStart(Pl + 2);
                SetModified(true);
                break;
            }
            if (Ch == u'-' && SelLength() == 0) {
                const int16_t Saved = FPrecision;
                FPrecision = 0;
                ReplaceSign(false);
                FPrecision = Saved;
                break;
            }
            Inherited();
            if (Money) {
                const QString Now = GetText();
                if (!Now.isEmpty() && Now != QLatin1String("-") && Ch != Dec) {
                    MarkModified();
                    FormatMoney();
                }
            }
            break;
        }
        case etUppercase:
            Ch = Ch.toUpper();
            Inherited();
            break;
        case etLowerCase:
            Ch = Ch.toLower();
            Inherited();
            break;
        case etMixedCase: {
            Inherited();
            const int C = SelStart();
            SetRawText(FPrefix + ProperCase(GetText()) + FSuffix);
            SetSelStart(C);
            break;
        }
        case etRange:
            if (!(Control || IsRangeSeparator(Ch) || Ch == u';' || IsDigit(Ch))) break;
            SetModified(true);
            if (IsRangeSeparator(Ch)) {
                const QString R = RawText();
                bool Next =
                    (Caret > 0 && IsRangeSeparator(R[Caret - 1])) || (Caret < R.size() && IsRangeSeparator(R[Caret]));
                if (Caret <= Pl || Next) break;
            }
            Inherited();
            break;
        case etHex:
            if (Control || Ch == u'-' || IsDigit(Ch) || (U >= 'A' && U <= 'F') || (U >= 'a' && U <= 'f')) {
                Inherited();
                SetModified(true);
            }
            break;
        case etAlphaNumeric:
            if (Control || IsDigit(Ch) || (U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z')) {
                Inherited();
                SetModified(true);
            }
            break;
        case etValidChars:
            if (U == 8 || FValidChars.contains(Ch)) {
                Inherited();
                SetModified(true);
            }
            break;
    }
    MarkModified();
}

// ---- clipboard ------------------------------------------------------------------------------
void TExtCustomDropDown::WMCut(TMessage& M) {
    // A hidden value never reaches the clipboard, so a cut of it would only delete it.
    if (!IsEditable() || !PasswordChar().isNull()) return;
    FBlockCopy = true;
    bool Allow = true;
    if (OnClipboardCut) OnClipboardCut(this, SelectedValueText(), Allow);
    if (Allow) TCustomEdit::WndProc(M);
    FBlockCopy = false;
}

void TExtCustomDropDown::WMCopy(TMessage& M) {
    bool Allow = true;
    if (OnClipboardCopy && !FBlockCopy) OnClipboardCopy(this, SelectedValueText(), Allow);
    FBlockCopy = false;
    if (Allow) TCustomEdit::WndProc(M);
}

QString TExtCustomDropDown::PasteCandidate(const QString& Clip) const {
    const QString V = GetText();
    const int Start = std::clamp(SelStart() - PrefixLength(), 0, int(V.size()));
    return V.left(Start) + Clip + V.mid(Start + SelLength());
}

// What can be pasted is what could be typed: no more integer digits than the length limit, a
// sign only in front, and for the letters-and-digits type the letters and digits the filter takes.
bool TExtCustomDropDown::PasteFits(const QString& Candidate) const {
    if (FLengthLimit > 0 && IntegerDigits(Candidate) - 1 > FLengthLimit) return false;
    if ((FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && Candidate.indexOf(u'-') > 0)
        return false;
    if (FEditType == etAlphaNumeric)
        for (QChar C : Candidate) {
            const ushort U = C.unicode();
            if (!IsDigit(C) && !(U >= 'A' && U <= 'Z') && !(U >= 'a' && U <= 'z')) return false;
        }
    return true;
}

void TExtCustomDropDown::WMPaste(TMessage&) {
    if (!IsEditable()) return;
    // A value is one line, as typing keeps it: a text of several lines gives its first.
    QString Clip = QGuiApplication::clipboard()->text();
    const qsizetype Break = Clip.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (Break >= 0) Clip.truncate(Break);
    if (Clip.isEmpty()) return;
    const QString Candidate = PasteCandidate(Clip);
    bool Allow = true;
    if (OnClipboardPaste) OnClipboardPaste(this, Candidate, Allow);
    if (!Allow) return;
    if (MaxLength() > 0 && Clip.size() + GetText().size() - SelLength() > MaxLength()) return;
    if (!PasteFits(Candidate)) return;
    const int Start = SelStart();
    const bool Replaced = SelLength() > 0;
    const QChar Dec = DropDownDecimalSeparator();
    bool Done = false;
    switch (FEditType) {
        case etString:
        case etPassword:
            SetText(Candidate);
            Done = true;
            break;
        case etNumeric:
            if (ClassifyValueText(Candidate) == 0 && (FSigned || !Candidate.contains(u'-'))) {
                SetText(Candidate);
                SetModified(true);
                Done = true;
            }
            break;
        case etFloat:
        case etMoney:
            if (ClassifyValueText(Candidate) > 1 || (FPrecision == 0 && Clip.contains(Dec))) break;
            if (FSigned || !Candidate.contains(u'-')) {
                SetText(Candidate);
                SetFloatValue(GetFloatValue());
                SetModified(true);
                Done = true;
            }
            break;
        case etUppercase:
            SetText(UpperCase(Candidate));
            Done = true;
            break;
        case etLowerCase:
            SetText(LowerCase(Candidate));
            Done = true;
            break;
        case etMixedCase:
            SetText(ProperCase(Candidate));
            Done = true;
            break;
        case etAlphaNumeric:
        case etValidChars: {
            bool Ok = true;
            if (FEditType == etValidChars)
                for (QChar C : Candidate)
                    if (!FValidChars.contains(C)) Ok = false;
            if (Ok) {
                SetText(Candidate);
                SetModified(true);
                Done = true;
            }
            break;
        }
        case etRange:
        case etHex: break;
    }
    if (!Done) return;
    if (FEditType == etMoney && GetText().size() > 3) {
        SelectAll();
    } else if (Replaced) {
        Perform(EM_SETSEL, WPARAM(Start), LPARAM(std::min<qsizetype>(Start + Clip.size(), RawText().size())));
    } else {
        SetSelStart(Start + int(Clip.size()));
    }
    if (FEditType == etString || FEditType == etPassword || FEditType == etUppercase || FEditType == etLowerCase ||
        FEditType == etMixedCase)
        SetModified(true);
}
