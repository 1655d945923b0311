#pragma once
// Pop-up menus: a tree of items shown at a screen point.
#include "platform/gui/Controls.h"

#include <QString>

#include <memory>
#include <vector>

class QMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    QString Caption() const { return FCaption; } // "-" is a separator line
    void SetCaption(const QString& Value) { FCaption = Value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value); // a checked radio item unchecks the others of its group
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value) { FRadioItem = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool IsLine() const { return FCaption == QLatin1String("-"); }

    // Sub-items: owned by this item.
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const; // raises EListError outside 0..Count-1
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(TMenuItem* Item) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }

    // Fires OnClick (after AutoCheck toggles Checked).
    virtual void Click();
    TNotifyEvent OnClick;

private:
    QString FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    QString FHint;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    TMenuItem* Items() { return FItems.get(); }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
    // Fires OnPopup, then shows the menu at the screen point without blocking; a chosen item's
    // Click runs from the event loop.
    virtual void Popup(int X, int Y);
    void CloseMenu();
    bool Showing() const;
    TNotifyEvent OnPopup;

private:
    std::unique_ptr<TMenuItem> FItems;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
    QMenu* FMenu = nullptr;
};
