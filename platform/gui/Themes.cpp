#include "platform/gui/Themes.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <optional>

namespace {

bool GThemesActive = true;

QStyle* AppStyle() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
}

QStyle::State StateFlags(TThemedState S) {
    QStyle::State F = QStyle::State_Active;
    if (S != tsDisabled) F |= QStyle::State_Enabled;
    if (S == tsHot) F |= QStyle::State_MouseOver;
    if (S == tsPressed) F |= QStyle::State_Sunken;
    return F;
}

QRect ToQ(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// The application palette in the colour group of the state, so disabled parts look disabled.
QPalette PaletteFor(TThemedState S) {
    QPalette P = QApplication::palette();
    P.setCurrentColorGroup(S == tsDisabled ? QPalette::Disabled : QPalette::Active);
    return P;
}

} // namespace

bool ThemesActive() { return GThemesActive; }
void SetThemesActive(bool Value) { GThemesActive = Value; }

TSize ThemedPartSize(TThemedPart Part) {
    QStyle* St = AppStyle();
    if (!St) return {};
    switch (Part) {
        case TThemedPart::CheckBox:
            return {St->pixelMetric(QStyle::PM_IndicatorWidth), St->pixelMetric(QStyle::PM_IndicatorHeight)};
        case TThemedPart::RadioButton:
            return {St->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth),
                    St->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight)};
        case TThemedPart::ComboDropButton: {
            const int W = St->pixelMetric(QStyle::PM_ScrollBarExtent);
            return {W + 1, W + 4};
        }
        case TThemedPart::SpinUp:
        case TThemedPart::SpinDown: {
            const int W = St->pixelMetric(QStyle::PM_ScrollBarExtent);
            return {W, W / 2 + 2};
        }
        case TThemedPart::PushButton: {
            QStyleOptionButton O;
            const QSize S = St->sizeFromContents(QStyle::CT_PushButton, &O, QSize(0, 0));
            return {S.width(), S.height()};
        }
        case TThemedPart::HeaderItem: {
            QStyleOptionHeader O;
            O.fontMetrics = QFontMetrics(QApplication::font());
            const QSize S = St->sizeFromContents(QStyle::CT_HeaderSection, &O, QSize(0, 0));
            return {S.width(), S.height()};
        }
        case TThemedPart::ProgressChunk: return {8, 12};
        case TThemedPart::ProgressChunkVert: return {12, 8};
        case TThemedPart::ProgressBar: return {100, 14};
        case TThemedPart::ProgressBarVert: return {14, 100};
    }
    return {};
}

bool DrawThemedPart(TCanvas* Canvas, TThemedPart Part, TThemedState State, const TRect& R, TThemedCheck Check) {
    QStyle* St = AppStyle();
    QPainter* P = Canvas ? Canvas->Painter() : nullptr;
    if (!St || !P || R.IsEmpty()) return false;
    P->save();
    P->setRenderHint(QPainter::Antialiasing, true);
    const QRect Box = ToQ(R);
    // a part never paints outside its rectangle (some styles add shadows around grooves)
    P->setClipRect(Box, Canvas->HasClip() || P->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const QPalette Pal = PaletteFor(State);
    const QStyle::State Flags = StateFlags(State);
    switch (Part) {
        case TThemedPart::CheckBox:
        case TThemedPart::RadioButton: {
            const bool Radio = Part == TThemedPart::RadioButton;
            const TSize N = ThemedPartSize(Part);
            QStyleOptionButton O;
            O.rect = QRect(0, 0, std::min(N.cx, Box.width()), std::min(N.cy, Box.height()));
            O.rect.moveCenter(Box.center());
            O.palette = Pal;
            O.state = Flags |
                (Check == tcChecked               ? QStyle::State_On
                     : Check == tcMixed && !Radio ? QStyle::State_NoChange
                                                  : QStyle::State_Off);
            St->drawPrimitive(Radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &O, P);
            break;
        }
        case TThemedPart::PushButton: {
            QStyleOptionButton O;
            O.rect = Box;
            O.palette = Pal;
            O.state = Flags | (State == tsPressed ? QStyle::State_Sunken : QStyle::State_Raised);
            St->drawControl(QStyle::CE_PushButtonBevel, &O, P);
            break;
        }
        case TThemedPart::HeaderItem: {
            QStyleOptionHeader O;
            O.rect = Box;
            O.state = Flags | QStyle::State_Horizontal | QStyle::State_Raised;
            O.position = QStyleOptionHeader::Middle;
            O.palette = Pal;
            St->drawControl(QStyle::CE_HeaderSection, &O, P);
            break;
        }
        case TThemedPart::ComboDropButton:
        case TThemedPart::SpinUp:
        case TThemedPart::SpinDown: {
            QStyleOption O;
            O.rect = Box;
            O.state = Flags | (State == tsPressed ? QStyle::State_Sunken : QStyle::State_Raised);
            O.palette = Pal;
            St->drawPrimitive(QStyle::PE_PanelButtonCommand, &O, P);
            QStyleOption A = O;
            A.rect = Box.adjusted(2, 1, -2, -1);
            const QStyle::PrimitiveElement Arrow =
                Part == TThemedPart::SpinUp ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
            St->drawPrimitive(Arrow, &A, P);
            break;
        }
        case TThemedPart::ProgressBar:
        case TThemedPart::ProgressBarVert:
        case TThemedPart::ProgressChunk:
        case TThemedPart::ProgressChunkVert: {
            // vertical parts are the horizontal ones turned a quarter, so every style agrees
            const bool Vert = Part == TThemedPart::ProgressBarVert || Part == TThemedPart::ProgressChunkVert;
            const bool Chunk = Part == TThemedPart::ProgressChunk || Part == TThemedPart::ProgressChunkVert;
            QStyleOptionProgressBar O;
            O.rect = Vert ? QRect(0, 0, Box.height(), Box.width()) : QRect(0, 0, Box.width(), Box.height());
            O.state = Flags | QStyle::State_Horizontal;
            O.minimum = 0;
            O.maximum = 100;
            O.progress = 100;
            O.palette = Pal;
            QImage Img(O.rect.size(), QImage::Format_ARGB32_Premultiplied);
            Img.fill(Qt::transparent);
            {
                QPainter IP(&Img);
                IP.setRenderHint(QPainter::Antialiasing, true);
                St->drawControl(Chunk ? QStyle::CE_ProgressBarContents : QStyle::CE_ProgressBarGroove, &O, &IP);
            }
            if (Vert) Img = Img.transformed(QTransform().rotate(-90));
            P->drawImage(Box.topLeft(), Img);
            break;
        }
    }
    P->restore();
    return true;
}

// ---- the visual-styles shape ----------------------------------------------------------------

struct TThemeData {
    enum Kind { Button, ComboBox, Spin, Header, Progress } Class;
};

HTHEME OpenThemeData(QWidget*, const QString& ClassList) {
    if (!ThemesActive() || !AppStyle()) return nullptr;
    for (const QString& Raw : ClassList.split(QLatin1Char(';'))) {
        const QString C = Raw.trimmed().toLower();
        std::optional<TThemeData::Kind> K;
        if (C == QLatin1String("button"))
            K = TThemeData::Button;
        else if (C == QLatin1String("combobox"))
            K = TThemeData::ComboBox;
        else if (C == QLatin1String("spin"))
            K = TThemeData::Spin;
        else if (C == QLatin1String("header"))
            K = TThemeData::Header;
        else if (C == QLatin1String("progress"))
            K = TThemeData::Progress;
        if (K) return new TThemeData{*K};
    }
    return nullptr;
}

void CloseThemeData(HTHEME Theme) { delete Theme; }

namespace {

struct TResolved {
    TThemedPart Part;
    TThemedState State;
    TThemedCheck Check;
};

// Four states per group: normal, hot, pressed, disabled.
TThemedState Quad(int StateId) { return TThemedState((StateId - 1) % 4); }

std::optional<TResolved> Resolve(HTHEME Theme, int PartId, int StateId) {
    if (!Theme || StateId < 1) return std::nullopt;
    switch (Theme->Class) {
        case TThemeData::Button:
            if (PartId == BP_PUSHBUTTON && StateId <= PBS_DEFAULTED)
                return TResolved{TThemedPart::PushButton, StateId == PBS_DEFAULTED ? tsNormal : Quad(StateId),
                                 tcUnchecked};
            if (PartId == BP_RADIOBUTTON && StateId <= RBS_CHECKEDDISABLED)
                return TResolved{TThemedPart::RadioButton, Quad(StateId), StateId > 4 ? tcChecked : tcUnchecked};
            if (PartId == BP_CHECKBOX && StateId <= CBS_MIXEDDISABLED)
                return TResolved{TThemedPart::CheckBox, Quad(StateId),
                                 StateId > 8       ? tcMixed
                                     : StateId > 4 ? tcChecked
                                                   : tcUnchecked};
            return std::nullopt;
        case TThemeData::ComboBox:
            if (PartId == CP_DROPDOWNBUTTON && StateId <= CBXS_DISABLED)
                return TResolved{TThemedPart::ComboDropButton, Quad(StateId), tcUnchecked};
            return std::nullopt;
        case TThemeData::Spin:
            if ((PartId == SPNP_UP || PartId == SPNP_DOWN) && StateId <= UPS_DISABLED)
                return TResolved{PartId == SPNP_UP ? TThemedPart::SpinUp : TThemedPart::SpinDown, Quad(StateId),
                                 tcUnchecked};
            return std::nullopt;
        case TThemeData::Header:
            if (PartId == HP_HEADERITEM && StateId <= HIS_PRESSED)
                return TResolved{TThemedPart::HeaderItem, Quad(StateId), tcUnchecked};
            return std::nullopt;
        case TThemeData::Progress:
            switch (PartId) {
                case PP_BAR: return TResolved{TThemedPart::ProgressBar, tsNormal, tcUnchecked};
                case PP_BARVERT: return TResolved{TThemedPart::ProgressBarVert, tsNormal, tcUnchecked};
                case PP_CHUNK: return TResolved{TThemedPart::ProgressChunk, tsNormal, tcUnchecked};
                case PP_CHUNKVERT: return TResolved{TThemedPart::ProgressChunkVert, tsNormal, tcUnchecked};
                default: return std::nullopt;
            }
    }
    return std::nullopt;
}

} // namespace

bool DrawThemeBackground(HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& R, const TRect* Clip) {
    const auto Res = Resolve(Theme, PartId, StateId);
    if (!Res || !Canvas) return false;
    QPainter* P = Canvas->Painter();
    if (!P) return false;
    if (Clip) {
        P->save();
        P->setClipRect(ToQ(*Clip), Canvas->HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    const bool Ok = DrawThemedPart(Canvas, Res->Part, Res->State, R, Res->Check);
    if (Clip) P->restore();
    return Ok;
}

bool GetThemePartSize(HTHEME Theme, TCanvas*, int PartId, int StateId, TSize& Size) {
    const auto Res = Resolve(Theme, PartId, StateId);
    if (!Res) return false;
    Size = ThemedPartSize(Res->Part);
    return true;
}
