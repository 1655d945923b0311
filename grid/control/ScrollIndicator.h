#pragma once
// The thin scroll indicators that replace the scroll bars with the metro scroll type (a vertical
// one docked at the grid's right edge, a horizontal one at its bottom), each drawing a thumb for
// the visible part and letting the user page or drag; and the header drag button, the picture of
// a column header that follows the mouse while a column is moved.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QString>

class TExtStringGrid;

enum TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent* AOwner);

    // The thumb colour (the control itself has no background: the grid shows through).
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }
    bool DownOnScroller() const { return FDownOnScroller; }

    // The thumb along the indicator: false (and nothing drawn) when every row or column fits,
    // when there is nothing to scroll or the control is too small for a track.
    bool ThumbExtent(int& Start, int& Size) const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The grid's figures along this indicator's direction.
    struct TAxis {
        int Length = 0; // L
        int Count = 0;
        int Fixed = 0;
        int Position = 0;
        int Visible = 0;
        int FixedExtent = 0; // summed size of the fixed rows (columns)
        int FooterExtent = 0; // summed size of the fixed footer rows (columns)
        int FirstExtent = 0; // size of row (column) 0
    };
    TExtStringGrid* Grid() const;
    bool Axis(TAxis& A) const;
    void SetPosition(int Value);
    TColor FColor = TColor(0xC0C0C0);
    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
    TScrollDirection FDirection = sdVertical;
};

class THeaderDragButton : public TCustomControl {
public:
    explicit THeaderDragButton(TExtStringGrid* AOwner);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }

protected:
    void Paint() override;

private:
    TExtStringGrid* FGrid;
    QString FCaption;
    bool FFlat = false;
};
