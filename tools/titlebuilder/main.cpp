// titlebuilder <sourcefolder> <output.dvk>: builds a title file from a source
// folder (title.json, topic files, pictures/); see titlebuilder.h and
// docs/title-format.md.

#include "titlebuilder.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: titlebuilder <sourcefolder> <output.dvk>\n");
        return 2;
    }
    title::TitleSource source;
    QString error;
    if (!title::readTitleSource(args[1], &source, &error) ||
        !title::writeTitle(source, args[2], &error)) {
        std::fprintf(stderr, "titlebuilder: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("titlebuilder: wrote %s (%d topics, %d pictures)\n", qPrintable(args[2]),
                int(source.topics.size()), int(source.pictures.size()));
    return 0;
}
