#pragma once

// Topic HTML as the builder takes it apart: the optional leading
// <header>...</header> (the non-scrolling region) and the plain text that the
// full-text index is built from.

#include <QString>

namespace title {

struct TopicHtml {
    QString header; // inside <header>...</header>, empty when there is none
    QString body;   // everything after it
};

TopicHtml splitTopicHtml(const QString &html);

// The text a reader sees: tags dropped (block tags leave a blank so that
// words do not run together), comments, scripts and styles dropped, character
// references decoded.
QString plainText(const QString &html);

} // namespace title
