// The cell carriers of the grid stream: each carries its values through a stream, the cell
// fields refuse what they cannot hold, and damaged carriers change nothing.
#include "grid/control/GridCellIO.h"

#include "grid/base/BaseGrid.h"
#include "grid/control/CellGraphic.h"
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

QByteArray Saved(const TGridStreamCarrier& C) {
    TMemoryStream S;
    WriteGridCarrier(&S, &C);
    return S.Bytes();
}

void Load(TGridStreamCarrier& C, const QByteArray& Bytes) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.constData(), Bytes.size());
    S.SetPosition(0);
    ReadGridCarrier(&S, &C);
}

TEST(GridCellIOTest, CellCarrierRoundTrip) {
    TGridCellIO Out(nullptr), In(nullptr);
    Out.SetCol(70000); // beyond 16 bits: the stream's coordinates are 32 bits wide
    Out.SetRow(7);
    Out.SetCell(QString::fromUtf16(u"a\u00e9\U0001F600b"));
    Out.SetHasProp(true);
    In.SetName("Cell1");
    Load(In, Saved(Out));
    EXPECT_EQ(In.Col(), 70000);
    EXPECT_EQ(In.Row(), 7);
    EXPECT_EQ(In.Cell(), Out.Cell());
    EXPECT_TRUE(In.HasProp());
    EXPECT_EQ(In.Name(), ""); // the next carrier of the class reads without a clash
}

struct WidthCase {
    const char* Name;
    std::function<void(TGridCellIO&)> Set;
};
void PrintTo(const WidthCase& C, std::ostream* Os) { *Os << C.Name; }

class CellFieldWidth : public ::testing::TestWithParam<WidthCase> {};

// A negative index would put the cell somewhere else.
TEST_P(CellFieldWidth, RefusesWhatItCannotHold) {
    TGridCellIO C(nullptr);
    C.SetCol(3);
    C.SetRow(4);
    EXPECT_THROW(GetParam().Set(C), ERangeError);
    EXPECT_EQ(C.Col(), 3);
    EXPECT_EQ(C.Row(), 4);
}

INSTANTIATE_TEST_SUITE_P(Fields, CellFieldWidth,
                         ::testing::Values(WidthCase{"ColumnNegative", [](TGridCellIO& C) { C.SetCol(-1); }},
                                           WidthCase{"RowNegative", [](TGridCellIO& C) { C.SetRow(-5); }}),
                         [](const ::testing::TestParamInfo<WidthCase>& I) { return std::string(I.param.Name); });

TEST(GridCellIOTest, PropertiesCarrierKeepsTheCellsLook) {
    TExtStringGrid G(nullptr);
    TCellProperties* P = G.GetCellProperties(2, 3);
    P->SetBrushColor(clRed);
    P->SetBrushColorTo(clBlue);
    P->SetFontStyle({fsBold, fsUnderline});
    P->SetAlignment(taCenter);
    P->SetFontName("Arial");
    P->SetReadOnly(true);
    P->SetCalcType(acAVG);
    P->SetGradientDirection(GradientHorizontal);
    TGridCellPropIO Out(&G), In(&G);
    EXPECT_EQ(Out.CellProperties()->OwnerGrid(), &G);
    Out.SetCellProperties(P);
    Out.SetHasGraphic(true);
    Load(In, Saved(Out));
    const TCellProperties* R = In.CellProperties();
    EXPECT_EQ(R->BrushColor(), clRed);
    EXPECT_EQ(R->BrushColorTo(), clBlue);
    EXPECT_TRUE(R->FontStyle().Contains(fsUnderline));
    EXPECT_FALSE(R->FontStyle().Contains(fsItalic));
    EXPECT_EQ(R->Alignment(), taCenter);
    EXPECT_EQ(R->FontName(), "Arial");
    EXPECT_TRUE(R->ReadOnly());
    EXPECT_EQ(R->CalcType(), acAVG);
    EXPECT_EQ(R->GradientDirection(), GradientHorizontal);
    EXPECT_TRUE(In.HasGraphic());
}

TEST(GridCellIOTest, GraphicCarrierKeepsKindPlacementAndValues) {
    TCellGraphic G;
    G.SetCheckBox(TCheckBoxState(cbGrayed), true, haCenter, vaBottom);
    G.SetCellValue(2.5);
    G.SetCellText("t");
    TGridGraphicIO Out(nullptr), In(nullptr);
    Out.SetCellGraphic(&G);
    Load(In, Saved(Out));
    EXPECT_EQ(In.CellGraphic()->CellType(), G.CellType());
    EXPECT_EQ(In.CellGraphic()->CellHAlign(), haCenter);
    EXPECT_EQ(In.CellGraphic()->CellVAlign(), vaBottom);
    EXPECT_EQ(In.CellGraphic()->CellCheckBoxState(), cbGrayed);
    EXPECT_EQ(In.CellGraphic()->CellValue(), 2.5);
    EXPECT_EQ(In.CellGraphic()->CellText(), "t");
}

TEST(GridCellIOTest, PictureCarriersKeepTheirPixels) {
    TBitmap B(3, 2);
    B.Canvas()->SetPixels(1, 1, clRed);
    TGridBMPIO BOut(nullptr), BIn(nullptr);
    BOut.SetBitmap(&B);
    TBitmap* Held = BIn.Bitmap();
    Load(BIn, Saved(BOut));
    EXPECT_EQ(BIn.Bitmap(), Held); // the carrier keeps its own object
    EXPECT_EQ(BIn.Bitmap()->Width(), 3);
    EXPECT_EQ(BIn.Bitmap()->Canvas()->Pixels(1, 1), clRed);

    TPicture P;
    TPngImage Png;
    Png.SetSize(4, 5);
    P.SetGraphic(&Png);
    TGridPicIO POut(nullptr), PIn(nullptr);
    POut.SetPicture(&P);
    Load(PIn, Saved(POut));
    ASSERT_NE(PIn.Picture()->Graphic(), nullptr);
    EXPECT_NE(dynamic_cast<TPngImage*>(PIn.Picture()->Graphic()), nullptr);
    EXPECT_EQ(PIn.Picture()->Width(), 4);

    TGridPicIO Empty(nullptr);
    Load(PIn, Saved(Empty));
    EXPECT_EQ(PIn.Picture()->Graphic(), nullptr);

    TIcon I;
    I.Assign(&B);
    TGridIconIO IOut(nullptr), IIn(nullptr);
    IOut.SetIcon(&I);
    Load(IIn, Saved(IOut));
    EXPECT_EQ(IIn.Icon()->Width(), 3);
}

TEST(GridCellIOTest, StringsCarrierKeepsTheList) {
    TStringList L;
    L.Add("one");
    L.Add("");
    L.Add("3,4");
    TGridSLIO Out(nullptr), In(nullptr);
    Out.SetStrings(&L);
    Load(In, Saved(Out));
    ASSERT_EQ(In.Strings()->Count(), 3);
    EXPECT_EQ(In.Strings()->Get(1), "");
    EXPECT_EQ(In.Strings()->Get(2), "3,4");
}

TEST(GridCellIOTest, CarriersFollowOneAnotherInOneStream) {
    // a bitmap cell with properties: cell, properties, graphic, bitmap
    TExtStringGrid G(nullptr);
    TGridCellIO Cell(&G);
    TGridCellPropIO Prop(&G);
    TGridGraphicIO Graphic(&G);
    TGridBMPIO Bmp(&G);
    Cell.SetCol(1);
    Cell.SetHasProp(true);
    Prop.SetHasGraphic(true);
    Graphic.CellGraphic()->SetCellType(ctBitmap);
    TBitmap B(2, 2);
    Bmp.SetBitmap(&B);
    TMemoryStream S;
    for (TGridStreamCarrier* C : std::initializer_list<TGridStreamCarrier*>{&Cell, &Prop, &Graphic, &Bmp})
        WriteGridCarrier(&S, C);
    S.SetPosition(0);
    TGridCellIO Cell2(&G);
    TGridCellPropIO Prop2(&G);
    TGridGraphicIO Graphic2(&G);
    TGridBMPIO Bmp2(&G);
    ReadGridCarrier(&S, &Cell2);
    ASSERT_TRUE(Cell2.HasProp());
    ReadGridCarrier(&S, &Prop2);
    ASSERT_TRUE(Prop2.HasGraphic());
    ReadGridCarrier(&S, &Graphic2);
    EXPECT_EQ(Graphic2.CellGraphic()->CellType(), ctBitmap);
    ReadGridCarrier(&S, &Bmp2);
    EXPECT_EQ(Bmp2.Bitmap()->Width(), 2);
    EXPECT_EQ(S.Position(), S.Size());
}

// ---- damaged carriers ---------------------------------------------------------------------------------
struct DamageCase {
    const char* Name;
    std::function<QByteArray(QByteArray)> Damage;
};
void PrintTo(const DamageCase& C, std::ostream* Os) { *Os << C.Name; }

class DamagedCarrier : public ::testing::TestWithParam<DamageCase> {};

QByteArray Replace(QByteArray B, const QByteArray& From, const QByteArray& To) {
    const qsizetype At = B.indexOf(From);
    EXPECT_GE(At, 0);
    return B.replace(At, From.size(), To);
}

TEST_P(DamagedCarrier, IsRefusedAndChangesNothing) {
    TGridCellIO Out(nullptr), In(nullptr);
    Out.SetCol(1);
    Out.SetRow(2);
    Out.SetCell("new");
    In.SetCol(8);
    In.SetCell("old");
    EXPECT_THROW(Load(In, GetParam().Damage(Saved(Out))), EReadError);
    EXPECT_EQ(In.Col(), 8);
    EXPECT_EQ(In.Row(), 0);
    EXPECT_EQ(In.Cell(), "old");
}

// Col's value sits right after its name and type byte.
const QByteArray ColValue = QByteArray("\x03"
                                       "Col\x01\x01\x00\x00\x00",
                                       9);

INSTANTIATE_TEST_SUITE_P(Inputs, DamagedCarrier,
                         ::testing::Values(DamageCase{"Empty", [](QByteArray) { return QByteArray(); }},
                                           DamageCase{"Truncated", [](QByteArray B) { return B.left(B.size() - 3); }},
                                           DamageCase{"NoSignature",
                                                      [](QByteArray B) { return B.replace(0, 4, "XXXX"); }},
                                           DamageCase{"AnotherClass",
                                                      [](QByteArray B) {
                                                          TGridSLIO Other(nullptr);
                                                          return Saved(Other);
                                                      }},
                                           DamageCase{"NegativeColumn",
                                                      [](QByteArray B) {
                                                          return Replace(B, ColValue,
                                                                         QByteArray("\x03"
                                                                                    "Col\x01\xFF\xFF\xFF\xFF",
                                                                                    9));
                                                      }},
                                           DamageCase{"ValueOfTheWrongType",
                                                      [](QByteArray B) {
                                                          return Replace(B, ColValue,
                                                                         QByteArray("\x03"
                                                                                    "Col\x02\x01",
                                                                                    6));
                                                      }},
                                           DamageCase{"UnknownProperty",
                                                      [](QByteArray B) {
                                                          return Replace(B, ColValue,
                                                                         QByteArray("\x03"
                                                                                    "Cox\x01\x01\x00\x00\x00",
                                                                                    9));
                                                      }},
                                           DamageCase{"StringLongerThanTheStream",
                                                      [](QByteArray B) {
                                                          const qsizetype At = B.indexOf(QByteArray("\x04"
                                                                                                    "Cell\x04",
                                                                                                    6));
                                                          return B.replace(At + 6, 4,
                                                                           QByteArray("\xff\xff\xff\x7f", 4));
                                                      }}),
                         [](const ::testing::TestParamInfo<DamageCase>& I) { return std::string(I.param.Name); });

TEST(GridCellIOTest, UndecodablePictureIsRefusedAndKeepsTheOldOne) {
    TBitmap B(2, 2);
    TGridBMPIO Out(nullptr), In(nullptr);
    Out.SetBitmap(&B);
    QByteArray Bytes = Saved(Out);
    In.SetBitmap(&B);
    const qsizetype At = Bytes.indexOf("BM");
    ASSERT_GE(At, 0);
    Bytes[At] = 'X';
    EXPECT_THROW(Load(In, Bytes), EReadError);
    EXPECT_EQ(In.Bitmap()->Width(), 2);
}

} // namespace
