#pragma once
// The image picker drop-down: a non-editable drop-down edit that shows the picture of the chosen
// item and whose popup shows its items (pictures or images of an image list, with optional
// captions and hints) in an item selector.
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"
#include "grid/editors/ExtSelectorPopup.h"

#include <functional>
#include <memory>
#include <vector>

class TImageItems;

class TImageItem : public TOwnedItem<TImageItems> {
public:
    explicit TImageItem(TImageItems* Collection) : TOwnedItem(Collection) {}
    void Assign(TPersistent* Source) override;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { Change(FImageIndex, Value); }
    // A picture of the item's own; when it holds something it wins over ImageIndex.
    TPicture* Image() { return &FImage; }
    void SetImage(TPicture* Value) { FImage.Assign(Value); }
    bool HasPicture() const { return FImage.Graphic() && !FImage.Graphic()->Empty(); }
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }

    TRect FRect{0, 0, 0, 0}; // not used by the picker

private:
    int FImageIndex = -1;
    TPicture FImage;
    QString FHint;
};

class TImageItems : public TOwnedItems<TImageItem, TImageItems> {
public:
    using TOwnedItems::TOwnedItems;
    TImageItem* GetItem(int Index) const { return Items(Index); }
};

class TExtImagePickerDropDown : public TExtCustomDropDown {
public:
    explicit TExtImagePickerDropDown(TComponent* AOwner);
    ~TExtImagePickerDropDown() override;
    void AfterConstruction() override;

    // One item per image of Images, appended.
    void AddImagesFromImageList();
    // One item per directory entry matching AFolder (a folder and a file mask), appended; an
    // entry whose picture does not load stays, with an empty picture and no caption.
    void AddImagesFromFolder(const QString& AFolder, bool SetImageCaption);
    void SelectFirst() { Select(smFirst); }
    void SelectLast() { Select(smLast); }
    void SelectNext() { Select(smNext); }
    void SelectPrevious() { Select(smPrevious); }

    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TImageItems* Items() const { return FItems.get(); }
    void SetItems(TImageItems* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The image-list index of the selected item; writing selects the first item that has it.
    int ImageIndex() const;
    void SetImageIndex(int Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }

    TExtCustomItemSelector* ItemSelector() const { return FPopup.Selector(); }
    QString CurSearch() const { return FPopup.CurSearch(); }
    TTimer* KeyTimer() const { return FPopup.KeyTimer(); }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownFormDestroyed() override { FPopup.Forget(); }
    void MouseWheelDownHook() override;
    void MouseWheelUpHook() override;
    void DrawFocusedText(TCanvas* Canvas) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TExtStyle AStyle) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    TDrawItemEvent OnDrawItem; // replaces the content drawing of popup items

protected:
    void WMKeyDown(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMPaint(TMessage& Message) override;

private:
    void Select(TSelectMove Move);
    void FillSelector();
    void FillIfStale();
    void Wheel(bool Down);

    TSelectorPopup FPopup{this};
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TImageItems> FItems;
    int FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
};
