#pragma once
// Standard controls with absolute geometry: labels, link labels, edits, memos, combo boxes,
// check boxes, radio buttons, group boxes, list boxes, scroll bars and push buttons.
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Classes.h"

#include <QStringList>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QListWidget;
class QScrollBar;
class QPushButton;

// ---- TLabel -----------------------------------------------------------------------------------
// Where a label's text that does not fit its width is shortened ("..." replaces the rest); only
// for a label that is not sized to its text and does not wrap.
enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) {
        FAlignment = Value;
        update();
    }
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value) {
        FLayout = Value;
        update();
    }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) {
        FTransparent = Value;
        update();
    }
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TEllipsisPosition EllipsisPosition() const { return FEllipsisPosition; }
    void SetEllipsisPosition(TEllipsisPosition Value) {
        FEllipsisPosition = Value;
        update();
    }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value) { FFocusControl = Value; }
    // Sizes the label to its caption (width kept when word-wrapping).
    void AdjustBounds();
    void Loaded() override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    unsigned DrawFlags() const;

private:
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TEllipsisPosition FEllipsisPosition = epNone;
    TWinControl* FFocusControl = nullptr;
};

// ---- TLinkLabel -------------------------------------------------------------------------------
enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = std::function<void(TObject* Sender, const QString& Link, TSysLinkType LinkType)>;

// A label whose caption may hold links written as <a href="address">text</a>.
class TLinkLabel : public TWinControl {
public:
    explicit TLinkLabel(TComponent* AOwner);
    TSysLinkEvent OnLinkClick;
    // What a click on the link does: OnLinkClick with its address (the text when it has none).
    void ClickLink(const QString& Link);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) {
        FAutoSize = Value;
        AdjustBounds();
    }
    QLabel* Native() const { return FLabel; }

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    QLabel* FLabel;
    bool FAutoSize = true;
};

// ---- edits ------------------------------------------------------------------------------------
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    void SetText(const QString& Value) override;
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value); // 0: no limit
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    // The mask of the classic masked edit: "mask;keep literals;blank" with 0 9 # L l A a C c
    // > < \ as its field characters. Empty: no mask.
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    void SetSelText(const QString& Value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(QString()); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();

    TNotifyEvent OnChange;
    QLineEdit* Native() const { return FEdit; }
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void Change();
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; }
    void DoEnter() override;

private:
    QString GetText() const override;
    QLineEdit* FEdit;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    QChar FPasswordChar;
    QString FEditMask;
    bool FAutoSelect = true;
    bool FModified = false;
    TBorderStyle FBorderStyle = bsSingle;
    int FSelAnchor = 0;
};

// Converts the classic edit mask to Qt's input mask ("" for an empty mask).
QString EditMaskToInputMask(const QString& EditMask);

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};
using TMaskEdit = TEdit;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    void SetText(const QString& Value) override;
    TStrings* Lines() { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value; }
    void Clear() { SetText(QString()); }
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    TNotifyEvent OnChange;
    QPlainTextEdit* Native() const { return FEdit; }
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void Change();
    LRESULT DialogCode() const override;

private:
    QString GetText() const override;
    QPlainTextEdit* FEdit;
    std::unique_ptr<TStrings> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
    int FMaxLength = 0;
};

// ---- combo box --------------------------------------------------------------------------------
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    // The list; each entry may carry an object (not owned).
    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex() const;
    void SetItemIndex(int Value); // -1 selects nothing (a drop-down list then shows no text)
    void SetText(const QString& Value) override; // a drop-down list selects the matching item, if any
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    int ItemHeight() const;
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    void SelectAll();
    void Clear();

    TNotifyEvent OnChange; // the text changed (typing, or a choice from the list)
    TNotifyEvent OnSelect; // an item was chosen from the list
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    QComboBox* Native() const { return FCombo; }
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void Notify(Word Code);

private:
    void ConnectEdit();
    QPointer<QLineEdit> FConnectedEdit;
    friend class TComboPopupBox;
    QString GetText() const override;
    QComboBox* FCombo;
    std::unique_ptr<TStrings> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    bool FSorted = false;
    bool FSettingText = false;
};
// The class the platform's combo boxes derive from.
using TCustomComboBox = TComboBox;

// ---- buttons ----------------------------------------------------------------------------------
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // OnClick, then the button's modal result (when set) becomes its form's.
    void Click() override;
    QPushButton* Native() const { return FButton; }
    void WndProc(TMessage& Message) override;

protected:
    void TextChanged() override;
    LRESULT DialogCode() const override {
        return FDefault ? DLGC_DEFPUSHBUTTON | DLGC_BUTTON : DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON;
    }

private:
    QPushButton* FButton;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // A change fires OnClick, whoever makes it.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // What a click does: unchecked -> checked -> grayed (when allowed) -> unchecked.
    virtual void Toggle();
    QCheckBox* Native() const { return FBox; }
    void WndProc(TMessage& Message) override;

protected:
    void TextChanged() override;
    LRESULT DialogCode() const override { return DLGC_BUTTON; }

private:
    QCheckBox* FBox;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    // Checking one unchecks the other radio buttons of the same parent and fires OnClick.
    void SetChecked(bool Value);
    QRadioButton* Native() const { return FRadio; }
    void WndProc(TMessage& Message) override;

protected:
    void TextChanged() override;
    LRESULT DialogCode() const override { return DLGC_RADIOBUTTON | DLGC_BUTTON; }

private:
    QRadioButton* FRadio;
    bool FChecked = false;
};

// ---- group box, list box, scroll bar ----------------------------------------------------------
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void TextChanged() override { update(); }
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;
    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex() const;
    void SetItemIndex(int Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int Value);
    int ItemHeight() const;
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    void Clear();
    QListWidget* Native() const { return FList; }

protected:
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

private:
    QListWidget* FList;
    std::unique_ptr<TStrings> FItems;
    bool FMultiSelect = false;
    bool FSorted = false;
    bool FSetting = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value); // fires OnChange when it moves
    int SmallChange() const;
    void SetSmallChange(int Value);
    int LargeChange() const;
    void SetLargeChange(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    void SetParams(int APosition, int AMin, int AMax);
    TNotifyEvent OnChange;
    TScrollEvent OnScroll;
    QScrollBar* Native() const { return FBar; }

protected:
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }

private:
    QScrollBar* FBar;
    TScrollBarKind FKind = sbHorizontal;
    int FPageSize = 0;
    int FMax = 100;
    bool FSetting = false;
};
