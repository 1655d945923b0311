#pragma once
// A grid for the export, import and clipboard tests: one fixed row and column, 5 body columns
// of which real column 3 is hidden, 5 body rows. Its body holds texts that break naive writers
// and readers: quotes, tabs, every kind of line break, markup characters, non-Latin text and
// empty cells.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Exposes the protected parts the tests drive directly.
class TTestGrid : public TExtStringGrid {
public:
    using TExtStringGrid::SetURLFull;
    using TExtStringGrid::SetURLShow;
    using TExtStringGrid::TextBlockSize;
    using TExtStringGrid::TExtStringGrid;
};

struct TOddText {
    const char* Name;
    QString Text;
};

inline void PrintTo(const TOddText& T, std::ostream* Os) { *Os << T.Name; }

inline const std::vector<TOddText>& OddTexts() {
    static const std::vector<TOddText> Texts = {
        {"plain", QStringLiteral("plain")},
        {"quotes", QStringLiteral("say \"hi\" \"")},
        {"leading_quote", QStringLiteral("\"quoted\" start")},
        {"tab", QStringLiteral("a\tb")},
        {"crlf", QStringLiteral("two\r\nlines")},
        {"cr_only", QStringLiteral("cr\ronly")},
        {"lf_only", QStringLiteral("lf\nonly")},
        {"trailing_break", QStringLiteral("ends\r\n")},
        {"markup", QStringLiteral("a<b>&c</b> &amp; &lt;")},
        {"legacy_amp", QStringLiteral("$amp; stays")},
        {"non_latin", QStringLiteral("Ünïcødé Ελληνικά 日本語 😀")},
        {"blanks", QStringLiteral("  ")},
        {"empty", QString()},
    };
    return Texts;
}

class OddTextGrid : public ::testing::Test {
protected:
    static constexpr int HiddenRealCol = 3;

    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        G = std::make_unique<TTestGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(6);
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, 0, QStringLiteral("H%1").arg(c));
        for (int r = 1; r < 6; ++r) G->SetGridCell(0, r, QStringLiteral("R%1").arg(r));
        const auto& T = OddTexts();
        int i = 0;
        for (int r = 1; r < 6; ++r)
            for (int c = 1; c < 6; ++c) G->SetGridCell(c, r, T[size_t(i++) % T.size()].Text);
        G->HideColumn(HiddenRealCol);
        ASSERT_EQ(G->ColCount(), 5);
    }

    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    // xmllint's verdict on a file: empty when it is well-formed, else its complaint.
    static QString XmlLint(const QString& File) {
        const QString Tool = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
        if (Tool.isEmpty()) return QStringLiteral("xmllint is not installed (scripts/setup installs libxml2-utils)");
        QProcess P;
        P.start(Tool, {QStringLiteral("--noout"), QStringLiteral("--nonet"), File});
        P.waitForFinished(30000);
        if (P.exitStatus() == QProcess::NormalExit && P.exitCode() == 0) return QString();
        return QString::fromUtf8(P.readAllStandardError()) + QStringLiteral(" (exit %1)").arg(P.exitCode());
    }

    QTemporaryDir Dir;
    std::unique_ptr<TTestGrid> G;
};
