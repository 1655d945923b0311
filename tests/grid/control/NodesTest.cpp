// Node rows: expand and collapse sequences with the rows on display after each step, levels,
// parents and spans, rows inserted into groups, expandable rows, and the node glyph under the
// mouse and the keyboard.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A grid of 13 real rows (one fixed) and 4 real columns, real column 2 and real row 7 hidden by
// the application. Column 1 holds the real row number, so the rows on display read off it.
class NodeGrid : public ::testing::Test {
protected:
    static constexpr int HiddenRealRow = 7;

    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 420, 420);
        G = Create<TExtStringGrid>(Form, Form);
        G->SetBounds(0, 0, 400, 400);
        G->SetColCount(4);
        G->SetRowCount(13);
        G->SetDefaultRowHeight(20);
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 4; ++c)
                G->SetGridCell(c, r, c == 1 ? QString::number(r) : QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->RowCount(), 12);
        ASSERT_EQ(G->ColCount(), 3);
    }
    void TearDown() override { delete Form; }

    // The rows on display below the header by their real number; a node row is marked "+" while
    // expanded and "-" while collapsed.
    std::string Shown() {
        std::string S;
        for (int r = G->FixedRows(); r < G->RowCount(); ++r) {
            if (!S.empty()) S += ' ';
            S += G->GetGridCell(1, r).toStdString();
            if (G->IsNode(r)) S += G->GetNodeState(r) ? "-" : "+";
        }
        return S;
    }

    TForm* Form = nullptr;
    TExtStringGrid* G = nullptr;
};

constexpr const char* AllShown = "1+ 2+ 3 4 5 6 8+ 9 10 11 12";

// ---- expand and collapse sequences -------------------------------------------------------------------------
enum class Op { Expand, Contract, ExpandAll, ContractAll, RemoveNode };

struct Step {
    Op What;
    int RealRow; // for Expand, Contract and RemoveNode
    const char* Shown; // the rows on display afterwards
};

struct SequenceCase {
    const char* Name;
    std::vector<std::pair<int, int>> Nodes; // (real row, span), added in this order
    bool ExpandOne;
    std::vector<Step> Steps;
};

void PrintTo(const SequenceCase& C, std::ostream* Os) { *Os << C.Name; }

class NodeSequence : public NodeGrid, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(NodeSequence, ShowsTheGroupsRowsAfterEachStep) {
    const SequenceCase& C = GetParam();
    G->CellNode()->SetExpandOne(C.ExpandOne);
    for (auto [Real, Span] : C.Nodes) G->AddNode(Real, Span);
    int StepNo = 0;
    for (const Step& S : C.Steps) {
        switch (S.What) {
            case Op::Expand: G->ExpandNode(S.RealRow); break;
            case Op::Contract: G->ContractNode(S.RealRow); break;
            case Op::ExpandAll: G->ExpandAll(); break;
            case Op::ContractAll: G->ContractAll(); break;
            case Op::RemoveNode: G->RemoveNode(S.RealRow); break;
        }
        EXPECT_EQ(Shown(), S.Shown) << "after step " << StepNo;
        G->CheckIndexConsistency();
        // The application's own hidden row stays hidden through every step but a full expand.
        if (std::string(S.Shown).find(" 7") == std::string::npos) {
            EXPECT_TRUE(G->IsHiddenRow(HiddenRealRow));
        }
        ++StepNo;
    }
}

std::vector<SequenceCase> Sequences() {
    const std::vector<std::pair<int, int>> Tree{{1, 4}, {2, 2}, {8, 3}};
    return {
        {"OuterCollapsesAndComesBack",
         Tree,
         false,
         {{Op::Contract, 1, "1- 5 6 8+ 9 10 11 12"}, {Op::Expand, 1, AllShown}}},
        {"InnerThenOuterThenOuterAgain",
         Tree,
         false,
         {{Op::Contract, 2, "1+ 2- 4 5 6 8+ 9 10 11 12"},
          {Op::Contract, 1, "1- 5 6 8+ 9 10 11 12"},
          // the inner group comes back open with the outer one
          {Op::Expand, 1, AllShown}}},
        {"InnerCollapsedInsideCollapsedOuter",
         Tree,
         false,
         {{Op::Contract, 1, "1- 5 6 8+ 9 10 11 12"},
          {Op::Contract, 2, "1- 5 6 8+ 9 10 11 12"}, // a hidden node is left alone
          {Op::Expand, 1, AllShown}}},
        {"ContractAllThenExpandAll",
         Tree,
         false,
         {{Op::ContractAll, 0, "1- 5 6 8- 11 12"},
          {Op::Expand, 8, "1- 5 6 8+ 9 10 11 12"},
          {Op::ExpandAll, 0, AllShown}}},
        {"ExpandOneClosesTheOthers",
         Tree,
         true,
         {{Op::ContractAll, 0, "1- 5 6 8- 11 12"},
          {Op::Expand, 8, "1- 5 6 8+ 9 10 11 12"},
          {Op::Expand, 1, "1+ 2+ 3 4 5 6 8- 11 12"},
          {Op::Contract, 2, "1+ 2- 4 5 6 8- 11 12"},
          // the group that holds the node stays open: the node must not vanish into it
          {Op::Expand, 2, "1+ 2+ 3 4 5 6 8- 11 12"}}},
        {"ExpandAllWithExpandOneOpensEveryNode",
         Tree,
         true,
         {{Op::ContractAll, 0, "1- 5 6 8- 11 12"}, {Op::ExpandAll, 0, AllShown}}},
        {"SpanZeroReachesToTheNextNode",
         {{1, 0}, {5, 2}},
         false,
         {{Op::ContractAll, 0, "1- 5- 8 9 10 11 12"},
          {Op::Expand, 5, "1- 5+ 6 8 9 10 11 12"},
          {Op::Contract, 5, "1- 5- 8 9 10 11 12"},
          {Op::Expand, 1, "1+ 2 3 4 5- 8 9 10 11 12"}}},
        {"NestedSpanZeroNodeStaysInsideTheOuterGroup",
         {{1, 4}, {3, 0}, {6, 2}},
         false,
         {{Op::Contract, 3, "1+ 2 3- 6+ 8 9 10 11 12"},
          // rows 6 and 8 lie past the outer group (rows 1 to 4): they stay on display
          {Op::Contract, 1, "1- 6+ 8 9 10 11 12"},
          {Op::Expand, 1, "1+ 2 3+ 4 5 6+ 8 9 10 11 12"}}},
        // the span counts the rows on display: row 7, hidden by the application, takes no place
        // in it, and the group reaches to row 9
        {"AHiddenRowInsideTheSpanLosesNoRow",
         {{6, 3}},
         false,
         {{Op::Contract, 6, "1 2 3 4 5 6- 10 11 12"}, {Op::Expand, 6, "1 2 3 4 5 6+ 7 8 9 10 11 12"}}},
        {"RemovingACollapsedNodeShowsItsRows",
         Tree,
         false,
         {{Op::Contract, 8, "1+ 2+ 3 4 5 6 8- 11 12"}, {Op::RemoveNode, 8, "1+ 2+ 3 4 5 6 8 9 10 11 12"}}},
    };
}

INSTANTIATE_TEST_SUITE_P(Steps, NodeSequence, ::testing::ValuesIn(Sequences()),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// ---- levels, parents and spans -------------------------------------------------------------------------------
TEST_F(NodeGrid, AddingNodesRaisesLevelsAndFindsParents) {
    G->SetCol(0);
    G->AddNode(1, 3);
    EXPECT_EQ(G->Col(), 1) << "the focus leaves the node column";
    EXPECT_TRUE(G->HasNodes());
    EXPECT_EQ(G->GetNodeSpan(1), 3);
    EXPECT_EQ(G->GetNodeLevel(1), 1);
    EXPECT_EQ(G->GetNodeLevel(2), -1) << "no node row";
    EXPECT_EQ(G->GetCellProperties(0, 3)->NodeLevel(), 1);
    EXPECT_EQ(G->GetCellProperties(0, 4)->NodeLevel(), 0);
    EXPECT_EQ(G->GetParentRow(2), 1);
    EXPECT_EQ(G->GetParentRow(1), 1);
    EXPECT_EQ(G->GetParentRow(5), -1);
    EXPECT_EQ(G->GetNodeSpanType(2), 2) << "a row of the same level follows: the line goes on";

    G->AddNode(2, 2);
    EXPECT_EQ(G->GetNodeLevel(2), 2);
    EXPECT_EQ(G->GetCellProperties(0, 3)->NodeLevel(), 2);
    EXPECT_EQ(G->GetParentRow(3), 2);
    EXPECT_EQ(G->GetParentRow(2), 1);
    EXPECT_EQ(G->GetNodeIndent(3), 2 * G->CellNode()->NodeIndent());

    // tree lines: a row with a row of its level below continues the line; the last one ends it
    EXPECT_EQ(G->GetNodeSpanType(1), 0);
    EXPECT_EQ(G->GetNodeSpanType(3), 1);
    EXPECT_EQ(G->GetNodeSpanType(G->RowCount() - 1), 1);

    // a collapsed group's hidden rows do not make a later row its child
    G->ContractNode(2);
    EXPECT_EQ(G->GetParentRow(2), 1);
    EXPECT_EQ(G->GetParentRow(3), -1) << "display row 3 now shows real row 4, outside both groups";

    G->RemoveNode(2);
    EXPECT_EQ(Shown(), "1+ 2 3 4 5 6 8 9 10 11 12");
    EXPECT_EQ(G->GetCellProperties(0, 3)->NodeLevel(), 1);
    G->RemoveAllNodes();
    EXPECT_FALSE(G->HasNodes());
    EXPECT_EQ(G->GetCellProperties(0, 2)->NodeLevel(), 0);
}

TEST_F(NodeGrid, SpansAreClampedToTheRowsThatExist) {
    const int Rows = G->RowCount(), All = G->AllRowCount();
    G->AddNode(10, 50);
    EXPECT_EQ(G->GetNodeSpan(9), 3) << "real rows 10 to 12";
    EXPECT_EQ(G->RowCount(), Rows);
    EXPECT_EQ(G->AllRowCount(), All);
    G->UpdateNodeSpan(9, 40);
    EXPECT_EQ(G->GetNodeSpan(9), 3);
    G->ContractNode(10);
    EXPECT_EQ(Shown(), "1 2 3 4 5 6 8 9 10-");
    G->ExpandNode(10);
    EXPECT_EQ(Shown(), "1 2 3 4 5 6 8 9 10+ 11 12");
    G->CheckIndexConsistency();
}

TEST_F(NodeGrid, NodeStateQueriesAndSetter) {
    G->AddNode(1, 4);
    EXPECT_FALSE(G->GetNodeState(1));
    EXPECT_FALSE(G->GetNodeState(5)) << "no node";
    EXPECT_EQ(G->GetNodeSpan(5), -1);
    EXPECT_EQ(G->GetSubNodeCount(5), 0);
    G->SetNodeState(1, true);
    EXPECT_EQ(Shown(), "1- 5 6 8 9 10 11 12");
    G->SetNodeState(1, true); // no change
    EXPECT_EQ(Shown(), "1- 5 6 8 9 10 11 12");
    G->SetNodeState(1, false);
    EXPECT_EQ(Shown(), "1+ 2 3 4 5 6 8 9 10 11 12");
    G->SetNodeState(5, true); // not a node: nothing
    EXPECT_EQ(Shown(), "1+ 2 3 4 5 6 8 9 10 11 12");
}

TEST_F(NodeGrid, ChildRowsKeepTheGroupCountsOfEveryAncestor) {
    G->AddNode(1, 4);
    G->AddNode(2, 2);
    // a summary row goes into the nested group, under its node's own row
    G->InsertChildRow(3, 1);
    G->MarkSummaryRow(4);
    EXPECT_TRUE(G->IsSummary(4));
    EXPECT_EQ(G->GetNodeSpan(2), 3);
    EXPECT_EQ(G->GetSubNodeCount(2), 1);
    EXPECT_EQ(G->GetNodeSpan(1), 5);
    EXPECT_EQ(G->GetSubNodeCount(1), 1);
    EXPECT_EQ(G->GetCellProperties(0, 4)->NodeLevel(), 2);
    // the application's hidden row moved down with the rows below it
    EXPECT_TRUE(G->IsHiddenRow(HiddenRealRow + 1));
    EXPECT_FALSE(G->IsHiddenRow(HiddenRealRow));
    G->ContractNode(1);
    EXPECT_EQ(G->GetGridCell(1, 2).toStdString(), "5") << "the whole grown group is hidden";

    G->ExpandNode(1);
    G->RemoveChildRow(4);
    EXPECT_EQ(G->GetNodeSpan(2), 2);
    EXPECT_EQ(G->GetSubNodeCount(2), 0);
    EXPECT_EQ(G->GetNodeSpan(1), 4);
    EXPECT_EQ(Shown(), "1+ 2+ 3 4 5 6 8 9 10 11 12");
    G->CheckIndexConsistency();
}

TEST_F(NodeGrid, AGroupAtTheGridsEndTakesAChildRow) {
    G->AddNode(10, 3); // real rows 10 to 12, the last ones
    G->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(G->GetCellEx(1, 9), "10 (2)");
    G->InsertChildRow(11, 1);
    EXPECT_EQ(G->GetNodeSpan(9), 4) << "the group grows with the grid";
    EXPECT_EQ(G->GetSubNodeCount(9), 1);
    EXPECT_EQ(G->GetCellEx(1, 9), "10 (2)") << "the count stays";
    G->ContractNode(10);
    EXPECT_EQ(Shown(), "1 2 3 4 5 6 8 9 10-") << "the whole grown group is hidden";
    G->ExpandNode(10);
    EXPECT_EQ(G->RowCount(), 13);
    G->CheckIndexConsistency();
}

TEST_F(NodeGrid, GroupCountsFollowTheNodeText) {
    G->AddNode(1, 4);
    G->AddNode(2, 2);
    EXPECT_EQ(G->GetCellEx(1, 1), "1") << "counts are off by default";
    G->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(G->GetCellEx(1, 1), "1 (3)");
    EXPECT_EQ(G->GetCellEx(1, 2), "2 (1)");
    EXPECT_EQ(G->GetCellEx(3, 1), "3,1") << "only column 1 shows the count";
    EXPECT_EQ(G->GetCellEx(1, 3), "3") << "no node row";
    G->InsertChildRow(3, 1); // a summary row keeps the counts
    EXPECT_EQ(G->GetCellEx(1, 1), "1 (3)");
    EXPECT_EQ(G->GetCellEx(1, 2), "2 (1)");
    G->Grouping()->SetGroupCountFormat(" [%d rows]");
    EXPECT_EQ(G->GetCellEx(1, 1), "1 [3 rows]");
}

TEST_F(NodeGrid, ChildRowAtANodeTakesTheNodesTexts) {
    G->AddNode(1, 2);
    G->SetGridCell(3, 1, "node text");
    G->InsertChildRow(1, 0);
    EXPECT_TRUE(G->IsNode(1));
    EXPECT_EQ(G->GetGridCell(3, 1), "");
    EXPECT_EQ(G->GetGridCell(3, 2), "node text");
    EXPECT_EQ(G->GetNodeSpan(1), 3);
}

TEST_F(NodeGrid, ExpandableRowsSwitchHeights) {
    EXPECT_FALSE(G->ToggleExpand(1, 2));
    EXPECT_EQ(G->GetExpandHeight(1, 2, true), G->DefaultRowHeight());
    G->SetRowHeights(2, 24);
    G->AddExpand(1, 2, 60);
    EXPECT_TRUE(G->HasExpand(1, 2));
    EXPECT_FALSE(G->GetExpandState(1, 2));
    EXPECT_TRUE(G->ToggleExpand(1, 2));
    EXPECT_FALSE(G->ToggleExpand(1, 2));
    EXPECT_EQ(G->GetExpandHeight(1, 2, true), 60);
    EXPECT_EQ(G->GetExpandHeight(1, 2, false), 24);
    G->RemoveExpand(1, 2);
    EXPECT_FALSE(G->HasExpand(1, 2));
}

// ---- the mouse and the keyboard ------------------------------------------------------------------------------
class NodeInput : public NodeGrid {
protected:
    void SetUp() override {
        NodeGrid::SetUp();
        Form->Show();
        QApplication::processEvents();
        G->AddNode(1, 4);
        G->AddNode(2, 2);
        G->OnBeforeContractNode = [this](TObject*, int R, int RR, bool& Allow) {
            Log.push_back("BeforeContract " + std::to_string(R) + "," + std::to_string(RR));
            Allow = AllowChange;
        };
        G->OnContractNode = [this](TObject*, int R, int RR) {
            Log.push_back("Contract " + std::to_string(R) + "," + std::to_string(RR));
        };
        G->OnBeforeExpandNode = [this](TObject*, int R, int RR, bool& Allow) {
            Log.push_back("BeforeExpand " + std::to_string(R) + "," + std::to_string(RR));
            Allow = AllowChange;
        };
        G->OnExpandNode = [this](TObject*, int R, int RR) {
            Log.push_back("Expand " + std::to_string(R) + "," + std::to_string(RR));
        };
        G->OnClickCell = [this](TObject*, int R, int C) {
            Log.push_back("ClickCell " + std::to_string(R) + "," + std::to_string(C));
        };
    }
    void Click(int X, int Y) {
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    }
    // A point on the node glyph of a display row: level 1 glyphs lie between 4 and 16 pixels in.
    TPoint Glyph(int DisplRow) {
        const TRect R = G->CellRect(0, DisplRow);
        return {R.Left + (G->GetNodeLevel(DisplRow) - 1) * G->CellNode()->NodeIndent() + 10, (R.Top + R.Bottom) / 2};
    }
    std::vector<std::string> Log;
    bool AllowChange = true;
};

TEST_F(NodeInput, AClickOnTheGlyphCollapsesAndExpandsTheNode) {
    const TPoint P = Glyph(2);
    Click(P.X, P.Y);
    EXPECT_EQ(Shown(), "1+ 2- 4 5 6 8 9 10 11 12");
    EXPECT_EQ(Log, (std::vector<std::string>{"ClickCell 2,0", "BeforeContract 2,2", "Contract 2,2"}));
    Log.clear();
    Click(P.X, P.Y);
    EXPECT_EQ(Shown(), "1+ 2+ 3 4 5 6 8 9 10 11 12");
    EXPECT_EQ(Log, (std::vector<std::string>{"ClickCell 2,0", "BeforeExpand 2,2", "Expand 2,2"}));
}

TEST_F(NodeInput, ARefusedChangeLeavesTheNode) {
    AllowChange = false;
    const TPoint P = Glyph(1);
    Click(P.X, P.Y);
    EXPECT_EQ(Shown(), "1+ 2+ 3 4 5 6 8 9 10 11 12");
    EXPECT_EQ(Log, (std::vector<std::string>{"ClickCell 1,0", "BeforeContract 1,1"}));
}

TEST_F(NodeInput, AClickBesideThePreciseGlyphChangesNothing) {
    const TRect R = G->CellRect(0, 1);
    Click(R.Right - 2, (R.Top + R.Bottom) / 2);
    EXPECT_EQ(Shown(), "1+ 2+ 3 4 5 6 8 9 10 11 12");
    G->MouseActions()->SetPreciseNodeClick(false);
    Click(R.Right - 2, (R.Top + R.Bottom) / 2);
    EXPECT_EQ(Shown(), "1- 5 6 8 9 10 11 12");
}

TEST_F(NodeInput, GlyphHitTestFollowsTheLevel) {
    // cnXP, indent 12: level 1 answers for 4 < X < 16, level 2 for 16 < X < 28
    EXPECT_FALSE(G->IsInNodeGlyph(1, 4));
    EXPECT_TRUE(G->IsInNodeGlyph(1, 5));
    EXPECT_TRUE(G->IsInNodeGlyph(1, 15));
    EXPECT_FALSE(G->IsInNodeGlyph(1, 16));
    EXPECT_TRUE(G->IsInNodeGlyph(2, 20));
    EXPECT_FALSE(G->IsInNodeGlyph(2, 10));
}

TEST_F(NodeInput, TheExpandButtonSwitchesTheRowHeight) {
    G->SetOptions(G->Options() << goEditing); // a button works in a cell that may be edited
    G->SetRowHeights(6, 20);
    G->AddExpand(3, 6, 50); // real column 3 shows at display column 2
    std::vector<std::string> Clicks;
    G->OnExpandClick = [&](TObject*, int C, int R, bool Expanded) {
        Clicks.push_back(std::to_string(C) + "," + std::to_string(R) + "," + std::to_string(Expanded));
    };
    const TRect B = G->ExpandButtonRect(3, 6);
    ASSERT_GT(B.Width(), 0);
    Click((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
    EXPECT_EQ(G->RowHeights(6), 50);
    Click((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
    EXPECT_EQ(G->RowHeights(6), 20);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"3,6,1", "3,6,0"}));
    EXPECT_EQ(G->ExpandButtonRect(1, 6).Width(), 0) << "no button there";
}

TEST_F(NodeInput, RightAndLeftOnAMergedNodeRowOpenAndCloseIt) {
    G->MergeCells(1, 1, 2, 1);
    G->SetFocus();
    G->MoveColRow(1, 1, true, true);
    G->Perform(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(Shown(), "1- 5 6 8 9 10 11 12");
    G->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Shown(), "1+ 2+ 3 4 5 6 8 9 10 11 12");
}

} // namespace
