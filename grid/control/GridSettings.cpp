#include "grid/control/GridSettings.h"

#include "grid/base/ExtObj.h"

// ---- TCellNode ----------------------------------------------------------------------------------------
TCellNode::TCellNode(TControl* AOwner)
    : FOwner(AOwner), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()) {}

TCellNode::~TCellNode() = default;

template <typename T>
void TCellNode::Change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (FOwner) FOwner->Invalidate();
}

void TCellNode::SetNodeType(TNodeType Value) { Change(FNodeType, Value); }
void TCellNode::SetShowTree(bool Value) { Change(FShowTree, Value); }
void TCellNode::SetShowTreeFull(bool Value) { Change(FShowTreeFull, Value); }
void TCellNode::SetTreeColor(TColor Value) { Change(FTreeColor, Value); }
void TCellNode::SetNodeIndent(int Value) { Change(FNodeIndent, Value); }

void TCellNode::SetExpandGlyph(TBitmap* Value) {
    if (Value != FExpandGlyph.get()) FExpandGlyph->Assign(Value);
}

void TCellNode::SetContractGlyph(TBitmap* Value) {
    if (Value != FContractGlyph.get()) FContractGlyph->Assign(Value);
}

void TCellNode::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TCellNode*>(Source);
    if (!S || S == this) return;
    FColor = S->FColor;
    FExpandOne = S->FExpandOne;
    FNodeType = S->FNodeType;
    FNodeColor = S->FNodeColor;
    FNodeIndent = S->FNodeIndent;
    FExpandGlyph->Assign(S->FExpandGlyph.get());
    FContractGlyph->Assign(S->FContractGlyph.get());
    FShowTree = S->FShowTree;
    FShowTreeFull = S->FShowTreeFull;
    FTreeColor = S->FTreeColor;
}

// ---- TColumnSize --------------------------------------------------------------------------------------
void TColumnSize::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TColumnSize*>(Source);
    if (!S || S == this) return;
    FRows = S->FRows;
    FSave = S->FSave;
    FKey = S->FKey;
    FSection = S->FSection;
    FStretch = S->FStretch;
    FStretchColumn = S->FStretchColumn;
    FSynchWithGrid = S->FSynchWithGrid;
    FSynchNormalCellsOnly = S->FSynchNormalCellsOnly;
    FLocation = S->FLocation;
}

// ---- THTMLSettings ------------------------------------------------------------------------------------
THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(0, 0)) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<THTMLSettings*>(Source);
    if (!S || S == this) return;
    FBorderSize = S->FBorderSize;
    FCellSpacing = S->FCellSpacing;
    FCellPadding = S->FCellPadding;
    FSaveColor = S->FSaveColor;
    FSaveFonts = S->FSaveFonts;
    FFooterFile = S->FFooterFile;
    FHeaderFile = S->FHeaderFile;
    FTableStyle = S->FTableStyle;
    FPrefixTag = S->FPrefixTag;
    FSuffixTag = S->FSuffixTag;
    FSummary = S->FSummary;
    FWidth = S->FWidth;
    FXHTML = S->FXHTML;
    FConvertSpecialChars = S->FConvertSpecialChars;
    FAutoPreview = S->FAutoPreview;
    FNonBreakingText = S->FNonBreakingText;
}

// ---- TPrintSettings -----------------------------------------------------------------------------------
TPrintSettings::TPrintSettings(TComponent* AOwner)
    : FGrid(AOwner), FTitleLines(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()),
      FFixedFont(std::make_unique<TFont>()), FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()) {}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::SetTitleLines(TStrings* Value) {
    if (Value != FTitleLines.get()) FTitleLines->Assign(Value);
}

void TPrintSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TPrintSettings*>(Source);
    if (!S) {
        const QString From = Source ? Source->ClassName() : QStringLiteral("nil");
        throw EInvalidCast(QStringLiteral("Cannot assign a %1 to a TPrintSettings").arg(From));
    }
    if (S == this) return;
    FTime = S->FTime;
    FDate = S->FDate;
    FPageNr = S->FPageNr;
    FTitle = S->FTitle;
    FDateFormat = S->FDateFormat;
    FPageNumSep = S->FPageNumSep;
    FPagePrefix = S->FPagePrefix;
    FPageSuffix = S->FPageSuffix;
    FTitleText = S->FTitleText;
    FTitleLines->Assign(S->FTitleLines.get());
    FFont->Assign(S->FFont.get());
    FFixedFont->Assign(S->FFixedFont.get());
    FHeaderFont->Assign(S->FHeaderFont.get());
    FFooterFont->Assign(S->FFooterFont.get());
    FUseDisplayFont = S->FUseDisplayFont;
    FBorders = S->FBorders;
    FBorderStyle = S->FBorderStyle;
    FBorderColor = S->FBorderColor;
    FCentered = S->FCentered;
    FRepeatFixedRows = S->FRepeatFixedRows;
    FRepeatFixedCols = S->FRepeatFixedCols;
    FFooterSize = S->FFooterSize;
    FHeaderSize = S->FHeaderSize;
    FLeftSize = S->FLeftSize;
    FRightSize = S->FRightSize;
    FColumnSpacing = S->FColumnSpacing;
    FRowSpacing = S->FRowSpacing;
    FTitleSpacing = S->FTitleSpacing;
    FOrientation = S->FOrientation;
    FUseDefaultOrientation = S->FUseDefaultOrientation;
    FPageNumberOffset = S->FPageNumberOffset;
    FMaxPagesOffset = S->FMaxPagesOffset;
    FFixedWidth = S->FFixedWidth;
    FFixedHeight = S->FFixedHeight;
    FUseFixedWidth = S->FUseFixedWidth;
    FUseFixedHeight = S->FUseFixedHeight;
    FFitToPage = S->FFitToPage;
    FNoAutoSize = S->FNoAutoSize;
    FNoAutoSizeRow = S->FNoAutoSizeRow;
    FPrintGraphics = S->FPrintGraphics;
    FJobName = S->FJobName;
}
