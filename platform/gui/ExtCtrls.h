#pragma once
// Panels with bevels, shapes and images.
#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value) { FBevelOuter = Value; Changed(); }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value) { FBevelInner = Value; Changed(); }
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth Value) { FBevelWidth = std::max(1, Value); Changed(); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = std::max(0, Value); Changed(); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value) { FBorderStyle = Value; Changed(); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; update(); }
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment Value) { FVerticalAlignment = Value; update(); }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value) { FParentBackground = Value; update(); }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value) { FShowCaption = Value; update(); }
    // The client area less the border and bevels: where aligned children go.
    TRect AlignRect() const override;
protected:
    void Paint() override;
    void TextChanged() override { update(); }
private:
    void Changed();
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    TBevelWidth FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FParentBackground = false;
    bool FShowCaption = true;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value) { FShape = Value; update(); }
    TPen* Pen() { return &FPen; }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    TBrush* Brush() { return &FBrush; }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
protected:
    void Paint() override;
private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TPicture* Picture() { return &FPicture; }
    void SetPicture(TPicture* Value) { FPicture.Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; update(); }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) { FCenter = Value; update(); }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value) { FProportional = Value; update(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Where the picture is drawn in the client area.
    TRect DestRect() const;
protected:
    void Paint() override;
private:
    void PictureChanged();
    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};
