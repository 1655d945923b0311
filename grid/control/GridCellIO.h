#pragma once
// The cell carriers of the grid's binary stream: small components whose properties carry one
// cell's text, its properties record and its graphic. A carrier is written and read whole with
// WriteGridCarrier / ReadGridCarrier: a signature, the class name, the component name, then
// its properties by name and type up to an end mark. The writer and the reader make one
// carrier of each class and reuse it for every cell.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"

#include <QString>

#include <functional>
#include <memory>

class TCellProperties;
class TCellGraphic;
class TFilePicture;
class TCarrierWriter;
class TCarrierReader;

// Every carrier: its properties go out in one fixed order and come back by name.
class TGridStreamCarrier : public TComponent {
public:
    explicit TGridStreamCarrier(TComponent* AOwner) : TComponent(AOwner) {}
    // The class name the stream carries.
    virtual QString CarrierClassName() const = 0;
    virtual void WriteProperties(TCarrierWriter& W) const = 0;
    // One property of the stream; raises EReadError for a name or type the class does not have.
    virtual void ReadProperty(const QString& Name, TCarrierReader& R) = 0;
    // A new carrier of the same class (same owner), to read into before anything is taken.
    virtual std::unique_ptr<TGridStreamCarrier> NewEmpty() const = 0;
    // Takes every carried value of another carrier of the same class.
    virtual void TakeFrom(TGridStreamCarrier* Source) = 0;
};

// The values a properties or graphic carrier carries, copied from one record to another; what no
// carrier carries (attached objects, controls, the owner cell) stays as it was in the target.
void CopyCarriedCellProperties(TCellProperties* Dest, const TCellProperties* Source);
void CopyCarriedCellGraphic(TCellGraphic* Dest, const TCellGraphic* Source);

// Writes the carrier at the stream's position.
void WriteGridCarrier(TStream* Stream, const TGridStreamCarrier* Carrier);
// Reads the next carrier into Carrier, whose class must match the stream's. A damaged or
// foreign carrier raises EReadError and leaves Carrier and its object as they were (the stream's
// position is then unspecified). The component name is cleared after reading, so that the next
// carrier of the class reads without a clash.
void ReadGridCarrier(TStream* Stream, TGridStreamCarrier* Carrier);

// The header of a grid stream: the size of the block, the widths of its columns and the heights of
// its rows (decimal, joined by ","), whether it is the whole grid, and the source grid's
// identity. Version tells this build's streams from anything else.
class TGridPropIO : public TGridStreamCarrier {
public:
    static constexpr int CurrentVersion = 1;
    explicit TGridPropIO(TComponent* AOwner) : TGridStreamCarrier(AOwner) {}
    int Version() const { return FVersion; }
    void SetVersion(int Value) { FVersion = Value; }
    int ColCount() const { return FColCount; }
    void SetColCount(int Value) { FColCount = Value; }
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value) { FRowCount = Value; }
    QString ColWidths() const { return FColWidths; }
    void SetColWidths(const QString& Value) { FColWidths = Value; }
    QString RowHeights() const { return FRowHeights; }
    void SetRowHeights(const QString& Value) { FRowHeights = Value; }
    bool FullGrid() const { return FFullGrid; }
    void SetFullGrid(bool Value) { FFullGrid = Value; }
    int ID() const { return FID; }
    void SetID(int Value) { FID = Value; }

    QString CarrierClassName() const override { return QStringLiteral("TGridPropIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    int FVersion = CurrentVersion;
    int FColCount = 0;
    int FRowCount = 0;
    QString FColWidths;
    QString FRowHeights;
    bool FFullGrid = false;
    int FID = 0;
};

// One cell: column and row (any non-negative 32-bit index), stored text and whether a properties
// record follows.
class TGridCellIO : public TGridStreamCarrier {
public:
    explicit TGridCellIO(TComponent* AOwner) : TGridStreamCarrier(AOwner) {}
    int Col() const { return FCol; }
    // Raises ERangeError for a negative index.
    void SetCol(int Value);
    int Row() const { return FRow; }
    void SetRow(int Value);
    QString Cell() const { return FCell; }
    void SetCell(const QString& Value) { FCell = Value; }
    bool HasProp() const { return FHasProp; }
    void SetHasProp(bool Value) { FHasProp = Value; }

    QString CarrierClassName() const override { return QStringLiteral("TGridCellIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    int FCol = 0;
    int FRow = 0;
    QString FCell;
    bool FHasProp = false;
};

// A cell's properties record (a copy, owned) and whether a graphic follows.
class TGridCellPropIO : public TGridStreamCarrier {
public:
    explicit TGridCellPropIO(TComponent* AOwner);
    ~TGridCellPropIO() override;
    TCellProperties* CellProperties() const { return FCellProperties.get(); }
    // Copies the carried values of the given record.
    void SetCellProperties(TCellProperties* Value);
    bool HasGraphic() const { return FHasGraphic; }
    void SetHasGraphic(bool Value) { FHasGraphic = Value; }

    QString CarrierClassName() const override { return QStringLiteral("TGridCellPropIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TCellProperties> FCellProperties;
    bool FHasGraphic = false;
};

// A cell's graphic record (a copy of its kind, placement and values; never its objects).
class TGridGraphicIO : public TGridStreamCarrier {
public:
    explicit TGridGraphicIO(TComponent* AOwner);
    ~TGridGraphicIO() override;
    TCellGraphic* CellGraphic() const { return FCellGraphic.get(); }
    void SetCellGraphic(TCellGraphic* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridGraphicIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TCellGraphic> FCellGraphic;
};

class TGridBMPIO : public TGridStreamCarrier {
public:
    explicit TGridBMPIO(TComponent* AOwner);
    ~TGridBMPIO() override;
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridBMPIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TBitmap> FBitmap;
};

class TGridIconIO : public TGridStreamCarrier {
public:
    explicit TGridIconIO(TComponent* AOwner);
    ~TGridIconIO() override;
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridIconIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TIcon> FIcon;
};

class TGridPicIO : public TGridStreamCarrier {
public:
    explicit TGridPicIO(TComponent* AOwner);
    ~TGridPicIO() override;
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridPicIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TPicture> FPicture;
};

// A file picture travels as its file name; reading it loads that file again.
class TGridFilePicIO : public TGridStreamCarrier {
public:
    explicit TGridFilePicIO(TComponent* AOwner);
    ~TGridFilePicIO() override;
    TFilePicture* Picture() const { return FPicture.get(); }
    void SetPicture(TFilePicture* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridFilePicIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TFilePicture> FPicture;
};

class TGridSLIO : public TGridStreamCarrier {
public:
    explicit TGridSLIO(TComponent* AOwner);
    ~TGridSLIO() override;
    TStringList* Strings() const { return FStrings.get(); }
    void SetStrings(TStrings* Value);

    QString CarrierClassName() const override { return QStringLiteral("TGridSLIO"); }
    void WriteProperties(TCarrierWriter& W) const override;
    void ReadProperty(const QString& Name, TCarrierReader& R) override;
    std::unique_ptr<TGridStreamCarrier> NewEmpty() const override;
    void TakeFrom(TGridStreamCarrier* Source) override;

private:
    std::unique_ptr<TStringList> FStrings;
};

// ---- the property stream ------------------------------------------------------------------------------
class TCarrierWriter {
public:
    explicit TCarrierWriter(TStream* S) : FStream(S) {}
    void Int(const char* Name, int Value);
    void Bool(const char* Name, bool Value);
    void Double(const char* Name, double Value);
    void String(const char* Name, const QString& Value);
    void Strings(const char* Name, const QStringList& Value);
    void Bytes(const char* Name, const QByteArray& Value);
    // A sub-object: its properties follow up to its own end mark.
    void BeginObject(const char* Name);
    void EndObject();
    // Raw pieces (the carrier's frame).
    void RawName(const QString& Name);
    void RawString(const QString& Value);
    void RawU32(quint32 Value);
    void RawBytes(const void* Data, int Count);

private:
    TStream* FStream;
};

class TCarrierReader {
public:
    explicit TCarrierReader(TStream* S) : FStream(S) {}
    // Each reads the value of the property whose name was just read; a value of another type
    // raises EReadError.
    int Int();
    // An integer that must lie within Min..Max.
    int IntIn(int Min, int Max);
    bool Bool();
    double Double();
    QString String();
    QStringList Strings();
    QByteArray Bytes();
    // Walks the properties of a sub-object, calling Each for each name, up to its end mark.
    void Object(const std::function<void(const QString& Name)>& Each);
    // The next property name; empty at an end mark.
    QString NextName();
    QString RawString();
    quint32 RawU32();
    QByteArray RawBytes(quint32 Count);

private:
    quint8 Kind();
    void Expect(quint8 Kind);
    TStream* FStream;
    int FDepth = 0;
};
