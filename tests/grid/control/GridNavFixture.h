#pragma once
// A string grid for the selection, navigation, scrolling and event tests: 5 visible columns
// (real column 2 hidden, so display column 2 shows real column 3) and 10 visible rows (real row
// 6 hidden), one fixed row and column. Every cell holds "realcol,realrow".
#include "grid/control/ExtGrid.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class GridNav : public ::testing::Test {
protected:
    static constexpr int HiddenRealCol = 2;
    static constexpr int HiddenRealRow = 6;

    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(11);
        G->SetDefaultColWidth(60);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 11; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(HiddenRealCol);
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->ColCount(), 5);
        ASSERT_EQ(G->RowCount(), 10);
        ASSERT_EQ(G->RealColIndex(2), 3);
        ASSERT_EQ(G->RealRowIndex(6), 7);
    }

    // Sends a typed character through the grid's own message path.
    void Char(ushort Ch) { G->Perform(WM_CHAR, Ch, 0); }
    void Key(Word VK, TShiftState Shift = {}) { G->Perform(WM_KEYDOWN, VK, LPARAM(Shift.Bits())); }

    std::string Cell() const { return std::to_string(G->Col()) + "," + std::to_string(G->Row()); }

    std::unique_ptr<TExtStringGrid> G;
};

// Records the events a grid fires, in order, with their arguments as named in the signatures.
struct EventLog {
    std::vector<std::string> Lines;
    void Add(const std::string& S) { Lines.push_back(S); }
    static std::string Args(std::initializer_list<std::pair<const char*, int>> A) {
        std::string S;
        for (auto& [N, V] : A) S += std::string(S.empty() ? "" : " ") + N + "=" + std::to_string(V);
        return S;
    }
};
