#pragma once
// A grid for the file and stream tests: 5 real columns, real column 2 hidden (so 4 on display),
// one fixed row and column, and cells holding the texts that break file formats: quotes, tabs,
// line breaks of every kind, the formats' own marks, non-Latin text and empty cells. A temporary
// folder holds the files.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class GridFiles : public ::testing::Test {
protected:
    static constexpr int RealCols = 5;
    static constexpr int Rows = 5;
    static constexpr int HiddenRealCol = 2;

    // Row-major texts of the fixture, real columns.
    static std::vector<std::vector<QString>> Texts() {
        return {
            {"", "Name", "Note", "Value", "Other"},
            {"1", QString::fromUtf8("Grüße \"quoted\""), "hidden text", "a,b", QString::fromUtf8("日本語")},
            {"2", "tab\there", "line\r\nbreak", "", "bare\rCR"},
            {"3", "bare\nLF", QString("marks") + QChar(8) + QChar(9) + QChar(1) + QChar(0x1B), "  lead", "\"\""},
            {"4", "", "x", QString::fromUtf8("Ελληνικά;|#"), "end"},
        };
    }

    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        G = MakeGrid();
    }

    static std::unique_ptr<TExtStringGrid> MakeGrid() {
        auto Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(RealCols);
        Grid->SetRowCount(Rows);
        const auto T = Texts();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < RealCols; ++c) Grid->SetGridCell(c, r, T[size_t(r)][size_t(c)]);
        Grid->HideColumn(HiddenRealCol);
        return Grid;
    }

    QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }

    // Every stored text by real column, row by row.
    static std::vector<QString> Snapshot(TExtStringGrid* Grid) {
        std::vector<QString> S;
        S.push_back(QString("%1x%2+%3").arg(Grid->ColCount()).arg(Grid->RowCount()).arg(Grid->NumHiddenColumns()));
        for (int r = 0; r < Grid->RowCount(); ++r)
            for (int c = 0; c < Grid->TotalColCount(); ++c) S.push_back(Grid->GetGridCell(c, r));
        return S;
    }

    QTemporaryDir Dir;
    std::unique_ptr<TExtStringGrid> G;
};
