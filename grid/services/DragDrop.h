#pragma once
// Drag and drop of cells, text and columns between grids and other programs, on the platform's
// drag and drop: the data a drag offers, the reader of dropped data, the drop source and the
// drop target (both knowing nothing of grids), and the grid's own source and target built on
// them.
#include "platform/gui/Controls.h"
#include "platform/rtl/Objects.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMimeData;
class QWidget;
class TExtStringGrid;

// The flavours the data of a drag may carry.
enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = TSet<TDropFormat>;

namespace dragdrop {
// The mime types of the flavours that have no standard one.
QString RtfMimeType();
QString ColumnMimeType();
QString UrlMimeType();
} // namespace dragdrop

// Whether rich text is offered by a drag and accepted by a drop (one switch for every grid).
void SetOleDropRTF(bool Value);
bool OleDropRTF();

// The data a drag offers: the tab text, the rich text of one cell (only while rich text is
// switched on), a column index (-1: none) and the grid's own cell block (empty: none). Only
// flavours that carry something are offered.
std::unique_ptr<QMimeData> MakeSourceData(const QString& stxt, const QString& srtf, int sidx,
                                          const QByteArray& CellBlock);

// Reads the data of a drop. Every flavour is checked before it is taken: a column that is not
// exactly one 4-byte number is no column.
class TEnumFormats {
public:
    explicit TEnumFormats(const QMimeData* Data) : FData(Data) {}
    bool HasText() const;
    bool HasFile() const;
    bool HasRTF() const;
    bool HasCol() const;
    bool HasURL() const;
    bool HasGridCells() const;
    TDropFormats Formats() const;
    QString Text() const;
    QString RTF() const;
    int Col() const; // -1 when absent
    QByteArray Stream() const; // empty when absent
    QStringList GetFiles() const; // local file names
    QString URL() const;

private:
    const QMimeData* FData;
};

// The source side of a drag: told the effect the drag would have where it is now.
class TESGDropSource : public TObject {
public:
    // A target's answer: no effect means the data would be refused there.
    void GiveFeedback(int dwEffect);
    bool NoAccept() const { return FNoAccept; }
    virtual void DropStopped() {}
    virtual void CurrentEffect(int dwEffect) { (void)dwEffect; }
    virtual void QueryDrag() {}

protected:
    bool FNoAccept = false;
};

// Runs a drag of text (with rich text and the cell block beside it) or of a column. Answers
// DRAGDROP_S_CANCEL when nothing was dropped (dwEffect DROPEFFECT_NONE), else DRAGDROP_S_DROP
// with the effect of the drop in dwEffect.
int BeginTextDragDrop(TESGDropSource* DropSource, TControl* Source, const QString& stxt, const QString& srtf,
                      int& dwEffect, int dwOKEffects, const QByteArray& CellBlock, const QPixmap& Picture = {});
int BeginColumnDragDrop(TESGDropSource* DropSource, TControl* Source, int Column, int dwOKEffects, int& dwEffect,
                        const QPixmap& Picture = {});

// Ctrl copies; otherwise a move when the source allows one.
int DropEffectForKeys(TShiftState Shift, int OKEffects);

// The target side: decides from the flavours whether the data may be dropped at all and hands
// each flavour to its handler. A handler answers whether it placed anything; a drop that
// placed nothing reports no effect, so the source keeps its data.
class TESGDropTarget : public TObject {
public:
    void Request(TDropRequest& R);
    void DragEnter(TDropRequest& R);
    void DragOver(TDropRequest& R);
    void DragLeave();
    void Drop(TDropRequest& R);
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptURLs = true;
    bool FAcceptCols = false;
    bool Accepted() const { return FOk; }
    TDropFormats DropFormats() const { return FDropFormats; }

protected:
    virtual bool DropText(TPoint pt, const QString& s) { return (void)pt, (void)s, false; }
    virtual bool DropStream(TPoint pt, const QByteArray& ms) { return (void)pt, (void)ms, false; }
    virtual bool DropCol(TPoint pt, int Col) { return (void)pt, (void)Col, false; }
    virtual bool DropRTF(TPoint pt, const QString& s) { return (void)pt, (void)s, false; }
    virtual bool DropFiles(TPoint pt, const QStringList& Files) { return (void)pt, (void)Files, false; }
    virtual bool DropURL(TPoint pt, const QString& s) { return (void)pt, (void)s, false; }
    virtual void DragMouseMove(TPoint pt, bool& Allow, TDropFormats Formats) { (void)pt, (void)Allow, (void)Formats; }
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}
    // Whether the data may be dropped here at all.
    bool Acceptable(const TEnumFormats& E) const;

    bool FOk = false;
    TDropFormats FDropFormats;
};

// The grid's drag source: follows the effect and lets the grid know when the drag stops.
class TGridDropSource : public TESGDropSource {
public:
    explicit TGridDropSource(TExtStringGrid* aGrid) : FGrid(aGrid) {}
    void CurrentEffect(int dwEffect) override;
    void QueryDrag() override {}
    void DropStopped() override {}
    int LastEffect() const { return FLastEffect; }

private:
    TExtStringGrid* FGrid;
    int FLastEffect = DROPEFFECT_NONE;
};

// The grid as a drop target: what a drop of each flavour does to the grid, and where it would
// land while the data is dragged over it.
class TGridDropTarget : public TESGDropTarget {
public:
    explicit TGridDropTarget(TExtStringGrid* AGrid);
    TExtStringGrid* Grid() const { return FGrid; }

protected:
    bool DropText(TPoint pt, const QString& s) override;
    bool DropStream(TPoint pt, const QByteArray& ms) override;
    bool DropCol(TPoint pt, int Col) override;
    bool DropRTF(TPoint pt, const QString& s) override;
    bool DropFiles(TPoint pt, const QStringList& Files) override;
    bool DropURL(TPoint pt, const QString& s) override;
    void DragMouseMove(TPoint pt, bool& Allow, TDropFormats Formats) override;
    void DragMouseLeave() override;

private:
    // The grid's refusable drop events of one cell (rich text, a link).
    using TCellDropEvent = std::function<void(TObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)>;
    bool DropIntoCell(TPoint pt, const QString& s, const TCellDropEvent& Event);
    void EndFeedbackAt(TPoint pt, int& DisplCol, int& ARow);
    TExtStringGrid* FGrid;
};

// The small arrow windows that show where dropped rows or a dropped column would go.
class TDropArrow : public QWidget {
public:
    enum TDirection { adLeft, adDown, adUp };
    explicit TDropArrow(TDirection Dir);
    void SetColor(TColor Value);
    void ShowAt(TPoint ScreenPos);

protected:
    void paintEvent(QPaintEvent* E) override;

private:
    TDirection FDir;
    TColor FColor = clBlack;
};
