#include "titlebuilder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QUrl>

namespace title {

namespace {

const QString kManifest = QStringLiteral("title.json");
const QString kPictureFolder = QStringLiteral("pictures");

// Collects the first problem met while reading a source folder.
class Reader {
public:
    // Absolute, so that paths found below it read back relative to it.
    explicit Reader(const QString &folder) : dir_(QDir(folder).absolutePath()) {}

    bool read(TitleSource *source) {
        if (!dir_.exists())
            return failed(QStringLiteral("no source folder \"%1\"").arg(dir_.path()));
        QJsonObject root;
        return readManifest(&root) && readInfo(root, source) && readTopics(root, source) &&
               readPictures(source) && checkReferences(*source);
    }

    QString error() const { return error_; }

private:
    bool failed(const QString &message) {
        error_ = message;
        return false;
    }

    bool readBytes(const QString &relative, QByteArray *bytes) {
        QFile file(dir_.filePath(relative));
        if (!file.open(QIODevice::ReadOnly))
            return failed(
                QStringLiteral("cannot read \"%1\": %2").arg(relative, file.errorString()));
        *bytes = file.readAll();
        return true;
    }

    bool readUtf8(const QString &relative, QString *text) {
        QByteArray bytes;
        if (!readBytes(relative, &bytes))
            return false;
        QStringDecoder decoder(QStringDecoder::Utf8);
        *text = decoder(bytes);
        if (decoder.hasError())
            return failed(QStringLiteral("\"%1\" is not UTF-8 text").arg(relative));
        if (text->startsWith(QChar(0xFEFF)))
            text->remove(0, 1);
        return true;
    }

    bool readManifest(QJsonObject *root) {
        QByteArray bytes;
        if (!readBytes(kManifest, &bytes))
            return false;
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
        if (parseError.error != QJsonParseError::NoError)
            return failed(QStringLiteral("%1: %2 at byte %3")
                              .arg(kManifest, parseError.errorString())
                              .arg(parseError.offset));
        if (!document.isObject())
            return failed(kManifest + QStringLiteral(": the manifest must be a JSON object"));
        *root = document.object();
        return knownKeys(*root, {"info", "topics"}, kManifest);
    }

    bool knownKeys(const QJsonObject &object, const QSet<QString> &known, const QString &where) {
        for (const QString &key : object.keys()) {
            if (!known.contains(key))
                return failed(QStringLiteral("%1: unknown key \"%2\"").arg(where, key));
        }
        return true;
    }

    bool stringList(const QJsonValue &value, const QString &where, QStringList *list) {
        if (value.isUndefined())
            return true;
        if (!value.isArray())
            return failed(where + QStringLiteral(" must be a list of strings"));
        for (const QJsonValue &item : value.toArray()) {
            if (!item.isString())
                return failed(where + QStringLiteral(" must be a list of strings"));
            list->append(item.toString());
        }
        return true;
    }

    bool readInfo(const QJsonObject &root, TitleSource *source) {
        return stringList(root.value(QStringLiteral("info")),
                          kManifest + QStringLiteral(": \"info\""), &source->info);
    }

    bool readTopics(const QJsonObject &root, TitleSource *source) {
        const QJsonValue topics = root.value(QStringLiteral("topics"));
        if (!topics.isArray() || topics.toArray().isEmpty())
            return failed(kManifest + QStringLiteral(": \"topics\" must be a non-empty list"));
        const QJsonArray list = topics.toArray();
        for (int i = 0; i < list.size(); ++i) {
            SourceTopic topic;
            if (!readTopic(list.at(i), i + 1, &topic))
                return false;
            source->topics.append(topic);
        }
        return true;
    }

    bool readTopic(const QJsonValue &value, int number, SourceTopic *topic) {
        const QString where = QStringLiteral("%1: topic %2").arg(kManifest).arg(number);
        if (!value.isObject())
            return failed(where + QStringLiteral(" must be an object"));
        const QJsonObject object = value.toObject();
        if (!knownKeys(object, {"context", "title", "file", "groups", "browse"}, where))
            return false;
        const QJsonValue context = object.value(QStringLiteral("context"));
        const QJsonValue title = object.value(QStringLiteral("title"));
        const QJsonValue file = object.value(QStringLiteral("file"));
        const QJsonValue browse = object.value(QStringLiteral("browse"));
        if (!context.isString() || context.toString().isEmpty())
            return failed(where + QStringLiteral(": \"context\" must be a non-empty string"));
        if (!title.isString())
            return failed(where + QStringLiteral(": \"title\" must be a string"));
        if (!file.isString() || !insideFolder(file.toString()))
            return failed(where +
                          QStringLiteral(": \"file\" must name a file inside the source folder"));
        if (!browse.isUndefined() && !browse.isBool())
            return failed(where + QStringLiteral(": \"browse\" must be true or false"));
        topic->context = context.toString();
        topic->title = title.toString();
        topic->browse = browse.toBool(true);
        return stringList(object.value(QStringLiteral("groups")),
                          where + QStringLiteral(": \"groups\""), &topic->groups) &&
               readUtf8(file.toString(), &topic->html);
    }

    static bool insideFolder(const QString &relative) {
        const QString clean = QDir::cleanPath(relative);
        return !relative.isEmpty() && QDir::isRelativePath(clean) && clean != QLatin1String("..") &&
               !clean.startsWith(QLatin1String("../"));
    }

    bool readPictures(TitleSource *source) {
        const QDir pictures(dir_.filePath(kPictureFolder));
        if (!pictures.exists())
            return true;
        QDirIterator it(pictures.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = pictures.relativeFilePath(path);
            QByteArray bytes;
            if (!readBytes(dir_.relativeFilePath(path), &bytes))
                return false;
            source->pictures.insert(name, bytes);
        }
        return true;
    }

    // Every pop-up and jump names a topic and every picture is there, so that
    // a broken link shows up when the title is built, not when it is read.
    bool checkReferences(const TitleSource &source) {
        static const QRegularExpression link(
            QStringLiteral(R"re(href\s*=\s*(["'])(popup|jump):(.*?)\1)re"),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression image(
            QStringLiteral(R"re(<img\b[^>]*?\bsrc\s*=\s*(["'])(.*?)\1)re"),
            QRegularExpression::CaseInsensitiveOption);
        QSet<QString> contexts, pictures;
        for (const SourceTopic &topic : source.topics)
            contexts.insert(topic.context.toLower());
        for (auto it = source.pictures.constBegin(); it != source.pictures.constEnd(); ++it)
            pictures.insert(it.key().toLower());

        for (int i = 0; i < source.topics.size(); ++i) {
            const SourceTopic &topic = source.topics[i];
            const QString where = QStringLiteral("topic %1 (%2)").arg(i + 1).arg(topic.context);
            for (const QRegularExpressionMatch &m : link.globalMatch(topic.html)) {
                const QString target = QUrl::fromPercentEncoding(m.captured(3).toUtf8());
                if (!contexts.contains(target.toLower()))
                    return failed(QStringLiteral("%1: %2 link to unknown topic \"%3\"")
                                      .arg(where, m.captured(2).toLower(), target));
            }
            for (const QRegularExpressionMatch &m : image.globalMatch(topic.html)) {
                if (!pictures.contains(m.captured(2).toLower()))
                    return failed(QStringLiteral("%1: picture \"%2\" is not in the %3 folder")
                                      .arg(where, m.captured(2), kPictureFolder));
            }
        }
        return true;
    }

    QDir dir_;
    QString error_;
};

} // namespace

bool readTitleSource(const QString &folder, TitleSource *source, QString *error) {
    TitleSource read;
    Reader reader(folder);
    if (!reader.read(&read)) {
        if (error)
            *error = reader.error();
        return false;
    }
    if (source)
        *source = read;
    return true;
}

} // namespace title
