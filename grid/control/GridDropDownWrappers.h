#pragma once
// The grid's drop-down editors: each is a drop-down control of the editors' family tied to the
// grid by one shared layer. That layer carries the cell's value in and out, turns Enter, Escape,
// Tab and the arrows into grid navigation, reports typing and changes through the grid's events
// and closes the edit when the control loses the focus. The value is validated before it is
// written into the cell the editor was opened for; a refused value never reaches the cell, and
// Escape leaves the cell with the text it had when the editor opened.
//
// A wrapper is TGridDropDownWrapper<its control> plus what its traits and the value hooks below
// say about it; the key, typing, change, exit and focus handling exists once, in TGridDropDownLink.
#include "grid/control/ExtGrid_Editors.h"
#include "grid/editors/ExtCalculatorDropdown.h"
#include "grid/editors/ExtColorPickerDropDown.h"
#include "grid/editors/ExtDetailDropDown.h"
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtImagePickerDropDown.h"
#include "grid/editors/ExtMemoDropDown.h"
#include "grid/editors/ExtTimePickerDropDown.h"
#include "grid/editors/ExtTrackBarDropDown.h"
#include "platform/gui/Messages.h"

#include <QString>

class TExtStringGrid;

// What sets one wrapper's keys apart from the others'.
struct TGridDropDownTraits {
    // The caret goes under the mouse when a click opened the editor.
    bool CaretAtClick = false;
    // While the popup is open the arrows, Page Up/Down and End stay with the popup (only Tab,
    // Enter and Escape act on the grid), and only Enter commits.
    bool PopupKeepsArrows = false;
};

// The grid side every drop-down wrapper shares.
class TGridDropDownLink {
public:
    TGridDropDownLink(TComponent* AOwner, TExtCustomDropDown* AControl, TGridDropDownTraits ATraits);
    virtual ~TGridDropDownLink() = default;

    TExtCustomDropDown* Control() const { return FControl; }
    TExtStringGrid* Grid() const { return FGrid; }
    TGridEditorCell& Cell() { return FCell; }
    const TGridEditorCell& Cell() const { return FCell; }
    const TGridDropDownTraits& Traits() const { return FTraits; }

    // Fills the control from the cell (real column, display row) it opens on; Text is the text
    // the cell edits. The default puts Text into the edit field.
    virtual void LoadCellValue(int RealCol, int DisplRow, const QString& Text);
    // The text the cell gets (the edit field's text by default).
    virtual QString CellValue() const;
    // Puts a text back into the edit field (the text validation left) without a change event.
    void PutText(const QString& Value);
    // A new edit starts: nothing of it is in the cell yet.
    void BeginEdit() { FStored = false; }
    // Validates the control's value and, once accepted, writes it into the editor's cell (the
    // pickers put their colour or image there too); false, with nothing written, when refused.
    // A value already written by this edit is not written, nor announced, a second time.
    bool StoreValue();

    // Cleared at the start of every key-down.
    bool Forced = false;
    // False after Backspace or Delete, true after any other key.
    bool WorkMode = true;

protected:
    // Whether the wrapper itself claims Key in the special-key query.
    bool ClaimsKey(Word Key) const;
    // The shared key-down steps; Key comes back 0 when it is used up, else it goes on to the
    // control's own key handling.
    void GridKeyDown(Word& Key, TShiftState Shift);
    // The shared typing step; false when the character is swallowed.
    bool GridKeyPress(QChar& Key);
    void GridChange();
    void GridExit();
    void PlaceCaretAtClick();
    // Runs before a commit key writes the value (the calculator finishes its sum on Enter).
    virtual void BeforeCommit(Word Key) { (void)Key; }
    // Around the write of a value: the pickers announce their choice first (which may change
    // the value) and put it into the cell after the text is written.
    virtual void BeforeStore(QString& Value) { (void)Value; }
    virtual void AfterStore() {}
    virtual void SetEditText(const QString& Value);

private:
    // Writes and validates the edit text; on refusal shows the validation's text (all selected,
    // or the caret at its end) and returns false.
    bool CommitText(bool SelectAll);
    bool IsOpenEditor() const;
    TExtCustomDropDown* FControl;
    TExtStringGrid* FGrid;
    TGridDropDownTraits FTraits;
    TGridEditorCell FCell;
    bool FStored = false;
    QString FStoredFrom; // the control's value when it was written
};

// One wrapper: the drop-down control TBase with the grid's layer over its messages.
template <class TBase>
class TGridDropDownWrapper : public TBase, public TGridDropDownLink {
public:
    explicit TGridDropDownWrapper(TComponent* AOwner, TGridDropDownTraits ATraits = {})
        : TBase(AOwner), TGridDropDownLink(AOwner, this, ATraits) {}

    void WndProc(TMessage& M) override {
        switch (M.Msg) {
            case CM_WANTSPECIALKEY:
                // Enter and Escape belong to the grid's edit, not to the form's default and cancel
                // buttons; Tab when the grid moves on with it.
                if (ClaimsKey(Word(M.WParam))) {
                    M.Result = 1;
                    return;
                }
                TBase::WndProc(M);
                return;
            case WM_KEYDOWN: {
                Word Key = Word(M.WParam);
                GridKeyDown(Key, TShiftState::FromBits(uint32_t(M.LParam)));
                if (Key == 0) return;
                M.WParam = Key;
                TBase::WndProc(M);
                return;
            }
            case WM_CHAR: {
                QChar C(char16_t(M.WParam));
                if (!GridKeyPress(C)) return;
                M.WParam = C.unicode();
                TBase::WndProc(M);
                return;
            }
            default: TBase::WndProc(M); return;
        }
    }

protected:
    void Change() override {
        TBase::Change();
        GridChange();
    }
    void DoExit() override {
        GridExit();
        TBase::DoExit();
    }
    void SetFocusMessageHandler(TMessage& M) override {
        TBase::SetFocusMessageHandler(M);
        if (Traits().CaretAtClick) PlaceCaretAtClick();
    }
    void SetEditText(const QString& Value) override { TBase::SetText(Value); }
};

// ---- the wrappers ---------------------------------------------------------------------------------
class TGridTrackbarDropDown : public TGridDropDownWrapper<TExtTrackBarDropDown> {
public:
    explicit TGridTrackbarDropDown(TComponent* AOwner);
    // The position is the text as a whole number; any other text leaves the position alone.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
};

class TGridMemoDropDown : public TGridDropDownWrapper<TExtMemoDropDown> {
public:
    explicit TGridMemoDropDown(TComponent* AOwner);
    // The memo's text, then the caret at the start with nothing selected.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
    // All lines of the memo: the edit shows only the first one while it cannot be typed in.
    QString CellValue() const override;
};

class TGridCalculatorDropDown : public TGridDropDownWrapper<TExtCalculatorDropdown> {
public:
    explicit TGridCalculatorDropDown(TComponent* AOwner);

protected:
    void BeforeCommit(Word Key) override;
};

class TGridTimepickerDropDown : public TGridDropDownWrapper<TExtTimePickerDropDown> {
public:
    explicit TGridTimepickerDropDown(TComponent* AOwner);
};

class TGridDetailPickerDropDown : public TGridDropDownWrapper<TExtDetailDropDown> {
public:
    explicit TGridDetailPickerDropDown(TComponent* AOwner);
    // The text, then the item whose caption it is (when there is one) selected.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
};

class TGridColorDropDown : public TGridDropDownWrapper<TExtColorPickerDropDown> {
public:
    explicit TGridColorDropDown(TComponent* AOwner);
    // The shape's colour for a shape cell, else the cell's colour.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
    // The chosen colour's text; the cell's own text while no colour is chosen.
    QString CellValue() const override;

protected:
    // OnColorSelected may change the colour and its text; the colour goes to the shape of a
    // shape cell, else to the cell.
    void BeforeStore(QString& Value) override;
    void AfterStore() override;

private:
    TColor FStoreColor = clNone;
};

class TGridImageDropDown : public TGridDropDownWrapper<TExtImagePickerDropDown> {
public:
    explicit TGridImageDropDown(TComponent* AOwner);
    // For an image-list or data-image cell: the grid's images, the cell's image selected and its
    // caption as the text.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
    // A data-image cell's text is the index of its image; any other cell keeps its text (an
    // image-list cell gets the picked image instead).
    QString CellValue() const override;

protected:
    // OnImageSelected may change the index.
    void BeforeStore(QString& Value) override;
    void AfterStore() override;

private:
    bool FDataImage = false;
    bool FImageList = false;
    int FStoreIndex = -1;
};
