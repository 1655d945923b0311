#pragma once
// The hint window of the grid's mini-HTML: draws hint texts with markup and pictures (from the
// grid's image list and picture container) and wide-encoded hint texts on one line in the font
// of the grid whose hint is shown. The platform's hint machinery creates it whenever it is the
// hint window class in force, for the whole application or for one hint.
#include "grid/base/PictureContainer.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"

#include <QString>

class THTMLHintWindow : public THintWindow {
public:
    explicit THTMLHintWindow(TComponent* AOwner);

    // (0, 0, width, height) of the measured text, without margins.
    TRect CalcHintRect(int MaxWidth, const QString& AHint, void* AData) override;
    // AData, when it is a grid (passed as a TObject*), lends its images and picture container.
    void ActivateHintData(TRect R, const QString& AHint, void* AData) override;
    void ActivateHint(TRect R, const QString& AHint) override;
    void WndProc(TMessage& Message) override;

    TCustomImageList* Images() const { return FImages; }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    QString WideCaption() const { return FWideCaption; }

    // Where a hint rectangle R ends up inside the available area of its screen: moved left to
    // end 2 pixels before the right edge, up to end 2 pixels above the bottom edge, and never
    // left of or above the area.
    static TRect PlaceInArea(TRect R, const TRect& Area);
    // The available area of the screen nearest to P.
    static TRect ScreenAreaAt(TPoint P);

    // The width a hint text is measured in whatever the screen: 1024 less the margins.
    static constexpr int MeasureWidth = 1008;

protected:
    void Paint() override;

private:
    // Measures AHint in a rectangle W wide: the text's width and height.
    TSize MeasureText(const QString& AHint, int W);
    void DrawHTML(const QString& AHint, const TRect& R, bool Measure, int& XSize, int& YSize);

    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    int FTextHeight = 0;
    int FTextWidth = 0;
    QString FWideCaption;
};
