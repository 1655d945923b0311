#pragma once
// The balloon a grid shows for a cell or for a refused value: a title beside its icon, and a
// text under them, in a small top window placed below the point it explains.
#include "platform/gui/Forms.h"

#include <QString>

class TGridBalloonWindow : public THintWindow {
public:
    explicit TGridBalloonWindow(TComponent* AOwner);
    // Icon: 0 none, 1 information, 2 warning, 3 error (other values show none).
    void SetBalloon(const QString& Title, const QString& Text, int Icon);
    QString Title() const { return FTitle; }
    QString Text() const { return FText; }
    int Icon() const { return FIcon; }
    // The size the balloon needs for its texts, at most MaxWidth wide.
    TRect BalloonRect(int MaxWidth);
    // Shows the balloon with its top-left corner at the screen point.
    void ShowAt(TPoint Screen);
    // Draws the balloon on a canvas at (X, Y), as it shows itself.
    void PaintTo(TCanvas* C, int X, int Y);

protected:
    void Paint() override;

private:
    QString FTitle;
    QString FText;
    int FIcon = 0;
};
