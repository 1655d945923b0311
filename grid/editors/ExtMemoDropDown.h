#pragma once
// A drop-down edit whose value is a text of several lines edited in a memo in the popup; the edit
// shows the first line, shortened to fit. Closing the popup keeps what was typed in the memo,
// cancelling it drops it.
#include "grid/editors/ExtDropDown.h"
#include "platform/gui/Menus.h"

#include <memory>

class TExtMemoDropDown : public TExtCustomDropDown {
public:
    explicit TExtMemoDropDown(TComponent* AOwner);
    ~TExtMemoDropDown() override;

    TStringList* MemoText() const { return FMemoText.get(); }
    void SetMemoText(TStrings* Value);
    TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(TScrollStyle Value) { FMemoScrollBars = Value; }
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool Value);
    TPopupMenu* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(TPopupMenu* Value) { FMemoPopup = Value; }
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    TMemo* Memo() const { return FMemo; }
    static constexpr int MemoHeight = 100;

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void AfterDropUp() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;

    TNotifyEvent OnMemoChange;

protected:
    void Change() override;
    void DoEnter() override;

private:
    void MemoTextChanged(TObject* Sender);
    // The edit shows the value: all of it while it can be typed, else its first line.
    void UpdateEditText();
    std::unique_ptr<TStringList> FMemoText;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    TPopupMenu* FMemoPopup = nullptr;
    bool FAutoDrop = false;
    bool FAutoDropSuspended = false;
    TMemo* FMemo = nullptr;
    bool FInternalUpdate = false;
};
