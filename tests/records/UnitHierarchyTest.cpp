#include "records/UnitHierarchy.h"

#include "platform/Gbk.h"

#include "TestSupport.h"


namespace {

// A tree as text: top-level items in order, children in brackets: "R(A(A1),B)".
QString shape(const std::vector<UnitItem>& items, int parent = -1) {
    QStringList parts;
    for (int k = 0; k < static_cast<int>(items.size()); ++k) {
        if (items[static_cast<size_t>(k)].parent != parent)
            continue;
        QString children = shape(items, k);
        parts << items[static_cast<size_t>(k)].name +
                     (children.isEmpty() ? QString() : QLatin1Char('(') + children + QLatin1Char(')'));
    }
    return parts.join(QLatin1Char(','));
}

QString archive(const QString& text) {
    return shape(ParseUnitHierarchy(ToGbk(text)).items);
}
QString preview(const QString& text) {
    return shape(BuildUnitPreview(text, QString()).items);
}

} // namespace

// The examples of the hierarchy file, on the archive tree and on the editor's preview.
TEST(UnitHierarchy, TheLevelRuleOnTheTreeAndThePreview) {
    struct Case {
        const char* what;
        QString lines;
        QString tree, shown;
    };
    const Case cases[] = {
        {"one space per level", "R\r\n A\r\n  A1\r\n B", "R(A(A1),B)", "R(A(A1),B)"},
        {"two spaces, then two again", "R\r\n  A\r\n  B", "R(A(B))", "R(A(B))"},
        {"an unindented line", "R\r\nA\r\n B", "R(B)", "R(A(B))"},
        {"a line that climbs above the root", "R\r\n A\r\nD", "R(A)", "R(A),D"},
        {"a full-width space is two bytes", "R\r\n A\r\n\u3000B", "R(A(B))", "R(A(B))"},
        {"a tab is no indentation", "R\r\n\tA\r\n B", "R(B)", "R(\tA(B))"},
        {"a comma: one unit, two lines", "R\r\n A,B", "R(A,B)", "R(A),B"},
        {"trailing spaces", "R\r\n A  ", "R(A)", "R(A  )"},
        {"blank lines", "R\r\n\r\n   \r\n A", "R(A)", "R(A)"},
        {"an empty first line", "\r\nA\r\n B", "全部(B)", "A(B)"},
        {"empty", "", "全部", ""},
        {"blanks only", "   ", "全部", "   "},
        {"a lone CR stays in the line", "R\r\n A\rB", "R(A\rB)", "R(A\rB)"},
        {"LF alone breaks the line", "R\n A\n B", "R(A,B)", "R(A,B)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(archive(c.lines), c.tree) << c.what;
        QString typed = c.lines;
        typed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(preview(typed), c.shown) << c.what;
    }
}

TEST(UnitHierarchy, PathsJoinTheNamesBelowTheRoot) {
    UnitTree tree = ParseUnitHierarchy(ToGbk(QStringLiteral("村\r\n 一组\r\n  甲院\r\n 一组甲\r\n  院")));
    ASSERT_EQ(tree.items.size(), 5u);
    EXPECT_EQ(UnitPathOf(tree.items, 0), QString());
    EXPECT_EQ(UnitPathOf(tree.items, 1), QStringLiteral("一组"));
    EXPECT_EQ(UnitPathOf(tree.items, 2), QStringLiteral("一组甲院"));
    EXPECT_EQ(UnitPathOf(tree.items, 4), QStringLiteral("一组甲院")) << "two units, one path";
}

TEST(UnitHierarchy, BadFilesGiveATree) {
    EXPECT_EQ(shape(ParseUnitHierarchy(QByteArray("\xFF\xFE\x80 \r\n \xC8", 8)).items).size() > 0, true);
    EXPECT_EQ(shape(ParseUnitHierarchy(QByteArray("\xEF\xBB\xBFR\r\n A")).items), QStringLiteral("R(A)"))
        << "a UTF-8 mark";
    QString deep = QStringLiteral("R");
    for (int k = 1; k <= 500; ++k)
        deep += QStringLiteral("\r\n") + QString(k, QLatin1Char(' ')) + QStringLiteral("U");
    UnitTree tree = ParseUnitHierarchy(ToGbk(deep));
    EXPECT_EQ(tree.items.size(), 501u);
    EXPECT_EQ(tree.items.back().parent, 499);
    QByteArray big;
    for (int k = 0; big.size() < (1 << 20); ++k)
        big += ToGbk(QStringLiteral("\r\n  单位%1").arg(k));
    EXPECT_GT(ParseUnitHierarchy(QByteArray("R") + big).items.size(), 50000u);
}

// The item of the line being typed is selected; a line that was there before is not.
TEST(UnitHierarchy, ThePreviewSelectsTheNewLine) {
    EXPECT_EQ(BuildUnitPreview(QStringLiteral("R\n A\n B"), QStringLiteral("R\n A")).selected, 2);
    EXPECT_EQ(BuildUnitPreview(QStringLiteral("R\n A"), QStringLiteral("R\n AB")).selected, 0)
        << "a line that is part of the previous text: the root stays selected";
    EXPECT_EQ(BuildUnitPreview(QString(), QString()).selected, -1);
    struct Case {
        const char* text;
        const char* previous;
        int selected;
    };
    for (const Case& c : {
             Case{"R\n A\n B\n C", "R\n A\n C", 2},       // a line inserted in the middle
             Case{"R\n Ab\n C", "R\n A\n C", 1},           // typing in the middle
             Case{"R\n C\n A", "R\n A\n C", 0},            // lines swapped: none new
             Case{"R\n A,B", "R\n AB", 0},                 // parts of one previous line
             Case{"R\r\n A\r\n B", "R\r\n A", 2},          // CR LF
             Case{"R\n X\n Y", "R", 2},                    // the last new line
             Case{"R\n X\n A\n X", "R\n A", 3},            // a new line twice: the later
             Case{"R\n A\n\n", "R\n A", 0},               // only an empty line added
         })
        EXPECT_EQ(BuildUnitPreview(QString::fromUtf8(c.text), QString::fromUtf8(c.previous)).selected, c.selected)
            << c.text;
}
