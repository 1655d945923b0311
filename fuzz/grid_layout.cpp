// The grid's layout readers: a column-state line, an INI file of "Col"/"Pos" keys and a
// visual-properties file (the three parts of an input, split at "@@" lines). A refused input
// (EConvertError) leaves the grid exactly as it was; an accepted one saves to something that a
// fresh grid loads back into the same state. No other error may escape.
#include "fuzz/FuzzSupport.h"
#include "grid/control/ExtGrid.h"
#include "platform/rtl/Files.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<TExtStringGrid> NewGrid() {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(7);
    G->SetRowCount(4);
    for (int c = 0; c < 7; ++c) G->SetCellEx(c, 0, QString::number(c));
    G->HideColumn(2);
    G->HideRow(2);
    return G;
}

// The layout as the user sees it; with Order also the recorded order list as it stands (an empty
// list and the unmoved order mean the same to the user).
QString Columns(TExtStringGrid* G, bool Order = true) {
    QString S = G->ColumnStatesToString() + QStringLiteral(" fixed=") + QString::number(G->FixedCols()) +
        QStringLiteral(" cells=");
    if (Order) S += QStringLiteral(" order=") + G->ColumnOrder()->StrValue();
    for (int d = 0; d < G->ColCount(); ++d) S += G->GetCellEx(G->RealColIndex(d), 0) + u' ';
    return S;
}

QString Visual(TExtStringGrid* G, const QString& Name) {
    const QString Path = Fuzz_Dir() + u'/' + Name;
    G->SaveVisualProps(Path);
    return QString::fromLatin1(ReadFileBytes(Path).toHex());
}

void UseIni(TExtStringGrid* G, const QString& Path) {
    G->ColumnSize()->SetLocation(clIniFile);
    G->ColumnSize()->SetKey(Path);
    G->ColumnSize()->SetSection(QStringLiteral("Grid"));
}
} // namespace

FUZZ_HEADLESS_APPLICATION()

int RunOne(const uint8_t* Data, size_t Size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const int Result = RunOne(Data, Size);
    // Without an event loop the grids' deferred deletions would pile up from input to input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return Result;
}

int RunOne(const uint8_t* Data, size_t Size) {
    Fuzz_Clear_Dir();
    const QList<QByteArray> Parts = Fuzz_Split(Fuzz_Bytes(Data, Size), 3);

    // 1. the column-state line
    {
        const QString Line = QString::fromUtf8(Parts[0]);
        auto G = NewGrid();
        const QString Before = Columns(G.get());
        bool Accepted = true;
        try {
            G->StringToColumnStates(Line);
        } catch (const EConvertError&) {
            Accepted = false;
            FUZZ_CHECK(Columns(G.get()) == Before, Fuzz_Show(Line) + QStringLiteral(" -> ") + Columns(G.get()));
        }
        if (Accepted && Line.contains(u'#')) {
            const QString Saved = G->ColumnStatesToString();
            auto Again = NewGrid();
            Again->StringToColumnStates(Saved);
            FUZZ_CHECK(Columns(Again.get(), false) == Columns(G.get(), false),
                       Fuzz_Show(Line) + QStringLiteral(": ") + Columns(G.get(), false) + QStringLiteral(" / ") +
                           Columns(Again.get(), false));
        }
    }

    // 2. "Col" and "Pos" keys
    {
        const QString Ini = Fuzz_Write(QStringLiteral("cols.ini"), Parts[1]);
        auto G = NewGrid();
        UseIni(G.get(), Ini);
        const QString Before = Columns(G.get());
        bool Accepted = true;
        try {
            G->LoadColPositions();
        } catch (const EConvertError&) {
            Accepted = false;
            FUZZ_CHECK(Columns(G.get()) == Before, QStringLiteral("positions: ") + Columns(G.get()));
        }
        if (Accepted) {
            const QString Moved = Columns(G.get());
            try {
                G->LoadColSizes();
            } catch (const EConvertError&) {
                FUZZ_CHECK(Columns(G.get()) == Moved, QStringLiteral("sizes: ") + Columns(G.get()));
            }
            const QString Out = Fuzz_Dir() + QStringLiteral("/out.ini");
            UseIni(G.get(), Out);
            G->SaveColPositions();
            G->SaveColSizes();
            auto Again = NewGrid();
            UseIni(Again.get(), Out);
            Again->LoadColPositions();
            Again->LoadColSizes();
            for (int d = 0; d < G->ColCount(); ++d) FUZZ_CHECK(Again->ColWidths(d) == G->ColWidths(d));
            if (G->ColumnOrder()->Count() > 0)
                FUZZ_CHECK(Again->ColumnOrder()->StrValue() == G->ColumnOrder()->StrValue(),
                           G->ColumnOrder()->StrValue() + QStringLiteral(" / ") + Again->ColumnOrder()->StrValue());
        }
    }

    // 3. the visual-properties file
    {
        const QString Path = Fuzz_Write(QStringLiteral("visual.txt"), Parts[2]);
        auto G = NewGrid();
        const QString Before = Visual(G.get(), QStringLiteral("before.txt"));
        try {
            G->LoadVisualProps(Path);
        } catch (const EConvertError&) {
            FUZZ_CHECK(Visual(G.get(), QStringLiteral("after.txt")) == Before);
            return 0;
        }
        const QString Saved = Fuzz_Dir() + QStringLiteral("/saved.txt");
        G->SaveVisualProps(Saved);
        auto Again = NewGrid();
        Again->LoadVisualProps(Saved);
        FUZZ_CHECK(Visual(Again.get(), QStringLiteral("again.txt")) == Visual(G.get(), QStringLiteral("first.txt")));
    }
    return 0;
}
