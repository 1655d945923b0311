#include "app/LbButton.h"

#include "platform/gui/Menus.h"

#include <QPointer>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Painting

TColor BlendHotColor(TColor Color, TColor HotTrackColor, int Step) {
    const int s = std::clamp(Step, 0, 8);
    const int c = ColorToRGB(Color);
    const int h = ColorToRGB(HotTrackColor);
    // truncate(c * (1 - s/8) + h * s/8) in integers: (c * (8 - s) + h * s) div 8 is the same value
    auto mix = [s](int a, int b) { return (a * (8 - s) + b * s) / 8; };
    return RGB(mix(GetRValue(c), GetRValue(h)), mix(GetGValue(c), GetGValue(h)), mix(GetBValue(c), GetBValue(h)));
}

void FillGradient(TCanvas* Canvas, TColor StartColor, TColor EndColor, int Left, int Y0, int Right, int Y1) {
    const int s = ColorToRGB(StartColor);
    const int e = ColorToRGB(EndColor);
    const int h = Y1 - Y0;
    // truncate(a + i * (b - a) / 31) taken over the whole real value: for a falling channel,
    // truncating the step alone would round the other way and come out one too bright.
    auto channel = [](int a, int b, int i) { return int(a + i * (b - a) / 31.0); };
    Canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < 32; ++i) {
        Canvas->Brush()->SetColor(RGB(channel(GetRValue(s), GetRValue(e), i), channel(GetGValue(s), GetGValue(e), i),
                                      channel(GetBValue(s), GetBValue(e), i)));
        const int top = Y0 + i * h / 31;
        const int bottom = std::min(Y1, top + h / 31 + 1);
        if (bottom > top) Canvas->FillRect(Rect(Left, top, Right, bottom));
    }
}

void DrawGlyphCell(TCanvas* Canvas, int X, int Y, TBitmap* Strip, int CellLeft, int CellTop, int CellWidth,
                   int CellHeight) {
    if (!Strip || CellWidth <= 0 || CellHeight <= 0) return;
    TBitmap cell(CellWidth, CellHeight);
    cell.Canvas()->Draw(-CellLeft, -CellTop, Strip);
    cell.SetTransparent(true); // the transparent colour is the bottom-left pixel
    Canvas->Draw(X, Y, &cell);
}

namespace {

// The popup arrow is the same picture for every button: load it once.
TBitmap* PopupArrow() {
    static std::unique_ptr<TBitmap> arrow;
    static bool tried = false;
    if (!tried) {
        tried = true;
        try {
            auto b = std::make_unique<TBitmap>();
            b->LoadFromResourceName("LBARROW");
            b->SetTransparent(true);
            arrow = std::move(b);
        } catch (const std::exception&) {
            // A missing arrow only loses the hint that a menu is attached.
        }
    }
    return arrow.get();
}

unsigned AlignmentFormat(TAlignment Alignment) {
    switch (Alignment) {
        case taLeftJustify: return DT_LEFT;
        case taRightJustify: return DT_RIGHT;
        case taCenter: break;
    }
    return DT_CENTER;
}

void Line(TCanvas* Canvas, TColor Color, std::initializer_list<TPoint> Points) {
    Canvas->Pen()->SetColor(Color);
    auto p = Points.begin();
    Canvas->MoveTo(p->X, p->Y);
    for (++p; p != Points.end(); ++p) Canvas->LineTo(p->X, p->Y);
}

// Continues the current line from the pen position.
void LineOn(TCanvas* Canvas, TColor Color, std::initializer_list<TPoint> Points) {
    Canvas->Pen()->SetColor(Color);
    for (const TPoint& p : Points) Canvas->LineTo(p.X, p.Y);
}

// Text on the transparent colour must not be anti-aliased: its blended edge pixels are not the
// transparent colour, so they would stay behind as a fringe round the caption. The text is
// drawn black on white first and every pixel at least half covered gets the font colour.
void DrawSolidText(TCanvas* Canvas, const QString& Text, const TRect& R, unsigned Format) {
    const int w = R.Width(), h = R.Height();
    if (w <= 0 || h <= 0 || Text.isEmpty()) return;
    TBitmap mask(w, h);
    TCanvas* m = mask.Canvas();
    m->Brush()->SetColor(clWhite);
    m->FillRect(Rect(0, 0, w, h));
    m->Font()->Assign(Canvas->Font());
    m->Font()->SetColor(clBlack);
    m->Brush()->SetStyle(bsClear);
    TRect local = Rect(0, 0, w, h);
    m->DrawText(Text, local, Format);
    const TColor ink = ColorToRGB(Canvas->Font()->Color());
    const QImage& img = mask.Image();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qGray(img.pixel(x, y)) < 128) Canvas->SetPixels(R.Left + x, R.Top + y, ink);
}

} // namespace

void DrawLbButton(TCanvas* Canvas, int W, int H, TAlignment Alignment, const QString& Caption, TLbButtonLayout Layout,
                  TFont* Font, TColor ShadowColor, TColor LightColor, TColor HotTrackColor, TColor ColorWhenDown,
                  TColor Color, TLbButtonStyle Style, bool HasPopup, bool WordWrap, bool Flat, bool Enabled, bool Hot,
                  bool Down, TBitmap* Glyph, int NumGlyphs, int HotTrackStep) {
    if (!Enabled) Down = false;
    const int d = (Down && Style != bsEncarta) ? 1 : 0;

    TColor Face = ColorToRGB(Color);
    if (Enabled && HotTrackColor != clNone) Face = BlendHotColor(Color, HotTrackColor, HotTrackStep);
    if (Down && ColorWhenDown != clNone) Face = ColorToRGB(ColorWhenDown);

    // Face
    TBrush* brush = Canvas->Brush();
    TPen* pen = Canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
    switch (Style) {
        case bsShape:
            brush->SetColor(LbTransparentColor);
            Canvas->FillRect(Rect(0, 0, W, H));
            break;
        case bsNormal:
        case bsEncarta:
        case bsOld:
            brush->SetColor(Face);
            Canvas->FillRect(Rect(0, 0, W, H));
            break;
        case bsModern:
            FillGradient(Canvas, LightColor, Face, 2, 2, W - 2, H / 4 + d);
            FillGradient(Canvas, Face, LightColor, 2, H / 4 + d, W - 2, H - 1);
            break;
        case bsQuicken: break;
    }

    // Edges
    brush->SetStyle(bsClear);
    switch (Style) {
        case bsNormal:
        case bsEncarta:
        case bsOld:
            if ((Enabled && (!Flat || Hot || Down)) || (!Enabled && !Flat)) {
                if (Style == bsOld) {
                    if (Down)
                        Line(Canvas, ShadowColor, {{1, H - 3}, {1, 1}, {W - 2, 1}});
                    else
                        Line(Canvas, ShadowColor, {{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
                    Line(Canvas, Down ? cl3DDkShadow : LightColor, {{0, H - 1}, {0, 0}, {W - 1, 0}});
                    LineOn(Canvas, Down ? LightColor : cl3DDkShadow, {{W - 1, H - 1}, {-1, H - 1}});
                } else {
                    Line(Canvas, Down ? ShadowColor : LightColor, {{0, H - 1}, {0, 0}, {W - 1, 0}});
                    LineOn(Canvas, Down ? LightColor : ShadowColor, {{W - 1, H - 1}, {0, H - 1}});
                }
            }
            break;
        case bsModern:
            pen->SetColor(Down ? ShadowColor : Face);
            Canvas->Rectangle(1, 1, W - 1, H - 1);
            pen->SetColor(ShadowColor);
            Canvas->RoundRect(0, 0, W, H, 6, 6);
            break;
        case bsQuicken:
            brush->SetColor(Face); // a solid brush again
            pen->SetStyle(psClear);
            Canvas->RoundRect(0, 1, W, H, 4, 4);
            pen->SetStyle(psSolid);
            brush->SetStyle(bsClear);
            Line(Canvas, ShadowColor, {{4, 0}, {W - 5, 0}});
            Line(Canvas, ShadowColor, {{4, H - 1}, {W - 5, H - 1}});
            break;
        case bsShape: break;
    }

    // Caption font and format
    TFont* font = Canvas->Font();
    font->Assign(Font);
    if (Style == bsEncarta && Down) font->SetStyle(font->Style() + fsBold);
    if (!Enabled) font->SetColor(TColor(0x808080));
    const unsigned format = AlignmentFormat(Alignment) | DT_WORDBREAK;

    // Picture cell
    // A strip without cells shows nothing but still takes its height above or below the caption.
    const bool hasGlyph = Glyph && !Glyph->Empty();
    const int GW = hasGlyph && NumGlyphs > 0 ? Glyph->Width() / NumGlyphs : 0;
    const int GH = hasGlyph ? Glyph->Height() : 0;
    int cell = 1;
    if (!Enabled)
        cell = 2;
    else if (Down && NumGlyphs > 2)
        cell = 3;
    else if (Hot && NumGlyphs > 3)
        cell = 4;
    // A strip without the wanted cell shows its first one rather than nothing.
    if (cell > NumGlyphs) cell = 1;

    // Available caption width
    int A = W - 8;
    if (Style != bsShape && (Layout == blGlyphLeft || Layout == blGlyphRight) && GW > 0) A -= GW + 4;
    A = std::max(A, 0);

    QString text = Caption;
    if (!WordWrap)
        while (!text.isEmpty() && Canvas->TextWidth(text) > A) text.chop(1);
    TRect measure = Rect(0, 0, A, 0);
    Canvas->DrawText(text, measure, format | DT_CALCRECT);
    const int th = measure.Height();
    const int tw = text.isEmpty() ? 0 : measure.Width() + 4;

    int captionLeft = d + 4, captionTop = 0, glyphLeft = 0, glyphTop = 0;
    if (Style == bsShape) {
        DrawGlyphCell(Canvas, (W - GW) / 2, (H - GH) / 2, Glyph, (cell - 1) * GW, 0, GW, GH);
        DrawSolidText(Canvas, text, Rect(d, (H - th) / 2 + d, W, H), DT_CENTER | DT_WORDBREAK);
    } else {
        if (Layout == blGlyphLeft || Layout == blGlyphRight) {
            captionTop = (H - th) / 2 + d;
            glyphTop = (H - GH) / 2 + d;
            if (Layout == blGlyphLeft) {
                if (GW > 0) captionLeft += GW + 4;
                glyphLeft = d + 4;
                if (!WordWrap) {
                    switch (Alignment) {
                        case taLeftJustify: glyphLeft = d + 4; break;
                        case taRightJustify: glyphLeft = W - 4 - GW - tw + d; break;
                        case taCenter: glyphLeft = (W - GW) / 2 + d - tw / 2; break;
                    }
                }
            } else {
                glyphLeft = captionLeft + tw;
                if (!WordWrap) {
                    switch (Alignment) {
                        case taLeftJustify: glyphLeft = captionLeft + tw; break;
                        case taRightJustify: glyphLeft = W - 4 - GW + d; break;
                        case taCenter: glyphLeft = (W - GW) / 2 + d + tw / 2; break;
                    }
                }
            }
        } else {
            const int B = th + (GH > 0 ? GH + 4 : 0);
            switch (Alignment) {
                case taLeftJustify: glyphLeft = d + 4; break;
                case taRightJustify: glyphLeft = W - GW - 4 + d; break;
                case taCenter: glyphLeft = (W - GW) / 2 + d; break;
            }
            if (Layout == blGlyphTop) {
                glyphTop = (H - B) / 2 + d;
                captionTop = glyphTop + GH;
            } else {
                captionTop = (H - B) / 2 + d;
                glyphTop = captionTop + th;
            }
        }
        TRect r = Rect(captionLeft, captionTop, captionLeft + A, captionTop + th);
        Canvas->DrawText(text, r, format);
        DrawGlyphCell(Canvas, glyphLeft, glyphTop, Glyph, (cell - 1) * GW, 0, GW, GH);
    }

    if (HasPopup) {
        if (TBitmap* arrow = PopupArrow()) Canvas->Draw(W - 11, H / 2 - 1, arrow);
    }
}

// ---------------------------------------------------------------------------------------------
// TLbButton

namespace {

struct TKindInfo {
    TModalResult Result;
    const char* Picture;
    const char16_t* Caption;
};

const TKindInfo& KindInfo(TLbButtonKind Kind) {
    static const TKindInfo Table[] = {
        {mrNone, "", u""}, // bkCustom
        {mrOk, "LBOK", u"OK"},
        {mrCancel, "LBCANCEL", u"Abbrechen"},
        {mrNone, "LBHELP", u"Hilfe"},
        {mrYes, "LBYES", u"Ja"},
        {mrNo, "LBNO", u"Nein"},
        {mrNone, "LBCLOSE", u"Schließen"},
        {mrAbort, "LBABORT", u"Abbrechen"},
        {mrRetry, "LBRETRY", u"Wiederholen"},
        {mrIgnore, "LBIGNORE", u"Ignorieren"},
        {mrAll, "LBALL", u"Alle"},
    };
    return Table[std::clamp(int(Kind), 0, int(bkAll))];
}

struct TColorStyleInfo {
    TColor Color, Light, Shadow, WhenDown, HotTrack;
    TLbButtonStyle Style;
    bool Flat;
    TColor FontColor;
};

// The "&" letter of a caption, upper-cased; a null character when there is none ("&&" is a
// plain "&").
QChar AcceleratorOf(const QString& Caption) {
    for (int i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != QLatin1Char('&')) continue;
        if (Caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return Caption[i + 1].toUpper();
    }
    return QChar();
}

} // namespace

TLbButton::TLbButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(Left(), Top(), 100, 23);
    SetTabStop(true);
    SetColor(clBtnFace);
    if (auto* form = dynamic_cast<TForm*>(AOwner)) FHTFont.Assign(form->Font());
}

TLbButton::~TLbButton() { StopFade(); }

void TLbButton::Changed() { Repaint(); }

bool TLbButton::ParentShowing() const { return Parent() && Parent()->Showing(); }

void TLbButton::TextChanged() { Invalidate(); }

void TLbButton::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed();
}

void TLbButton::SetColorWhenDown(TColor Value) {
    FColorWhenDown = Value;
    Invalidate();
}

void TLbButton::SetHotTrackColor(TColor Value) {
    FHotTrackColor = Value;
    Invalidate();
}

void TLbButton::SetFlat(bool Value) {
    FFlat = Value;
    Changed();
}

void TLbButton::SetLayout(TLbButtonLayout Value) {
    FLayout = Value;
    Changed();
}

void TLbButton::SetLightColor(TColor Value) {
    FLightColor = Value;
    Changed();
}

void TLbButton::SetShadowColor(TColor Value) {
    FShadowColor = Value;
    Changed();
}

void TLbButton::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Changed();
}

void TLbButton::SetUseHotTrackFont(bool Value) {
    FUseHTFont = Value;
    Invalidate();
}

void TLbButton::SetNumGlyphs(int Value) {
    FNumGlyphs = Value;
    Invalidate();
}

void TLbButton::SetGlyph(TBitmap* Value) {
    if (Value && !Value->Empty())
        FGlyph.Assign(Value);
    else
        FGlyph.SetSize(0, 0);
    FNumGlyphs = FGlyph.Height() > 0 ? FGlyph.Width() / FGlyph.Height() : 0;
    FKind = bkCustom;
    Invalidate();
}

void TLbButton::SetHotTrackFont(TFont* Value) { FHTFont.Assign(Value); }

void TLbButton::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    FKind = bkCustom;
}

void TLbButton::SetKind(TLbButtonKind Value) {
    if (Value != bkCustom) {
        const TKindInfo& info = KindInfo(Value);
        // The picture first: a missing one leaves the button as it was.
        TBitmap picture;
        picture.LoadFromResourceName(QString::fromLatin1(info.Picture));
        FGlyph.Assign(&picture);
        FNumGlyphs = 2;
        FModalResult = info.Result;
        SetCaption(QString::fromUtf16(info.Caption));
    }
    FKind = Value;
    Invalidate();
}

void TLbButton::SetColorStyle(TLbColorStyle Value) {
    static const TColorStyleInfo Table[] = {
        // lcsCustom is never looked up
        {clBtnFace, clWhite, 0x808080, clNone, clNone, bsNormal, false, clBlack},
        {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, bsModern, false, 0x000000}, // lcsGold
        {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, bsModern, false, 0x000000}, // lcsChrome
        {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, bsModern, false, 0x000000}, // lcsBlue
        {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, bsModern, false, 0x000000}, // lcsRed
        {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, bsNormal, true, 0x000000}, // lcsUltraFlat1
        {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, bsNormal, true, 0x000000}, // lcsUltraFlat2
        {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, bsNormal, true, 0x000000}, // lcsUltraFlatXP
        {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, bsModern, false, 0x000000}, // lcsAqua
        {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, bsNormal, false, 0x000000}, // lcsDefault
        {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, bsQuicken, false, 0xFFFFFF}, // lcsQuicken
    };
    if (Value == lcsCustom || Value < 0 || Value > lcsQuicken) return;
    const TColorStyleInfo& s = Table[Value];
    SetColor(s.Color);
    FLightColor = s.Light;
    FShadowColor = s.Shadow;
    FColorWhenDown = s.WhenDown;
    FHotTrackColor = s.HotTrack;
    FStyle = s.Style; // without the style setter: the window keeps its opacity
    FFlat = s.Flat;
    Font()->SetColor(s.FontColor);
    Changed();
}

void TLbButton::SetStyle(TLbButtonStyle Value) {
    FStyle = Value;
    // Styles that leave pixels unpainted let the parent show through them.
    setAutoFillBackground(!(Value == bsModern || Value == bsShape || Value == bsQuicken));
    Invalidate();
}

void TLbButton::SetSlowDecease(bool Value) {
    FSlowDecease = Value;
    if (!Value) {
        FHotTrackStep = 0;
        StopFade();
    }
    Invalidate();
}

void TLbButton::SetEnabled(bool Value) {
    TCustomControl::SetEnabled(Value);
    bDown = false;
    Changed();
}

void TLbButton::StopFade() { KillTimer(FadeTimerId); }

void TLbButton::HotTrackTick() {
    if (ComponentState().Contains(csDestroying)) return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        StopFade();
        FHotTrackStep = 0;
    }
    Changed();
}

void TLbButton::Click() {
    bDown = true;
    DoClick();
}

void TLbButton::DoClick() {
    if (!(Visible() && Enabled() && bDown)) {
        // A refused click must not leave the button looking pressed.
        bDown = false;
        return;
    }
    bDown = false;
    QPointer<QWidget> self(this);
    if (OnClick) OnClick(this);
    if (!self) return;
    if (FModalResult != mrNone) {
        if (TForm* form = ParentForm()) form->SetModalResult(FModalResult);
    }
    if (TPopupMenu* menu = PopupMenu()) {
        const TPoint p = ClientToScreen(Point(0, Height()));
        menu->SetPopupComponent(this);
        menu->Popup(p.X, p.Y);
    }
}

void TLbButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        bDown = true;
        SetFocus();
        Changed();
    }
}

void TLbButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    QPointer<QWidget> self(this);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!self) return;
    if (bDown) {
        Click();
        if (!self) return;
    }
    bDown = false;
    Changed();
}

void TLbButton::MouseEnter() {
    if (!(Enabled() && Visible() && ParentShowing())) return;
    bCursorOnButton = true;
    FHotTrackStep = 8;
    // A fade still running from the last leave would dim the button under the mouse.
    StopFade();
    Changed();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TLbButton::MouseLeave() {
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (!TimerActive(FadeTimerId)) SetTimer(FadeTimerId, FadeIntervalMs);
    } else {
        FHotTrackStep = 0;
        Changed();
    }
    if (Enabled() && Visible() && ParentShowing() && OnMouseExit) OnMouseExit(this);
}

void TLbButton::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if ((Key == VK_RETURN || Key == VK_SPACE) && Enabled() && Focused()) {
        bDown = true;
        Changed();
    }
}

void TLbButton::KeyUp(Word& Key, TShiftState Shift) {
    QPointer<QWidget> self(this);
    TCustomControl::KeyUp(Key, Shift);
    if (!self) return;
    // Only the release of a key pressed on this button clicks it: the release of an Enter whose
    // press closed another window must not click the button that now has the focus.
    if ((Key == VK_RETURN || Key == VK_SPACE) && bDown) {
        Click();
        if (!self) return;
        Changed();
    }
}

void TLbButton::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TLbButton::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

bool TLbButton::DialogKey(Word Key, TShiftState Shift) {
    const bool takes = (Key == VK_RETURN && FDefault) ||
        (Key == VK_ESCAPE && (Shift * TShiftState{ssShift, ssAlt, ssCtrl}).Empty() && FCancel && Visible() &&
         Enabled());
    if (!takes) return false;
    TForm* form = nullptr;
    for (TComponent* c = this; c && !form; c = c->Owner()) form = dynamic_cast<TForm*>(c);
    // A focused button handles Enter itself. Escape has no meaning to a focused button, so it
    // still goes to the Cancel button: otherwise a dialog whose focus sits on OK could not be
    // left with Escape.
    if (form && Key == VK_RETURN) {
        if (TWinControl* active = form->ActiveControl()) {
            const QString name = active->ClassName().toUpper();
            if (name.contains(QLatin1String("BUTTON")) && !name.contains(QLatin1String("RADIOBUTTON"))) return false;
        }
    }
    bDown = true;
    Click();
    return true;
}

bool TLbButton::DialogChar(QChar Char) {
    const QChar accel = AcceleratorOf(Caption());
    if (accel.isNull() || Char.toUpper() != accel) return false;
    if (!(Visible() && Enabled() && ParentShowing())) return false;
    bDown = true;
    Click();
    return true;
}

void TLbButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_TIMER:
            if (Message.WParam == WPARAM(FadeTimerId)) {
                HotTrackTick();
                return;
            }
            break;
        case CM_DIALOGKEY:
            if (DialogKey(Word(Message.WParam), TShiftState::FromBits(uint32_t(Message.LParam)))) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The focus shows as the hot picture and the focus rectangle.
            Invalidate();
            break;
        case CM_DIALOGCHAR:
            if (DialogChar(QChar(char16_t(Message.WParam)))) {
                Message.Result = 1;
                return;
            }
            break;
        default: break;
    }
    TCustomControl::WndProc(Message);
}

void TLbButton::Paint() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    if (!Visible()) return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;

    TBitmap picture(W, H);
    TFont font;
    const bool focused = Focused();
    font.Assign((bCursorOnButton || focused) && FUseHTFont ? &FHTFont : Font());

    const bool seeThrough = FStyle == bsModern || FStyle == bsShape || FStyle == bsQuicken;
    if (seeThrough) {
        picture.Canvas()->Brush()->SetColor(LbTransparentColor);
        picture.Canvas()->FillRect(Rect(0, 0, W, H));
        picture.SetTransparentColor(LbTransparentColor);
        picture.SetTransparent(true);
    }
    const bool hot = bCursorOnButton || focused;
    const bool hasPopup = PopupMenu() != nullptr;
    if (FStyle == bsOld && focused) {
        if (W > 2 && H > 2) {
            TBitmap inner(W - 2, H - 2);
            DrawLbButton(inner.Canvas(), W - 2, H - 2, FAlignment, Caption(), FLayout, &font, FShadowColor,
                         bDown ? FShadowColor : FLightColor, FHotTrackColor, FColorWhenDown, Color(), FStyle, hasPopup,
                         FWordWrap, FFlat, Enabled(), hot, bDown, &FGlyph, FNumGlyphs, FHotTrackStep);
            picture.Canvas()->Draw(1, 1, &inner);
        }
        TCanvas* c = picture.Canvas();
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(0, 0, W, H);
    } else {
        DrawLbButton(picture.Canvas(), W, H, FAlignment, Caption(), FLayout, &font, FShadowColor, FLightColor,
                     FHotTrackColor, FColorWhenDown, Color(), FStyle, hasPopup, FWordWrap, FFlat, Enabled(), hot, bDown,
                     &FGlyph, FNumGlyphs, FHotTrackStep);
    }
    Canvas()->Draw(0, 0, &picture);
    if (focused && Enabled() && FStyle != bsShape) Canvas()->DrawFocusRect(Rect(4, 4, W - 4, H - 4));
}
