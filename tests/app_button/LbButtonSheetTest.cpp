// Writes a sheet of push buttons in every style, colour style, layout, kind and state as a PNG
// beside the build, for a person to look at. Each picture is the real button painted on a form.
#include "app/LbButton.h"
#include "platform/gui/Menus.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#ifndef LBBUTTON_SHEET_PATH
#define LBBUTTON_SHEET_PATH "lbbutton_sheet.png"
#endif

namespace {

class TSheetForm : public TForm {
public:
    explicit TSheetForm(TComponent* AOwner) : TForm(AOwner) {}
    void CreateComponents() override {
        SetBounds(0, 0, 200, 120);
        SetColor(TColor(15595512)); // the configurator's window colour
        Elsewhere = Create<TLbButton>(this, this);
        Elsewhere->SetBounds(150, 90, 20, 20);
    }
    TLbButton* Elsewhere = nullptr; // takes the focus away from the button on show
};

enum TState { stNormal, stHot, stDown, stDisabled, stFocused, stPopup };
const char* const StateNames[] = {"normal", "hot", "down", "disabled", "focused", "popup menu"};

struct TRow {
    QString Name;
    std::function<void(TLbButton*)> Setup;
    int Height = 28;
};

} // namespace

TEST(LbButtonSheet, EveryStyleAndStateIsSavedAsAPicture) {
    std::unique_ptr<TSheetForm> form(Create<TSheetForm>(nullptr));
    form->Show();
    QApplication::processEvents();

    std::vector<TRow> rows;
    const char* styleNames[] = {"bsNormal", "bsEncarta", "bsModern", "bsOld", "bsShape", "bsQuicken"};
    for (int s = bsNormal; s <= bsQuicken; ++s)
        rows.push_back({styleNames[s], [s](TLbButton* b) {
                            b->SetStyle(TLbButtonStyle(s));
                            b->SetHotTrackColor(TColor(0xFFE0C0));
                            b->SetColorWhenDown(TColor(0xF0C8A0));
                            b->SetKind(bkOK);
                        }});
    const char* colourNames[] = {"",        "lcsGold",       "lcsChrome",     "lcsBlue",
                                 "lcsRed",  "lcsUltraFlat1", "lcsUltraFlat2", "lcsUltraFlatXP",
                                 "lcsAqua", "lcsDefault",    "lcsQuicken"};
    for (int c = lcsGold; c <= lcsQuicken; ++c)
        rows.push_back({colourNames[c], [c](TLbButton* b) {
                            b->SetKind(bkCancel);
                            b->SetColorStyle(TLbColorStyle(c));
                        }});
    rows.push_back({"flat", [](TLbButton* b) {
                        b->SetKind(bkYes);
                        b->SetFlat(true);
                        b->SetHotTrackColor(TColor(0xFFE0C0));
                    }});
    rows.push_back({"glyph right", [](TLbButton* b) {
                        b->SetKind(bkRetry);
                        b->SetLayout(blGlyphRight);
                    }});
    rows.push_back({"glyph top",
                    [](TLbButton* b) {
                        b->SetKind(bkHelp);
                        b->SetLayout(blGlyphTop);
                    },
                    48});
    rows.push_back({"glyph bottom",
                    [](TLbButton* b) {
                        b->SetKind(bkIgnore);
                        b->SetLayout(blGlyphBottom);
                    },
                    48});
    rows.push_back({"left aligned", [](TLbButton* b) {
                        b->SetKind(bkClose);
                        b->SetAlignment(taLeftJustify);
                    }});
    rows.push_back({"cut caption", [](TLbButton* b) { b->SetCaption("A caption far too long"); }});
    rows.push_back({"word wrap",
                    [](TLbButton* b) {
                        b->SetCaption("A caption far too long");
                        b->SetWordWrap(true);
                    },
                    40});
    rows.push_back({"hot font", [](TLbButton* b) {
                        b->SetCaption("Hot font");
                        TFont f;
                        f.Assign(b->Font());
                        f.SetStyle(TFontStyles{fsBold, fsUnderline});
                        f.SetColor(TColor(0xC00000));
                        b->SetHotTrackFont(&f);
                        b->SetUseHotTrackFont(true);
                    }});

    const int cellW = 130, labelW = 110, margin = 6;
    int sheetH = 30;
    for (const TRow& r : rows) sheetH += r.Height + margin;
    const int kindsRowH = 28 + margin + 16;
    sheetH += kindsRowH;
    QImage sheet(labelW + 6 * cellW, sheetH, QImage::Format_RGB32);
    sheet.fill(ToQColor(TColor(15595512)));
    QPainter p(&sheet);
    p.setPen(Qt::black);
    for (int s = 0; s < 6; ++s) p.drawText(labelW + s * cellW, 18, StateNames[s]);

    auto snap = [&](TLbButton* b) {
        QApplication::processEvents();
        return form->grab(QRect(b->Left(), b->Top(), b->Width(), b->Height())).toImage();
    };

    // A picture that is one flat colour means the button drew nothing of its own (no frame, no
    // caption): every cell of the sheet must show a button.
    auto drawn = [](const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != img.pixel(0, 0)) return true;
        return false;
    };

    int y = 30;
    for (const TRow& row : rows) {
        p.drawText(4, y + row.Height / 2 + 5, row.Name);
        for (int s = stNormal; s <= stPopup; ++s) {
            // A fresh button for every picture, so no state leaks from one to the next.
            std::unique_ptr<TLbButton> b(Create<TLbButton>(form.get(), form.get()));
            b->SetBounds(10, 10, 110, row.Height);
            row.Setup(b.get());
            b->Show();
            form->Elsewhere->SetFocus();
            std::unique_ptr<TPopupMenu> menu;
            // Only the hot picture has the mouse over the button.
            if (s != stHot) b->Perform(CM_MOUSELEAVE);
            switch (TState(s)) {
                case stNormal: break;
                case stHot: b->Perform(CM_MOUSEENTER); break;
                case stDown: b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5)); break;
                case stDisabled: b->SetEnabled(false); break;
                case stFocused: b->SetFocus(); break;
                case stPopup:
                    menu = std::make_unique<TPopupMenu>(nullptr);
                    b->SetPopupMenu(menu.get());
                    break;
            }
            const QImage img = snap(b.get());
            EXPECT_TRUE(drawn(img)) << row.Name.toStdString() << " / " << StateNames[s];
            p.drawImage(labelW + s * cellW, y, img);
            b->SetPopupMenu(nullptr);
        }
        y += row.Height + margin;
    }

    // Every kind with its picture and caption.
    p.drawText(4, y + 12, "kinds");
    const int kindW = (6 * cellW) / 10;
    for (int k = bkOK; k <= bkAll; ++k) {
        std::unique_ptr<TLbButton> b(Create<TLbButton>(form.get(), form.get()));
        b->SetBounds(10, 10, kindW - 4, 28);
        b->SetKind(TLbButtonKind(k));
        b->Show();
        b->Perform(CM_MOUSELEAVE);
        form->Elsewhere->SetFocus();
        const QImage img = snap(b.get());
        EXPECT_TRUE(drawn(img)) << "kind " << k;
        p.drawImage(labelW + (k - 1) * kindW, y, img);
    }
    p.end();

    const QString path = QStringLiteral(LBBUTTON_SHEET_PATH);
    ASSERT_TRUE(sheet.save(path, "PNG")) << path.toStdString();
    EXPECT_EQ(QImage(path).size(), sheet.size());
}
