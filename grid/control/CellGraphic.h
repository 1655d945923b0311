#pragma once
// TCellGraphic: the record behind every cell object of the string grid (check boxes, pictures,
// progress bars, buttons ...). The cell store keeps at most one per cell and frees it with the
// cell's record. Its two object slots are typed: each holds nothing, an object of the caller
// (referenced, never freed here), an object the record made itself (owned, freed with the record
// or when the slot is overwritten) or a colour standing in the object's place.
#include "grid/control/ExtGridEvents.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Objects.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <variant>

class TExtStringGrid;
class TFilePicture;
class TIntList;

enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// An object of the caller that can live in a cell and be asked through ICellGraphic.
class TInterfacedPersistent : public TPersistent {};

// What a caller's object offers to draw itself in a cell.
class ICellGraphic {
public:
    virtual ~ICellGraphic() = default;
    virtual void Draw(TCanvas* Canvas, const TRect& R, int Col, int Row, bool Selected, TExtStringGrid* Grid) = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // Drawn before the cell text, which is then drawn over it.
    virtual bool IsBackground() = 0;
};

// The size of a file picture (false when Picture is none) and its drawing stretched into R.
bool FilePictureSize(TObject* Picture, int& Width, int& Height);
void DrawFilePicture(TObject* Picture, TCanvas* Canvas, const TRect& R);
TObject* FilePictureObject(TFilePicture* Picture);

// One object slot of the record.
class TCellObjectSlot {
public:
    TObject* Object() const;
    bool Owned() const { return std::holds_alternative<std::unique_ptr<TObject>>(FValue); }
    // Held together with its other owners: alive as long as any of them keeps it.
    bool Shared() const { return std::holds_alternative<std::shared_ptr<TObject>>(FValue); }
    bool HoldsColor() const { return std::holds_alternative<TColor>(FValue); }
    // The colour kept in the slot; 0 when the slot holds none.
    TColor Color() const { return HoldsColor() ? std::get<TColor>(FValue) : 0; }
    bool Empty() const { return std::holds_alternative<std::monostate>(FValue); }

    // Each setter first frees what the slot owned, except when it is handed that same object.
    void SetBorrowed(TObject* Value);
    void SetOwned(std::unique_ptr<TObject> Value);
    void SetShared(std::shared_ptr<TObject> Value);
    void SetColor(TColor Value);
    void Clear();

private:
    std::variant<std::monostate, TObject*, std::unique_ptr<TObject>, TColor, std::shared_ptr<TObject>> FValue;
};

class TCellGraphic : public TPersistent {
public:
    TCellGraphic() = default;
    ~TCellGraphic() override = default;

    // Copies the kind, placement and values; never an object slot, the variant value or the
    // tri-state state, so a copy never frees (or keeps alive) the source's objects.
    void Assign(TPersistent* Source) override;

    void SetInterfacedCell(TInterfacedPersistent* AObject);
    void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString& caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode stretchmode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    void SetAngle(int16_t AAngle);
    // The size a picture takes in a cell of cw x rh; (0, 0) for a kind without picture.
    TPoint GetPictureSize(int cw, int rh, bool hastext) const;

    // ---- published fields ----
    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType Value) { FCellType = Value; }
    // The main object (bitmap, picture, file picture, glyph, integer list, string list or a
    // caller's interfaced object); null when the slot holds a colour or nothing.
    TObject* CellBitmap() const { return FCellBitmap.Object(); }
    void SetCellBitmap(TObject* Value) { FCellBitmap.SetBorrowed(Value); }
    // An object the record made for the cell: owned from now on.
    void SetCellBitmapOwned(std::unique_ptr<TObject> Value);
    // An object the cell shares with its caller.
    void SetCellBitmapShared(std::shared_ptr<TObject> Value) { FCellBitmap.SetShared(std::move(Value)); }
    TColor CellBitmapColor() const { return FCellBitmap.Color(); }
    void SetCellBitmapColor(TColor Value) { FCellBitmap.SetColor(Value); }
    TObject* CellIcon() const { return FCellIcon.Object(); }
    void SetCellIcon(TObject* Value) { FCellIcon.SetBorrowed(Value); }
    void SetCellIconOwned(std::unique_ptr<TObject> Value);
    TColor CellIconColor() const { return FCellIcon.Color(); }
    void SetCellIconColor(TColor Value) { FCellIcon.SetColor(Value); }
    const TCellObjectSlot& BitmapSlot() const { return FCellBitmap; }
    const TCellObjectSlot& IconSlot() const { return FCellIcon; }
    // The slot's object as a given class; null when it holds another class or no object.
    template <typename T>
    T* CellBitmapAs() const {
        return dynamic_cast<T*>(FCellBitmap.Object());
    }
    template <typename T>
    T* CellIconAs() const {
        return dynamic_cast<T*>(FCellIcon.Object());
    }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int Value) { FCellIndex = Value; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool Value) { FCellTransparent = Value; }
    // Whether the record made its objects itself. The flag is kept for streaming and copies;
    // what is freed is decided by the slots alone.
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool Value) { FCellCreated = Value; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool Value) { FCellBoolean = Value; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int Value) { FCellAngle = Value; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double Value) { FCellValue = Value; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int Value) { FCellErrLen = Value; }
    QString CellText() const { return FCellText; }
    void SetCellText(const QString& Value) { FCellText = Value; }
    QVariant CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant& Value) { FCellVar = Value; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }

    // A balloon attached to a check box or radio button: the slot keeps the balloon's owned
    // object and the flag marks it (the greyed look of a check box is a separate value).
    bool HasBalloon() const { return FHasBalloon; }
    void SetHasBalloon(bool Value) { FHasBalloon = Value; }

    // Where the painter last placed a push button in its cell: signed offsets from the cell's
    // top-left corner, read by hit testing.
    TPoint ButtonOffset() const { return FButtonOffset; }
    void SetButtonOffset(TPoint Value) { FButtonOffset = Value; }

    // A button's size as SetButton packs it.
    int ButtonWidth() const { return FCellIndex & 0xFFFF; }
    int ButtonHeight() const { return (FCellIndex >> 16) & 0xFFFF; }

private:
    void Place(TCellHAlign hal, TCellVAlign val) {
        FCellHAlign = hal;
        FCellVAlign = val;
    }
    TCellType FCellType = ctNone;
    TCellObjectSlot FCellBitmap;
    TCellObjectSlot FCellIcon;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
    bool FHasBalloon = false;
    TPoint FButtonOffset;
};
