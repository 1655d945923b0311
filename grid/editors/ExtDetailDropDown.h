#pragma once
// The detail drop-down: an editable drop-down edit whose popup lists one item per row (a
// caption, an optional mini-HTML note and an optional picture or image-list image) in an item
// selector it draws itself. Typing completes the text to the first caption it starts.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"
#include "grid/editors/ExtSelectorPopup.h"

#include <functional>
#include <memory>
#include <vector>

class TDetailItems;

class TDetailItem : public TOwnedItem<TDetailItems> {
public:
    explicit TDetailItem(TDetailItems* Collection) : TOwnedItem(Collection) {}
    void Assign(TPersistent* Source) override;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { Change(FImageIndex, Value); }
    // A picture of the item's own; when it holds something it wins over ImageIndex.
    TPicture* Image() { return &FImage; }
    void SetImage(TPicture* Value) { FImage.Assign(Value); }
    bool HasPicture() const { return FImage.Graphic() && !FImage.Graphic()->Empty(); }
    QString Notes() const { return FNotes; }
    void SetNotes(const QString& Value) { FNotes = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    TObject* ItemObject() const { return FItemObject; }
    void SetItemObject(TObject* Value) { FItemObject = Value; }

    TRect FRect{0, 0, 0, 0}; // not used by the drop-down

private:
    int FImageIndex = -1;
    TPicture FImage;
    QString FNotes;
    int FTag = 0;
    TObject* FItemObject = nullptr; // not owned
};

class TDetailItems : public TOwnedItems<TDetailItem, TDetailItems> {
public:
    using TOwnedItems::IndexOf;
    using TOwnedItems::TOwnedItems;
    // The first item whose caption equals AValue exactly (case counts), else -1.
    int IndexOf(const QString& AValue) const;
};

class TExtDetailDropDown : public TExtCustomDropDown {
public:
    explicit TExtDetailDropDown(TComponent* AOwner);
    ~TExtDetailDropDown() override;
    void AfterConstruction() override;

    void SelectFirst() { Select(smFirst); }
    void SelectLast() { Select(smLast); }
    void SelectNext() { Select(smNext); }
    void SelectPrevious() { Select(smPrevious); }

    // Handed to the selector; the drop-down's own item drawing does not use it.
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TDetailItems* Items() const { return FItems.get(); }
    void SetItems(TDetailItems* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(TFont* Value) { FCaptionFont->Assign(Value); }
    TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); }
    // Whether typing completes the text (off after Backspace, Delete or Esc until another key).
    bool WorkMode() const { return FWorkMode; }

    TExtCustomItemSelector* ItemSelector() const { return FPopup.Selector(); }
    QString CurSearch() const { return FPopup.CurSearch(); }
    TTimer* KeyTimer() const { return FPopup.KeyTimer(); }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoDropDown() override;
    void SizeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownSizing() override;
    void DropDownFormDestroyed() override { FPopup.Forget(); }
    void MouseWheelDownHook() override;
    void MouseWheelUpHook() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TExtStyle AStyle) override;
    // A text written by code is taken as it stands: only typing completes.
    void SetText(const QString& Value) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage; // replaces the drawing of every popup item

protected:
    // The grid's wrapper chains to these two.
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TMessage& Message) override;
    void WMChar(TMessage& Message) override;

private:
    void Select(TSelectMove Move);
    void SyncSelector();
    void FillIfStale();
    void TakeChoice(int Index);
    void StepSelector(int Dir);
    void SetTextQuiet(const QString& Value);
    void DrawDetailItem(TCanvas* Canvas, TRect R, int Index);
    void DetailItemSize(TSize& ASize);

    TSelectorPopup FPopup{this};
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    int FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    int FItemHeight = 22;
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TFont> FNotesFont;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    QString FOldValue;
    bool FMatchCase = false;
    // Set while the control writes its own text, so that writing it is not taken for typing.
    bool FSettingText = false;
};
