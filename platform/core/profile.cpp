#include "profile.h"

#include "paths.h"

#include <QFile>

namespace {

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

AnsiString trimmed(const AnsiString &text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool equalsIgnoringCase(const AnsiString &a, const AnsiString &b) {
    return ansi::upperAscii(a) == ansi::upperAscii(b);
}

AnsiString unquoted(const AnsiString &value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

AnsiString GetPrivateProfileStringA(const AnsiString &section, const AnsiString &key,
                                    const AnsiString &defaultValue, size_t size,
                                    const AnsiString &fileName) {
    auto fitted = [size](AnsiString value) {
        if (size == 0)
            return AnsiString();
        if (value.size() > size - 1)
            value.resize(size - 1);
        return value;
    };

    QFile file(paths::resolvePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return fitted(defaultValue);
    const QByteArray content = file.readAll();

    bool inSection = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        AnsiString line = trimmed(AnsiString(rawLine.constData(), size_t(rawLine.size())));
        if (!line.empty() && line.back() == '\r')
            line = trimmed(line.substr(0, line.size() - 1));
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const AnsiString name =
                trimmed(line.substr(1, close == AnsiString::npos ? AnsiString::npos : close - 1));
            inSection = equalsIgnoringCase(name, section);
            continue;
        }
        if (!inSection)
            continue;
        const size_t equals = line.find('=');
        if (equals == AnsiString::npos)
            continue;
        if (equalsIgnoringCase(trimmed(line.substr(0, equals)), key))
            return fitted(unquoted(trimmed(line.substr(equals + 1))));
    }
    return fitted(defaultValue);
}
