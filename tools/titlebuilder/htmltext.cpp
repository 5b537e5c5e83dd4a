#include "htmltext.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace title {

namespace {

// Names of the Latin-1 characters U+00A0..U+00FF, in order.
constexpr const char *kLatin1Names[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

const QHash<QString, char32_t> &entityTable() {
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> names{
            {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
            {"apos", '\''},     {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},
            {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},
            {"bdquo", 0x201E},  {"bull", 0x2022},   {"hellip", 0x2026}, {"euro", 0x20AC},
            {"trade", 0x2122},  {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
            {"scaron", 0x161},  {"Yuml", 0x178},    {"fnof", 0x192},    {"circ", 0x2C6},
            {"tilde", 0x2DC},   {"dagger", 0x2020}, {"Dagger", 0x2021}, {"permil", 0x2030},
            {"lsaquo", 0x2039}, {"rsaquo", 0x203A}};
        char32_t code = 0xA0;
        for (const char *name : kLatin1Names)
            names.insert(QString::fromLatin1(name), code++);
        return names;
    }();
    return table;
}

// Inline elements join the text around them; every other tag separates words.
bool isInlineTag(const QString &name) {
    static const QSet<QString> inlineTags{"a",      "abbr", "b",   "big", "cite",  "code", "em",
                                          "font",   "i",    "kbd", "s",   "small", "span", "strike",
                                          "strong", "sub",  "sup", "tt",  "u",     "var"};
    return inlineTags.contains(name);
}

bool validCodePoint(qint64 code) {
    return code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

// Decodes the character reference at html[pos] ('&'); returns how many
// characters it took, 0 when it is not one (the '&' then stands for itself).
int decodeReference(const QString &html, int pos, QString &out) {
    const int semicolon = html.indexOf(QLatin1Char(';'), pos + 1);
    if (semicolon < 0 || semicolon - pos > 12)
        return 0;
    const QString name = html.mid(pos + 1, semicolon - pos - 1);
    char32_t code = 0;
    if (name.startsWith(QLatin1Char('#'))) {
        const bool hex =
            name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'));
        bool ok = false;
        const qint64 value = name.mid(hex ? 2 : 1).toLongLong(&ok, hex ? 16 : 10);
        if (!ok || !validCodePoint(value))
            return 0;
        code = char32_t(value);
    } else {
        const auto found = entityTable().constFind(name);
        if (found == entityTable().constEnd())
            return 0;
        code = *found;
    }
    out += QString::fromUcs4(&code, 1);
    return semicolon - pos + 1;
}

// The end of the tag that starts at html[pos] ('<'): the index after its '>',
// quotes in attribute values respected; -1 when it never closes.
int tagEnd(const QString &html, int pos) {
    QChar quote;
    for (int i = pos + 1; i < html.size(); ++i) {
        const QChar ch = html[i];
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
        } else if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            quote = ch;
        } else if (ch == QLatin1Char('>')) {
            return i + 1;
        }
    }
    return -1;
}

QString tagName(const QString &html, int pos, int end) {
    int i = pos + 1;
    if (i < end && html[i] == QLatin1Char('/'))
        ++i;
    const int start = i;
    while (i < end && html[i].isLetterOrNumber())
        ++i;
    return html.mid(start, i - start).toLower();
}

} // namespace

TopicHtml splitTopicHtml(const QString &html) {
    static const QRegularExpression header(
        QStringLiteral(R"(^\s*<header(?:\s[^>]*)?>(.*?)</header\s*>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = header.match(html);
    if (!match.hasMatch())
        return {QString(), html};
    return {match.captured(1), html.mid(match.capturedEnd(0))};
}

QString plainText(const QString &html) {
    QString text;
    text.reserve(html.size());
    int pos = 0;
    while (pos < html.size()) {
        const QChar ch = html[pos];
        if (ch == QLatin1Char('<') && html.mid(pos, 4) == QLatin1String("<!--")) {
            const int close = html.indexOf(QLatin1String("-->"), pos + 4);
            pos = close < 0 ? int(html.size()) : close + 3;
        } else if (ch == QLatin1Char('<') && tagEnd(html, pos) > 0) {
            const int end = tagEnd(html, pos);
            const QString name = tagName(html, pos, end);
            const bool opening = html[pos + 1] != QLatin1Char('/');
            if (opening && (name == QLatin1String("script") || name == QLatin1String("style"))) {
                const int close =
                    html.indexOf(QStringLiteral("</") + name, end, Qt::CaseInsensitive);
                pos = close < 0 ? int(html.size()) : qMax(tagEnd(html, close), close + 1);
                text += QLatin1Char(' ');
                continue;
            }
            if (!isInlineTag(name))
                text += QLatin1Char(' ');
            pos = end;
        } else if (ch == QLatin1Char('&')) {
            const int taken = decodeReference(html, pos, text);
            if (taken == 0)
                text += ch;
            pos += qMax(taken, 1);
        } else {
            text += ch;
            ++pos;
        }
    }
    return text;
}

} // namespace title
