#include "mvutil.h"

#include "atomicfile.h"
#include "cmdline.h"
#include "errors.h"
#include "medview.h"
#include "paths.h"
#include "windowsdir.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <cerrno>
#include <cstring>

AnsiString TitleName;
AnsiString BaseDir;
AnsiString WindowsDir;
bool CloseAfterLaunch = false;

OneBasedTable<THistoriaRec> History(50, TableGrowth::Fixed);
int32_t HistoryCount = 0;
int32_t HistoryPos = 0;
bool HistorySkip = false;

OneBasedTable<TGrupoRec> Groups(20, TableGrowth::Fixed);

OneBasedTable<int32_t> PrintList(10000, TableGrowth::Fixed);
int32_t PrintCount = 0;

OneBasedTable<TMarcaRec> Bookmarks(100, TableGrowth::ForFileRecords);
int32_t BookmarkCount = 0;

OneBasedTable<TAnotacionRec> Annotations(50, TableGrowth::ForFileRecords);
int32_t AnnotationCount = 0;

std::array<uint8_t, kBookmarkRecordSize> BookmarkBuffer{};
std::array<uint8_t, kAnnotationRecordSize> AnnotationBuffer{};

namespace {

constexpr int kHistoryCapacity = 50;
constexpr int kGroupSlots = 20;
constexpr size_t kInfoBufferSize = 256;

void putInt32(uint8_t *at, int32_t value) {
    const uint32_t bits = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(bits >> (8 * i));
}

int32_t getInt32(const uint8_t *at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= uint32_t(at[i]) << (8 * i);
    return int32_t(bits);
}

// A length byte followed by the characters; bytes past the length stay.
void putShortString(uint8_t *at, const AnsiString &text, size_t capacity) {
    const size_t length = std::min(text.size(), capacity);
    at[0] = uint8_t(length);
    std::memcpy(at + 1, text.data(), length);
}

AnsiString getShortString(const uint8_t *at, size_t capacity) {
    const size_t length = std::min(size_t(at[0]), capacity);
    return AnsiString(reinterpret_cast<const char *>(at + 1), length);
}

void bufferBookmark(const TMarcaRec &mark) {
    putShortString(BookmarkBuffer.data(), mark.Name, kBookmarkNameMax);
    putInt32(BookmarkBuffer.data() + 44, mark.Topic);
}

TMarcaRec bookmarkFromBuffer() {
    TMarcaRec mark;
    mark.Name = getShortString(BookmarkBuffer.data(), kBookmarkNameMax);
    mark.Topic = getInt32(BookmarkBuffer.data() + 44);
    return mark;
}

void bufferAnnotation(const TAnotacionRec &note) {
    putShortString(AnnotationBuffer.data() + 260, note.Note, kAnnotationTextMax);
    putInt32(AnnotationBuffer.data(), note.Topic);
    putShortString(AnnotationBuffer.data() + 4, note.Title, kAnnotationTextMax);
}

TAnotacionRec annotationFromBuffer() {
    TAnotacionRec note;
    note.Topic = getInt32(AnnotationBuffer.data());
    note.Title = getShortString(AnnotationBuffer.data() + 4, kAnnotationTextMax);
    note.Note = getShortString(AnnotationBuffer.data() + 260, kAnnotationTextMax);
    return note;
}

// Stored files whose load stopped before their end, with why: they hold
// records this run never read, so no save of this run may replace them.
QMap<QString, QString> &partlyLoadedFiles() {
    static QMap<QString, QString> files;
    return files;
}

QString storedFileKey(const AnsiString &fileName) {
    return QFileInfo(paths::resolvePath(fileName)).absoluteFilePath();
}

// Reads every whole record of the file through `buffer`, handing each to
// `append`. A read-only file is read whole all the same; "File access denied"
// then tells that changes to it will not be kept.
template <size_t Size, typename Append>
bool readRecords(const AnsiString &fileName, std::array<uint8_t, Size> &buffer, Append append) {
    if (!QFile::exists(paths::resolvePath(fileName)))
        return false;
    bool writable = true;
    QFile file;
    try {
        writable = OpenStoredFile(file, fileName);
    } catch (const EAppError &error) {
        // Gone since it was looked for: there is nothing of it to keep.
        if (!QFile::exists(paths::resolvePath(fileName)))
            return false;
        partlyLoadedFiles().insert(storedFileKey(fileName), error.message());
        throw;
    }
    const qint64 records = file.size() / qint64(Size);
    for (qint64 i = 0; i < records; ++i) {
        if (file.read(reinterpret_cast<char *>(buffer.data()), qint64(Size)) != qint64(Size)) {
            const EAppError failed = EInOutError(EIO);
            partlyLoadedFiles().insert(storedFileKey(fileName), failed.message());
            throw failed;
        }
        append();
    }
    if (!writable)
        throw EInOutError(EACCES);
    return true;
}

// Replaces the file with records 1..count, each put in `buffer` by `fill`.
template <size_t Size, typename Fill>
void writeRecords(const AnsiString &fileName, int32_t count, std::array<uint8_t, Size> &buffer,
                  Fill fill) {
    if (partlyLoadedFiles().contains(storedFileKey(fileName)))
        return;
    std::string bytes;
    bytes.reserve(size_t(std::max(count, 0)) * Size);
    for (int i = 1; i <= count; ++i) {
        fill(i);
        bytes.append(reinterpret_cast<const char *>(buffer.data()), Size);
    }
    WriteFileAtomically(fileName, bytes);
}

} // namespace

void InitializeNavigationState() {
    CloseAfterLaunch = false;
    ResetNavigationState();
    TitleName = ParamCount() == 0 ? AnsiString("general") : ParamStr(1);
    BaseDir = paths::currentDirWithSeparator();
}

void ResetNavigationState() {
    ResetHistoryAndPrintList();
    BookmarkCount = 0;
    AnnotationCount = 0;
    partlyLoadedFiles().clear();
}

void ResetHistoryAndPrintList() {
    HistorySkip = false;
    HistoryCount = 0;
    HistoryPos = 0;
    PrintCount = 0;
}

void RecordHistoryTopic(TMedview &control) {
    if (HistorySkip) {
        HistorySkip = false;
        return;
    }
    ++HistoryCount;
    if (HistoryCount > kHistoryCapacity) {
        HistoryCount = kHistoryCapacity;
        for (int k = 2; k <= kHistoryCapacity; ++k)
            History[k - 1] = History[k];
    }
    THistoriaRec &entry = History[HistoryCount];
    entry.Topic = ansi::fromQt(control.MediaViewTopic());
    entry.VA = control.TopicVA();
    entry.Spare.clear();
    entry.Scroll = control.TopicScroll();
    HistoryPos = HistoryCount;
}

void HistoryBack(TMedview &control) {
    if (HistoryPos <= 1)
        return;
    HistorySkip = true;
    control.GoToTopicPosition(History[HistoryPos - 1].VA, History[HistoryPos - 1].Scroll);
    --HistoryPos;
}

void LoadTitleGroups(TMedview &control) {
    const intptr_t title = control.HTITLE();
    LoadTitleGroupsFrom([title](int32_t k, char *buffer, size_t size) {
        return lMVTitleGetInfo(title, 13, k * 65536 + 255, buffer, size);
    });
}

void LoadTitleGroupsFrom(const TitleInfoFetch &fetchEntry) {
    char buffer[kInfoBufferSize];
    auto fetch = [&](int32_t k) {
        std::memset(buffer, 0, sizeof buffer);
        return fetchEntry(k, buffer, sizeof buffer);
    };

    int slot = 1;
    for (int32_t k = 0;; ++k) {
        // Entries are read until the first one past the last.
        const int32_t result = fetch(k);
        if (result == -1)
            break;
        if (result <= 0)
            continue;
        const AnsiString s(buffer, strnlen(buffer, sizeof buffer));
        const size_t found = s.find(".GRP");
        const long p = found == AnsiString::npos ? 0 : long(found) + 1;
        const long n = long(s.size()) - p - 7;
        // Nineteen groups fill the table; the twentieth slot is the terminator.
        if (!s.empty() && s[0] != '_' && n >= 2 && slot < kGroupSlots) {
            Groups[slot].Name = p > 1 ? s.substr(0, size_t(p - 1)) : AnsiString();
            Groups[slot].Value = s.substr(size_t(p + 5), size_t(n));
            ++slot;
        }
        Groups[slot].Name.clear();
        Groups[slot].Value.clear();
    }
}

int32_t TitleInfoCount(TMedview &control) {
    return lMVTitleGetInfo(control.HTITLE(), 13, 0, nullptr, 0);
}

AnsiString TitleInfoString(TMedview &control, int32_t topic) {
    char buffer[kInfoBufferSize] = {};
    if (lMVTitleGetInfo(control.HTITLE(), 102, topic, buffer, sizeof buffer) == 0)
        return AnsiString();
    return AnsiString(buffer, strnlen(buffer, sizeof buffer));
}

namespace {
// The viewer sets WindowsDir early in its creation; when that creation failed
// before it, the files still belong in the same folder, not in "/".
AnsiString bookmarkFolder() {
    return WindowsDir.empty() ? GetWindowsDirectoryA() : WindowsDir;
}
} // namespace

AnsiString BookmarkFileName() {
    return bookmarkFolder() + "/" + TitleName + ".oer";
}
AnsiString AnnotationFileName() {
    return bookmarkFolder() + "/" + TitleName + ".cdb";
}

bool ReadBookmarkFile(const AnsiString &fileName) {
    return readRecords(fileName, BookmarkBuffer, [] {
        ++BookmarkCount;
        Bookmarks[BookmarkCount] = bookmarkFromBuffer();
    });
}

bool ReadAnnotationFile(const AnsiString &fileName) {
    return readRecords(fileName, AnnotationBuffer, [] {
        ++AnnotationCount;
        Annotations[AnnotationCount] = annotationFromBuffer();
    });
}

void WriteBookmarkFile(const AnsiString &fileName) {
    writeRecords(fileName, BookmarkCount, BookmarkBuffer,
                 [](int i) { bufferBookmark(Bookmarks[i]); });
}

void WriteAnnotationFile(const AnsiString &fileName) {
    writeRecords(fileName, AnnotationCount, AnnotationBuffer,
                 [](int i) { bufferAnnotation(Annotations[i]); });
}

QString KeptStoredFilesMessage() {
    QStringList lines;
    for (auto file = partlyLoadedFiles().cbegin(); file != partlyLoadedFiles().cend(); ++file)
        lines << QStringLiteral("No se guardaron los cambios de esta sesión en %1: el archivo no "
                                "se pudo leer entero al empezar (%2).")
                     .arg(file.key(), file.value());
    return lines.join(QLatin1Char('\n'));
}
