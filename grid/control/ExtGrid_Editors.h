#pragma once
// The grid's in-place editor controls: the combo, check box, spin, date, date-time, edit-button,
// unit and button editors. Each is a thin layer over its control that ties it to the grid: it
// remembers the cell (real column, real row) it was opened for and writes only there, validates
// before it writes, brings back the opening text on Escape and moves on the navigation keys.
#include "grid/base/BaseGrid.h"
#include "grid/control/EsgCombo.h"
#include "grid/editors/ESGEdit.h"
#include "grid/editors/EsgDateTimePicker.h"
#include "grid/editors/ExtDateTimePicker.h"
#include "grid/editors/esgspin.h"
#include "platform/gui/StdCtrls.h"

#include <QString>

#include <functional>
#include <initializer_list>

class TExtStringGrid;

// The cell an editor was opened for and what it held then.
struct TGridEditorCell {
    int RealCol = -1;
    int RealRow = -1;
    QString OpenText; // the cell's stored text when the editor opened
    bool Open = false; // shown and holding a value not yet written
    bool Validated = false; // the text below was accepted by the validation
    QString ValidatedText;
    // The text last refused by the validation is shown, not stored.
    void Reset(int ACol, int ARow, const QString& Text) {
        RealCol = ACol, RealRow = ARow, OpenText = Text;
        Open = true;
        Validated = false;
        ValidatedText.clear();
    }
};

// ---- combo -----------------------------------------------------------------------------------------
class TGridCombo : public TEsgComboBox {
public:
    explicit TGridCombo(TComponent* AOwner); // AOwner must be the grid
    TExtStringGrid* Grid() const { return FGrid; }
    void SizeDropDownWidth();
    // Lookup completion of the text up to the caret (after each key release).
    void DoChange();
    TGridEditorCell& Cell() { return FCell; }

    bool Forced = false;
    bool WorkMode = true;
    int ItemIdx = -1;
    bool ItemChange = false;
    TNotifyEvent FOnReturnKey;

    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void Select() override;
    void DoEnter() override;
    void DoExit() override;

private:
    void EditChanged();
    void FireComboChange(int Index);
    void Wheel(int Delta);
    // Writes and validates the text for the cell; on refusal shows the validation's text.
    bool CommitText(bool SelectAllOnRefusal);
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
    int FListChoices = 0; // choices the list announced (each reaches the grid as a pick does)
};

// ---- check box -------------------------------------------------------------------------------------
class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

// ---- spin ------------------------------------------------------------------------------------------
class TGridSpin : public TEsgSpinEdit {
public:
    explicit TGridSpin(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void SpinUpClick(TObject* Sender) override;
    void SpinDownClick(TObject* Sender) override;
    void WndProc(TMessage& Message) override;
    // Pastes the clipboard's text through the spin's character filter.
    void PasteText();

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void DoExit() override;

private:
    void FireSpin(bool UpDown);
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

// ---- date and time picker --------------------------------------------------------------------------
class TGridDatePicker : public TEsgDateTimePicker {
public:
    explicit TGridDatePicker(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void WndProc(TMessage& Message) override;
    // The text the cell gets: the field's text, empty when the check box is cleared.
    QString CellText() const;

    Word Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
    bool FOldDropped = false;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;

private:
    void ShiftFocus();
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

class TGridDateTimePicker : public TExtDateTimePicker {
public:
    explicit TGridDateTimePicker(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    // The text the cell gets: short date, a blank and short time; empty when unchecked.
    QString CellText() const;
    // The value it opened with (Escape brings it back).
    TDateTime Original() const { return FOriginal; }
    void SetOriginal(TDateTime Value) { FOriginal = Value; }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WndProc(TMessage& Message) override;

private:
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
    TDateTime FOriginal = 0;
};

// ---- edit button and unit editor -------------------------------------------------------------------
class TGridEditBtn : public TEsgEditBtn {
public:
    explicit TGridEditBtn(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void ButtonClick(TObject* Sender) override;
    void WndProc(TMessage& Message) override;
    // Pastes the clipboard's text through the editor's character filter and validation.
    void PasteText();

    bool WorkMode = true;
    int FSelKeyDown = 0;
    bool FStopEditAfterClick = false;
    // The editor kind it was opened for (its character filter).
    TEditorType Kind = edEditBtn;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void DoExit() override;

private:
    void Lookup();
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

class TGridUnitEditBtn : public TEsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void ButtonClick(TObject* Sender) override;
    void WndProc(TMessage& Message) override;
    // Pastes the clipboard's text through the kind's character filter.
    void PasteText();
    TEditorType Kind = edUnitEditBtn;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

// ---- button ----------------------------------------------------------------------------------------
class TGridButton : public TButton {
public:
    explicit TGridButton(TComponent* AOwner);
    TGridEditorCell& Cell() { return FCell; }
    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoExit() override;

private:
    void Ellipsis();
    TExtStringGrid* FGrid;
    TGridEditorCell FCell;
};

// What every editor control of the grid asks of its grid: whether Key is one of Keys, the grid
// that owns it (an owner that is no grid is a class-cast error, EInvalidCast) and whether it is
// the grid's open editor now.
bool GridEditorKeyIn(Word Key, std::initializer_list<Word> Keys);
TExtStringGrid* GridEditorOwner(TComponent* AOwner);
bool GridEditorIsOpen(TExtStringGrid* G, const TWinControl* C);

// The character filters the edit-button and unit editors share with the default text editor:
// whether Key may go into Text (caret at SelStart, SelLength selected); a refused key beeps.
bool GridNumericCharAllowed(QChar Key, const QString& Text, int SelStart, int SelLength);
// Outside the float set a character passes only with Ctrl held (the clipboard keys).
bool GridFloatCharAllowed(QChar& Key, const QString& Text, int SelStart, int SelLength, bool Ctrl);
// Puts the clipboard text Clip into E as typing it would: each character (control characters
// aside) asked about through Accepts with the text and caret as they stand by then, within E's
// length limit; the pasted part is selected when it replaced a selection, else the caret follows it.
void GridPasteAsTyped(TCustomEdit* E, QString Clip, const std::function<bool(QChar&)>& Accepts);
