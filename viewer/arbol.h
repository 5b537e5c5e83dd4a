#pragma once

// Contents-tree files: one node per line, its level given by the blanks and
// TABs that start the line. The ".ark" form splits each text into a caption
// and a topic at its first "|"; the ".arb" form keeps the text as caption.

#include "ansi.h"

#include <QList>
#include <functional>
#include <string>
#include <vector>

class QIcon;
class QTreeWidget;
class QTreeWidgetItem;

namespace arbol {

// Item data roles of the tree nodes this module fills.
constexpr int kTextRole = 0x0100;          // Qt::UserRole: the line's 8-bit text (QByteArray)
constexpr int kTopicRole = 0x0101;         // the ".ark" topic block (QByteArray)
constexpr int kImageIndexRole = 0x0102;    // index into the tree's image list
constexpr int kSelectedIndexRole = 0x0103; // image index while selected

constexpr size_t kTopicMax = 30;

// ".ark": caption and topic split at the first "|"; ".arb": plain captions.
enum class TreeFormat { Ark, Arb };

// The text's lines: they end at CR LF, CR or LF, and a NUL ends the text. A
// final line end opens no further line.
std::vector<AnsiString> splitLines(const std::string &bytes);

// The level of a line (one per leading blank or TAB) and its text after them.
int lineLevel(const AnsiString &line, AnsiString *text);

// Reads the lines as a tree. For each line in order calls addNode with the
// index of its parent among the nodes added before (-1 for a top-level node)
// and its text. A line more than one level deeper than the node before it
// raises EAppError "Invalid level (%d) for item "%s""; the nodes added before
// it stay.
using AddNode = std::function<void(int parent, const AnsiString &text)>;
void readTreeLevels(const std::string &bytes, const AddNode &addNode);

// The whole file, raising "Cannot open file %s" when it cannot be read.
std::string readTreeFile(const AnsiString &path);

// Clears `tree` and fills it from the file's bytes: each node's caption is its
// whole text, kept also as 8-bit text under kTextRole.
void loadTreeWidget(QTreeWidget *tree, const std::string &bytes);

// The nodes of the tree in index order (top to bottom, children after their
// parent).
std::vector<QTreeWidgetItem *> nodesInIndexOrder(const QTreeWidget *tree);

struct ArkText {
    AnsiString caption;
    AnsiString topic;
};
// Splits at the first "|": the caption before it, the topic after it cut to
// 30 characters. Without "|" the topic is empty.
ArkText splitArkText(const AnsiString &text);

// Gives every node its ".ark" caption and topic block.
void applyArkCaptions(QTreeWidget *tree);

// Leaves get image 1 and selected image 2, inner nodes image 0 in both states.
void applyTreeImages(QTreeWidget *tree, const QList<QIcon> &images);

// The node's 8-bit topic block (empty when it has none).
AnsiString nodeTopic(const QTreeWidgetItem *node);

} // namespace arbol
