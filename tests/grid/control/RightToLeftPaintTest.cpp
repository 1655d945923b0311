// A right-to-left grid: its columns run from the right, its cells are painted mirrored while
// texts and pictures keep their reading direction, and the mouse, invalidation and links work in
// the same mirrored coordinates. The sheet at the end shows a pressed header drop-down, a hovered
// link, a check box, a sort glyph and the same grid right to left. Real column 2 is hidden, so
// display column 2 shows real column 3.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor CellC = 0x00E0C0A0;

TColor Px(const QImage& I, int X, int Y) {
    const QRgb Q = I.pixel(X, Y);
    return TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
}
bool Dark(const QImage& I, int X, int Y) { return qGray(I.pixel(X, Y)) < 110; }

// The dark pixels of a box, as a small picture of their own (left-aligned, top-aligned).
QImage InkOf(const QImage& I, QRect Box) {
    int L = Box.right(), T = Box.bottom(), R = Box.left(), B = Box.top();
    for (int y = Box.top(); y <= Box.bottom(); ++y)
        for (int x = Box.left(); x <= Box.right(); ++x)
            if (Dark(I, x, y)) {
                L = std::min(L, x);
                T = std::min(T, y);
                R = std::max(R, x);
                B = std::max(B, y);
            }
    if (R < L) return QImage();
    QImage Out(R - L + 1, B - T + 1, QImage::Format_Mono);
    for (int y = T; y <= B; ++y)
        for (int x = L; x <= R; ++x) Out.setPixel(x - L, y - T, Dark(I, x, y) ? 1 : 0);
    return Out;
}

class RightToLeft : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 460, 260);
        G = Make(Form);
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    static TExtStringGrid* Make(TForm* Owner) {
        TExtStringGrid* G = Create<TExtStringGrid>(Owner, Owner);
        G->SetBounds(0, 0, 420, 200);
        G->SetScrollBars(ssNone);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(80);
        G->SetDefaultRowHeight(24);
        G->SetColor(clWhite);
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, 0, QString("H%1").arg(c));
        G->SetGridCell(1, 2, "Lp");
        G->GetCellProperties(4, 3)->SetBrushColor(CellC); // display column 3
        G->HideColumn(2);
        return G;
    }
    QImage Shot() {
        QImage I(G->Width(), G->Height(), QImage::Format_RGB32);
        I.fill(Qt::white);
        G->render(&I);
        return I;
    }
    // The physical box of a cell on a right-to-left grid.
    QRect Physical(int C, int R) {
        const TRect W = G->WindowRect(G->CellRect(C, R));
        return QRect(W.Left, W.Top, W.Width(), W.Height());
    }
    TForm* Form = nullptr;
    TExtStringGrid* G = nullptr;
};

TEST_F(RightToLeft, ColumnsRunFromTheRightAndCellsKeepTheirColours) {
    const TRect L = G->CellRect(3, 3);
    const QImage Ltr = Shot();
    EXPECT_EQ(Px(Ltr, (L.Left + L.Right) / 2, (L.Top + L.Bottom) / 2), CellC);
    G->setLayoutDirection(Qt::RightToLeft);
    const QImage Rtl = Shot();
    const QRect P = Physical(3, 3);
    EXPECT_EQ(P.right() + 1, G->ClientWidth() - L.Left);
    EXPECT_EQ(Px(Rtl, P.center().x(), P.center().y()), CellC);
    EXPECT_NE(Px(Rtl, (L.Left + L.Right) / 2, (L.Top + L.Bottom) / 2), CellC) << "not at its left-to-right place";
    // The fixed column stands at the right edge.
    const QRect F = Physical(0, 3);
    EXPECT_EQ(F.right() + 1, G->ClientWidth());
}

TEST_F(RightToLeft, TextReadsLeftToRightAndItsAlignmentTurnsRound) {
    const QImage Ltr = Shot();
    const TRect L = G->CellRect(1, 2);
    const QImage Word = InkOf(Ltr, QRect(L.Left, L.Top, L.Width(), L.Height()));
    ASSERT_FALSE(Word.isNull());
    G->setLayoutDirection(Qt::RightToLeft);
    const QImage Rtl = Shot();
    const QRect P = Physical(1, 2);
    const QImage Mirrored = InkOf(Rtl, P);
    ASSERT_FALSE(Mirrored.isNull());
    EXPECT_EQ(Mirrored, Word) << "the glyphs are not mirrored";
    EXPECT_NE(Mirrored, Word.mirrored(true, false));
    // A left-aligned text stands at the right of its cell.
    int InkLeft = P.right();
    for (int x = P.left(); x <= P.right(); ++x)
        for (int y = P.top(); y <= P.bottom(); ++y)
            if (Dark(Rtl, x, y)) InkLeft = std::min(InkLeft, x);
    EXPECT_GT(InkLeft - P.left(), P.width() / 2);
}

TEST_F(RightToLeft, AMouseClickHitsTheCellDrawnUnderIt) {
    G->setLayoutDirection(Qt::RightToLeft);
    const QRect P = Physical(3, 4);
    const QPoint At = P.center();
    QMouseEvent Press(QEvent::MouseButtonPress, At, G->mapToGlobal(At), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent Release(QEvent::MouseButtonRelease, At, G->mapToGlobal(At), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(G, &Press);
    QApplication::sendEvent(G, &Release);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 4);
}

TEST_F(RightToLeft, TheLinkUnderTheMouseIsTheOneDrawnThere) {
    G->SetURLColor(0x000000FF);
    G->SetGridCell(1, 3, "<a href=\"target\">link</a>");
    G->setLayoutDirection(Qt::RightToLeft);
    const QImage Rtl = Shot();
    const QRect P = Physical(1, 3);
    QPoint Hit(-1, -1);
    for (int y = P.top(); y <= P.bottom() && Hit.x() < 0; ++y)
        for (int x = P.left(); x <= P.right(); ++x)
            if (Px(Rtl, x, y) == TColor(0x000000FF)) {
                Hit = QPoint(x, y);
                break;
            }
    ASSERT_GE(Hit.x(), 0) << "the link is drawn";
    const QPoint Logical = G->MouseClientPoint(Hit);
    QString A, T;
    EXPECT_EQ(G->HTMLAnchorAt(1, 3, Logical.x(), Logical.y(), A, T), 1);
    EXPECT_EQ(A, "target");
}

TEST_F(RightToLeft, AClickOnTheDrawnLinkFollowsItAndTheHandShowsOnlyThere) {
    G->SetURLColor(0x000000FF);
    G->SetGridCell(1, 3, "see <a href=\"target\">link</a>");
    std::vector<std::string> Clicked;
    G->OnAnchorClick = [&](TObject*, int, int, const QString& A, bool& AutoHandle) {
        Clicked.push_back(A.toStdString());
        AutoHandle = false;
    };
    G->setLayoutDirection(Qt::RightToLeft);
    const QImage Rtl = Shot();
    const QRect P = Physical(1, 3);
    QPoint Hit(-1, -1);
    for (int y = P.top(); y <= P.bottom() && Hit.x() < 0; ++y)
        for (int x = P.left(); x <= P.right(); ++x)
            if (Px(Rtl, x, y) == TColor(0x000000FF)) {
                Hit = QPoint(x, y);
                break;
            }
    ASSERT_GE(Hit.x(), 0) << "the link is drawn";
    auto MoveTo = [&](QPoint At) {
        QMouseEvent E(QEvent::MouseMove, At, G->mapToGlobal(At), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(G, &E);
        return G->cursor().shape();
    };
    EXPECT_EQ(MoveTo(Hit), Qt::PointingHandCursor);
    // Where the link would stand left to right the mirrored cell shows nothing.
    EXPECT_NE(MoveTo(QPoint(P.left() + 6, Hit.y())), Qt::PointingHandCursor);
    QMouseEvent Press(QEvent::MouseButtonPress, Hit, G->mapToGlobal(Hit), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(G, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, Hit, G->mapToGlobal(Hit), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(G, &Release);
    EXPECT_EQ(Clicked, std::vector<std::string>{"target"});
}

TEST_F(RightToLeft, ACheckBoxTakesTheMirroredPlaceButKeepsItsLook) {
    G->AddCheckBox(1, 2, true, false);
    G->SetGridCell(1, 2, "");
    G->ControlLook()->SetCheckAlwaysActive(true); // the enabled look: a dark tick
    const TRect L = G->CellRect(1, 2);
    const QImage Ltr = Shot();
    const QImage Box = InkOf(Ltr, QRect(L.Left, L.Top, L.Width(), L.Height()));
    ASSERT_FALSE(Box.isNull());
    G->setLayoutDirection(Qt::RightToLeft);
    const QImage Rtl = Shot();
    const QRect P = Physical(1, 2);
    EXPECT_EQ(InkOf(Rtl, P), Box) << "the tick and the sunken edge do not turn round";
    // Left to right the box stands at the cell's left edge, right to left at its right edge.
    int InkLeft = P.right();
    for (int x = P.left(); x <= P.right(); ++x)
        for (int y = P.top(); y <= P.bottom(); ++y)
            if (Dark(Rtl, x, y)) InkLeft = std::min(InkLeft, x);
    EXPECT_GT(InkLeft - P.left(), P.width() / 2);
}

TEST_F(RightToLeft, TheSortGlyphKeepsItsShadingAndStandsAtTheRight) {
    G->SetGridCell(1, 0, "");
    G->SetFixedColor(0x00A0D0A0);
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetRow(0);
    G->SortSettings()->SetColumn(1);
    G->SortSettings()->SetDirection(sdAscending);
    // The ascending triangle: its left edge grey, its right edge and base white.
    auto Edges = [](const QImage& I, QRect Box, double& GreyX, double& WhiteX) {
        double Gs = 0, Ws = 0;
        int Gn = 0, Wn = 0;
        for (int y = Box.top() + 4; y <= Box.bottom() - 4; ++y)
            for (int x = Box.left() + 4; x <= Box.right() - 4; ++x) {
                if (Px(I, x, y) == TColor(0x00808080)) Gs += x, ++Gn;
                if (Px(I, x, y) == clWhite) Ws += x, ++Wn;
            }
        ASSERT_GT(Gn, 3);
        ASSERT_GT(Wn, 3);
        GreyX = Gs / Gn;
        WhiteX = Ws / Wn;
    };
    double Grey = 0, White = 0;
    const TRect L = G->CellRect(1, 0);
    Edges(Shot(), QRect(L.Left, L.Top, L.Width(), L.Height()), Grey, White);
    EXPECT_LT(Grey, White);
    EXPECT_LT(White, (L.Left + L.Right) / 2.0) << "left to right the glyph stands at the left";
    G->setLayoutDirection(Qt::RightToLeft);
    const QRect P = Physical(1, 0);
    Edges(Shot(), P, Grey, White);
    EXPECT_LT(Grey, White) << "the grey edge stays on the left";
    EXPECT_GT(Grey, P.center().x()) << "right to left it stands at the right";
}

// ---- the sheet ----------------------------------------------------------------------------------------
TEST_F(RightToLeft, SheetOfPressedHeaderHoveredLinkAndMirroredGrid) {
    TExtStringGrid* Pair[2] = {G, Make(Form)};
    Pair[1]->SetTop(210);
    QImage Sheet(2 * 430 + 10, 220, QImage::Format_RGB32);
    Sheet.fill(Qt::lightGray);
    QPainter SP(&Sheet);
    for (int i = 0; i < 2; ++i) {
        TExtStringGrid* Q = Pair[i];
        Q->SetLook(glOffice2007);
        Q->SetHoverFixedCells(hfAll);
        Q->ControlLook()->SetFixedDropDownButton(true);
        Q->SetURLUnderlineOnHover(true);
        Q->SetGridCell(1, 4, "see <a href=\"doc\">the manual</a>");
        Q->SetColWidths(1, 120);
        Q->AddCheckBox(4, 2, true, false);
        Q->SetGridCell(4, 2, "on");
        Q->ControlLook()->SetCheckAlwaysActive(true);
        Q->SortSettings()->SetShow(true);
        Q->SortSettings()->SetRow(0);
        Q->SortSettings()->SetColumn(1);
        if (i == 1) Q->setLayoutDirection(Qt::RightToLeft);
        // Hover the link, then press the drop-down part of the header of display column 2 (the
        // press holds until the button comes up; the link stays hovered meanwhile).
        const TRect L = Q->CellRect(1, 4);
        QString A, T;
        for (int x = L.Left; x < L.Right; ++x)
            if (Q->HTMLAnchorAt(1, 4, x, (L.Top + L.Bottom) / 2, A, T) == 1) {
                Q->Perform(WM_MOUSEMOVE, 0, MakeLParam(x + 2, (L.Top + L.Bottom) / 2));
                break;
            }
        const TRect H = Q->CellRect(2, 0);
        Q->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(H.Right - 6, H.Top + 8));
        EXPECT_EQ(Q->HoveredLink(), 1);
        EXPECT_EQ(Q->FixedDropDownPressed().X, 2);
        QImage I(Q->Width(), Q->Height(), QImage::Format_RGB32);
        I.fill(Qt::white);
        Q->render(&I);
        SP.drawImage(10 + i * 430, 10, I);
    }
    SP.end();
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("grid_hover_rtl_sheet.png");
    ASSERT_TRUE(Sheet.save(Path));
}

} // namespace
