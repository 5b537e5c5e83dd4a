// The contents-tree reader: lines, levels, the ".ark" caption and topic split,
// the node images and the 8-bit text.

#include "arbol.h"
#include "errors.h"
#include "testsupport.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

namespace {

struct Added {
    int parent;
    AnsiString text;
};

std::vector<Added> readAll(const std::string &bytes) {
    std::vector<Added> added;
    arbol::readTreeLevels(bytes, [&](int parent, const AnsiString &text) {
        added.push_back({parent, text});
    });
    return added;
}

QString levelError(const std::string &bytes) {
    try {
        readAll(bytes);
    } catch (const EAppError &error) {
        return error.message();
    }
    return QString();
}

std::vector<int> parentsOf(const std::vector<Added> &added) {
    std::vector<int> parents;
    for (const Added &node : added)
        parents.push_back(node.parent);
    return parents;
}

QIcon solidIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

class TestArbol : public QObject {
    Q_OBJECT

private slots:
    void linesEndAtCrLfCrOrLfAndNulEndsTheText() {
        using Lines = std::vector<AnsiString>;
        QCOMPARE(arbol::splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
        QCOMPARE(arbol::splitLines("a\r\n"), (Lines{"a"}));
        QCOMPARE(arbol::splitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
        // LF CR is two line ends.
        QCOMPARE(arbol::splitLines("a\n\rb"), (Lines{"a", "", "b"}));
        QCOMPARE(arbol::splitLines(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
        QCOMPARE(arbol::splitLines(""), Lines{});
        QCOMPARE(arbol::splitLines("\n"), (Lines{""}));
    }

    void everyLeadingBlankOrTabIsOneLevel() {
        AnsiString text;
        QCOMPARE(arbol::lineLevel("Capítulo", &text), 0);
        QCOMPARE(arbol::lineLevel(" \t x y ", &text), 3);
        QCOMPARE(text, AnsiString("x y "));
        QCOMPARE(arbol::lineLevel("\t\t", &text), 2);
        QCOMPARE(text, AnsiString());
    }

    void siblingsChildrenAndAncestors() {
        const auto added = readAll("A\n B\n  C\n  D\n E\nF\n G\n  H\n   I\n J\nK");
        // A0 B1 C2 D3 E4 F5 G6 H7 I8 J9 K10
        QCOMPARE(parentsOf(added), (std::vector<int>{-1, 0, 1, 1, 0, -1, 5, 6, 7, 5, -1}));
        QCOMPARE(added[8].text, AnsiString("I"));
    }

    void firstLineIsTopLevelWhateverItsLevel() {
        const auto added = readAll("\t\tA\n B\nC");
        QCOMPARE(parentsOf(added), (std::vector<int>{-1, 0, -1}));
        // The first node sits at level 0, so its own indentation is now a jump.
        QCOMPARE(levelError("  A\n  B"), QStringLiteral("Invalid level (2) for item \"B\""));
    }

    void aJumpOfMoreThanOneLevelIsAnError() {
        QCOMPARE(levelError("A\n\t\tB|TOPIC"),
                 QStringLiteral("Invalid level (2) for item \"B|TOPIC\""));
        QCOMPARE(levelError("A\n B\n    C"), QStringLiteral("Invalid level (4) for item \"C\""));
        QCOMPARE(levelError("A\n B\n  C\nD"), QString());
    }

    void nodesBeforeALevelJumpStayInTheTree() {
        QTreeWidget tree;
        QVERIFY_THROWS_EXCEPTION(EAppError, arbol::loadTreeWidget(&tree, "A\n B\n   C\nD"));
        const auto nodes = arbol::nodesInIndexOrder(&tree);
        QCOMPARE(int(nodes.size()), 2);
        QCOMPARE(nodes[1]->parent(), nodes[0]);
    }

    void loadingReplacesTheOldNodes() {
        QTreeWidget tree;
        arbol::loadTreeWidget(&tree, "A\nB\n");
        arbol::loadTreeWidget(&tree, "C\n");
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("C"));
    }

    void captionAndTopicSplitAtTheFirstBar() {
        using arbol::splitArkText;
        QCOMPARE(splitArkText("Portada|PORTADA").caption, AnsiString("Portada"));
        QCOMPARE(splitArkText("Portada|PORTADA").topic, AnsiString("PORTADA"));
        QCOMPARE(splitArkText("Solo texto").caption, AnsiString("Solo texto"));
        QCOMPARE(splitArkText("Solo texto").topic, AnsiString());
        QCOMPARE(splitArkText("A|B|C").caption, AnsiString("A"));
        QCOMPARE(splitArkText("A|B|C").topic, AnsiString("B|C"));
        QCOMPARE(splitArkText("|T").caption, AnsiString());
        QCOMPARE(splitArkText("C|").topic, AnsiString());
        const AnsiString forty(40, 'x');
        QCOMPARE(splitArkText("C|" + forty).topic, AnsiString(30, 'x'));
    }

    void captionsAreWindows1252AndTopicsStay8Bit() {
        QTreeWidget tree;
        arbol::loadTreeWidget(&tree, "P\xE1gina Dorvik|\xC1REA\x80\r\nNi\xF1o 1\x80\r\n");
        arbol::applyArkCaptions(&tree);
        const auto nodes = arbol::nodesInIndexOrder(&tree);
        QCOMPARE(nodes[0]->text(0), QStringLiteral("Página Dorvik"));
        QCOMPARE(arbol::nodeTopic(nodes[0]), AnsiString("\xC1REA\x80"));
        QCOMPARE(nodes[1]->text(0), QStringLiteral("Niño 1€"));
        QCOMPARE(arbol::nodeTopic(nodes[1]), AnsiString());
        QCOMPARE(arbol::nodeTopic(nullptr), AnsiString());
    }

    void leavesGetImagesOneAndTwoInnerNodesZero() {
        QTreeWidget tree;
        arbol::loadTreeWidget(&tree, "A\n B\n C\nD");
        arbol::applyTreeImages(&tree,
                               {solidIcon(Qt::red), solidIcon(Qt::green), solidIcon(Qt::blue)});
        const auto nodes = arbol::nodesInIndexOrder(&tree);
        const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 2}, {1, 2}, {1, 2}};
        for (size_t i = 0; i < nodes.size(); ++i) {
            QCOMPARE(nodes[i]->data(0, arbol::kImageIndexRole).toInt(), expected[i].first);
            QCOMPARE(nodes[i]->data(0, arbol::kSelectedIndexRole).toInt(), expected[i].second);
        }
        const QImage normal = nodes[1]->icon(0).pixmap(16, QIcon::Normal).toImage();
        const QImage selected = nodes[1]->icon(0).pixmap(16, QIcon::Selected).toImage();
        QCOMPARE(QColor(normal.pixel(8, 8)), QColor(Qt::green));
        QCOMPARE(QColor(selected.pixel(8, 8)), QColor(Qt::blue));
        QCOMPARE(QColor(nodes[0]->icon(0).pixmap(16).toImage().pixel(8, 8)), QColor(Qt::red));
    }

    void aMissingFileCannotBeOpened() {
        testsupport::ScratchDir scratch;
        const AnsiString path = ansi::fromQt(scratch.path()) + "/nada.ark";
        try {
            arbol::readTreeFile(path);
            QFAIL("no error");
        } catch (const EAppError &error) {
            QCOMPARE(error.message(), QStringLiteral("Cannot open file ") + ansi::toQt(path));
        }
        scratch.write(QStringLiteral("Libro.ARK"), QByteArray("A\r\n B\r\n", 7));
        QCOMPARE(arbol::readTreeFile(ansi::fromQt(scratch.path()) + "/libro.ark"),
                 std::string("A\r\n B\r\n"));
    }
};

QTEST_MAIN(TestArbol)
#include "test_arbol.moc"
