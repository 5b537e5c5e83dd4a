#pragma once

// Writes title files from readable sources. Used by the tests, the sample
// title and the benchmark; the programs never write titles.
//
// A source folder holds title.json, the topic files and a pictures folder:
//   {
//     "info":   ["CAP1.GRP=\"Capítulo 1\";", "_AUTOR=\"...\";"],
//     "topics": [ {"context": "PORTADA", "title": "Portada",
//                  "file": "topics/portada.htm", "groups": ["CAP1"],
//                  "browse": true} ]
//   }
// Topics are numbered 1, 2, ... in the order listed; those with "browse"
// (the default) form the browse sequence in that order. A topic file is
// UTF-8 HTML: an optional leading <header>...</header> is the non-scrolling
// region, the rest the scrolling body. Links <a href="cmd:TEXT"> are command
// hotspots, "popup:CONTEXT" pop-ups, "jump:CONTEXT" jumps; <img src="NAME">
// shows the picture NAME of the pictures folder.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace title {

struct SourceTopic {
    QString context;
    QString title;
    QString html; // the topic file's content
    QStringList groups;
    bool browse = true;
};

struct TitleSource {
    QStringList info;
    QVector<SourceTopic> topics;
    QMap<QString, QByteArray> pictures; // by name
};

// Writes `source` as a title file, replacing `outputFile`. False with a
// message in `error` when it cannot.
bool writeTitle(const TitleSource &source, const QString &outputFile, QString *error = nullptr);
// Reads a source folder as described above.
bool readTitleSource(const QString &folder, TitleSource *source, QString *error = nullptr);

} // namespace title
