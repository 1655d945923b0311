#pragma once
// The mini-HTML text renderer: draws, measures or hit-tests a text in the grid's small markup
// (formatting tags, anchors, images, list items, paragraphs, painted controls) inside a rectangle
// of a canvas. Cells, hints, headers, footers, drop-downs and printing all go through it.
#include "grid/base/PictureContainer.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"

#include <QString>

class QWidget;

// Lays Text out line by line in fr (text starts 1 pixel right of its left edge), paints it unless
// CheckHotSpot or CheckHeight is set, and reports the extent (XSize, YSize), the anchors met
// (HyperLinks), the anchor under (XPos, YPos) (AnchorVal, AnchorHint, MouseLink, HoverRect), the
// control under it (ControlRect, CID, CV, CT) and the text without markup (StripVal).
// FocusLink is 0-based (-1 none), HoverLink 1-based (0 none). In hot-spot mode CID is an input:
// the control with that ID counts as hit. Returns whether the point lies on an anchor, an image
// inside an anchor or a control; always false when only measuring. Never raises.
bool DrawHTMLText(TCanvas* Canvas, QString s, const TRect& fr, TCustomImageList* FImages, int XPos, int YPos,
                  int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                  bool Selected, bool Blink, bool HoverStyle, bool WordWrap, bool Down, double ResFactor,
                  TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, QString& AnchorVal,
                  QString& StripVal, QString& FocusAnchor, QString& AnchorHint, int& XSize, int& YSize, int& HyperLinks,
                  int& MouseLink, TRect& HoverRect, TRect& ControlRect, QString& CID, QString& CV, QString& CT,
                  THTMLPictureCache* ic, TPictureContainer* pc, QWidget* WinHandle, TBiDiMode BiDiMode);

// The background and text colours of highlighted text (the <HI> tag), shared by every grid.
void SetHTMLHighlightColors(TColor Background, TColor Text);
// Records once whether this platform draws themed controls; run when the unit initialises.
void InitHTMLThemeSupport();
bool HTMLThemeSupport();

// The colour a markup colour value names: "#RRGGBB" (upper-case hex digits), or one of the
// classic colour names ("clRed", "clBtnFace" ...) compared after lower-casing; 0 for any other.
TColor HTMLColor(const QString& Value);
