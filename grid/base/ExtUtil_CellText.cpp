#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

// ---- cell-text files and wide cell text --------------------------------------------------------
QString EncodeCellLineBreaks(const QString& Text) {
    if (!Text.contains(CR)) return Text;
    QString R(Text);
    for (QChar& C : R) {
        if (C == CR)
            C = QChar(9);
        else if (C == LF)
            C = QChar(8);
        else if (C == QChar(0))
            C = QChar(1);
    }
    return R;
}

QString DecodeCellLineBreaks(const QString& Text, bool Whole) {
    QString R(Text);
    if (R.contains(QChar(8))) {
        for (QChar& C : R) {
            if (C == QChar(9))
                C = CR;
            else if (C == QChar(8))
                C = LF;
            else if (C == QChar(1))
                C = QChar(0);
        }
    }
    if (Whole) return R;
    QString Line;
    ExtractFirstLine(R, false, Line);
    return Line;
}

QString EncodeWideCellText(const QString& Wide) {
    QString R;
    R.reserve(2 + 2 * Wide.size());
    R += QStringLiteral("|\\");
    for (QChar C : Wide) {
        R += QChar(char16_t(C.unicode() >> 8));
        R += QChar(char16_t(C.unicode() & 0xFF));
    }
    return R;
}

QString DecodeWideCellText(const QString& Text) {
    if (!Text.startsWith(QStringLiteral("|\\"))) return Text;
    QString R;
    const int N = (Text.size() - 2) / 2;
    R.reserve(N);
    for (int I = 0; I < N; ++I) {
        const char16_t Hi = Text.at(2 + 2 * I).unicode() & 0xFF;
        const char16_t Lo = Text.at(3 + 2 * I).unicode() & 0xFF;
        R += QChar(char16_t((Hi << 8) | Lo));
    }
    return R;
}

int ClassifyCellText(const QString& Text, bool AllowHTML) {
    const QString S = Text + QChar(' ');
    if (S.size() < 2) return 0;
    if (S.at(0) == QChar('=')) return 3;
    if (S.startsWith(QStringLiteral("|\\"))) {
        if (S.size() >= 5 && S.at(3) == QChar('=') && S.at(4) == QChar(0)) return 3;
        return 5;
    }
    if (S.startsWith(QStringLiteral("{\\"))) return 2;
    if (!AllowHTML) return 0;
    if (S.contains(QStringLiteral("</")) || S.contains(QStringLiteral("<B")) || S.contains(QStringLiteral("<I")) ||
        S.contains(QStringLiteral("<C")))
        return 1;
    return 0;
}
