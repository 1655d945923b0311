#pragma once
// A grid for the sorting and filtering tests: one fixed row (the header), real columns
// 0 "tag" (the row's own name, "r<n>"), 1 the values under test, 2 hidden (a copy of the tag
// with "h" in front, so a row's hidden cells are seen to travel with it) and 3 a second key.
// Real row 2 is hidden before the test starts (it holds "hidden" in every column).
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct SortGridFixture {
    static constexpr int TagCol = 0;
    static constexpr int ValueCol = 1;
    static constexpr int HiddenCol = 2;
    static constexpr int SecondCol = 3;

    std::unique_ptr<TExtStringGrid> G = std::make_unique<TExtStringGrid>(nullptr);

    // Values (and optional second keys) become the normal rows r0, r1, ...; a hidden row is
    // kept before them when HideOne.
    void Fill(const std::vector<QString>& Values, const std::vector<QString>& Second = {}, bool HideOne = true) {
        const int N = int(Values.size());
        G->SetColCount(4);
        G->SetFixedRows(1);
        G->SetFixedCols(0);
        G->SetRowCount(1 + N + (HideOne ? 1 : 0));
        G->SetGridCell(TagCol, 0, "tag");
        G->SetGridCell(ValueCol, 0, "value");
        int r = 1;
        for (int i = 0; i < N; ++i, ++r) {
            if (HideOne && r == 2) {
                for (int c = 0; c < 4; ++c) G->SetGridCell(c, r, "hidden");
                ++r;
            }
            const QString Tag = QString("r%1").arg(i);
            G->SetGridCell(TagCol, r, Tag);
            G->SetGridCell(ValueCol, r, Values[size_t(i)]);
            G->SetGridCell(HiddenCol, r, "h" + Tag);
            G->SetGridCell(SecondCol, r, size_t(i) < Second.size() ? Second[size_t(i)] : QString());
        }
        if (HideOne && N >= 1) {
            // Row 2 holds "hidden" when there was a first value to put before it.
            G->HideRow(2);
        }
        G->HideColumn(HiddenCol);
    }

    // The tags of the normal rows in display order; a row whose hidden cell does not match its
    // tag is reported as "tag!".
    std::vector<std::string> Tags() {
        std::vector<std::string> T;
        for (int r = G->FixedRows(); r < G->RowCount() - G->FixedFooters(); ++r) {
            const QString Tag = G->GetGridCell(TagCol, r);
            const bool Whole = G->GetGridCell(HiddenCol, r) == "h" + Tag;
            T.push_back(Tag.toStdString() + (Whole ? "" : "!"));
        }
        return T;
    }
};
