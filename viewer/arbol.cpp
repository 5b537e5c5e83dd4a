#include "arbol.h"

#include "errors.h"
#include "paths.h"

#include <QIcon>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

namespace arbol {

std::vector<AnsiString> splitLines(const std::string &bytes) {
    const size_t end = std::min(bytes.find('\0'), bytes.size());
    std::vector<AnsiString> lines;
    size_t pos = 0;
    while (pos < end) {
        size_t stop = pos;
        while (stop < end && bytes[stop] != '\r' && bytes[stop] != '\n')
            ++stop;
        lines.push_back(bytes.substr(pos, stop - pos));
        pos = stop;
        if (pos < end && bytes[pos] == '\r')
            ++pos;
        if (pos < end && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

int lineLevel(const AnsiString &line, AnsiString *text) {
    size_t level = 0;
    while (level < line.size() && (line[level] == ' ' || line[level] == '\t'))
        ++level;
    if (text)
        *text = line.substr(level);
    return int(level);
}

void readTreeLevels(const std::string &bytes, const AddNode &addNode) {
    // Parent and depth of every node added so far; the depth is the node's
    // place in the tree, which for the first node need not be its line's level.
    std::vector<int> parents;
    std::vector<int> depths;
    for (const AnsiString &line : splitLines(bytes)) {
        AnsiString text;
        const int level = lineLevel(line, &text);
        int parent = -1;
        if (!parents.empty()) {
            const int last = int(parents.size()) - 1;
            if (level == depths[size_t(last)]) {
                parent = parents[size_t(last)];
            } else if (level == depths[size_t(last)] + 1) {
                parent = last;
            } else if (level < depths[size_t(last)]) {
                int ancestor = last;
                while (depths[size_t(ancestor)] > level)
                    ancestor = parents[size_t(ancestor)];
                parent = parents[size_t(ancestor)];
            } else {
                throw EAppError(formatMessage("Invalid level (%d) for item \"%s\"",
                                              {QString::number(level), ansi::toQt(text)}));
            }
        }
        addNode(parent, text);
        parents.push_back(parent);
        depths.push_back(parent < 0 ? 0 : depths[size_t(parent)] + 1);
    }
}

std::string readTreeFile(const AnsiString &path) {
    const QByteArray bytes = paths::readWholeFile(path);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

void loadTreeWidget(QTreeWidget *tree, const std::string &bytes) {
    tree->clear();
    std::vector<QTreeWidgetItem *> nodes;
    readTreeLevels(bytes, [&](int parent, const AnsiString &text) {
        auto *node =
            parent < 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(nodes[size_t(parent)]);
        node->setText(0, ansi::toQt(text));
        node->setData(0, kTextRole, QByteArray(text.data(), qsizetype(text.size())));
        nodes.push_back(node);
    });
}

std::vector<QTreeWidgetItem *> nodesInIndexOrder(const QTreeWidget *tree) {
    std::vector<QTreeWidgetItem *> nodes;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
        nodes.push_back(*it);
    return nodes;
}

ArkText splitArkText(const AnsiString &text) {
    const size_t bar = text.find('|');
    if (bar == AnsiString::npos)
        return {text, AnsiString()};
    return {text.substr(0, bar), text.substr(bar + 1, kTopicMax)};
}

void applyArkCaptions(QTreeWidget *tree) {
    for (QTreeWidgetItem *node : nodesInIndexOrder(tree)) {
        const QByteArray raw = node->data(0, kTextRole).toByteArray();
        const ArkText split = splitArkText(AnsiString(raw.constData(), size_t(raw.size())));
        node->setText(0, ansi::toQt(split.caption));
        node->setData(0, kTopicRole, QByteArray(split.topic.data(), qsizetype(split.topic.size())));
    }
}

namespace {

QIcon imageAt(const QList<QIcon> &images, int index) {
    return index < images.size() ? images[index] : QIcon();
}

// One icon that shows `normal` and, while its node is selected, `selected`.
QIcon leafIcon(const QIcon &normal, const QIcon &selected) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32}) {
        if (!normal.isNull())
            icon.addPixmap(normal.pixmap(size), QIcon::Normal);
        if (!selected.isNull())
            icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    }
    return icon;
}

} // namespace

void applyTreeImages(QTreeWidget *tree, const QList<QIcon> &images) {
    const QIcon inner = imageAt(images, 0);
    const QIcon leaf = leafIcon(imageAt(images, 1), imageAt(images, 2));
    for (QTreeWidgetItem *node : nodesInIndexOrder(tree)) {
        const bool isLeaf = node->childCount() == 0;
        node->setIcon(0, isLeaf ? leaf : inner);
        node->setData(0, kImageIndexRole, isLeaf ? 1 : 0);
        node->setData(0, kSelectedIndexRole, isLeaf ? 2 : 0);
    }
}

AnsiString nodeTopic(const QTreeWidgetItem *node) {
    if (!node)
        return AnsiString();
    const QByteArray topic = node->data(0, kTopicRole).toByteArray();
    return AnsiString(topic.constData(), size_t(topic.size()));
}

} // namespace arbol
