#include "titleinfo.h"

#include "ansi.h"
#include "titlefile.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kInfoEntry = 13;
constexpr int32_t kTopicTitle = 102;
constexpr int32_t kPastLastEntry = -1;

// A found text's result: its length, at least 1 so that an empty text still
// counts as found.
int32_t foundResult(const AnsiString &text) {
    const size_t limit = size_t(std::numeric_limits<int32_t>::max());
    return int32_t(std::max<size_t>(1, std::min(text.size(), limit)));
}

int32_t infoEntry(const title::TitleFile *file, int32_t param, char *buffer, size_t bufferSize) {
    const uint32_t bits = uint32_t(param);
    const uint32_t index = bits >> 16;
    const size_t room = std::min<size_t>(bits & 0xFFFFu, bufferSize);
    ansi::copyToBuffer(AnsiString(), buffer, room);
    if (!file)
        return kPastLastEntry;
    const QStringList entries = file->infoEntries();
    if (index >= uint32_t(entries.size()))
        return kPastLastEntry;
    const AnsiString text = ansi::fromQt(entries.at(int(index)));
    ansi::copyToBuffer(text, buffer, room);
    return foundResult(text);
}

int32_t topicTitle(const title::TitleFile *file, int32_t topic, char *buffer, size_t bufferSize) {
    ansi::copyToBuffer(AnsiString(), buffer, bufferSize);
    if (!file)
        return 0;
    const QString title = file->topicTitle(topic);
    if (title.isEmpty() && !file->topic(topic))
        return 0;
    const AnsiString text = ansi::fromQt(title);
    ansi::copyToBuffer(text, buffer, bufferSize);
    return foundResult(text);
}

} // namespace

int32_t lMVTitleGetInfo(intptr_t hTitle, int32_t infoType, int32_t param, char *buffer,
                        size_t bufferSize) {
    const title::TitleFile *file = title::titleByHandle(hTitle);
    switch (infoType) {
    case kInfoEntry:
        if (param == 0 && !buffer)
            return file ? file->topicCount() : 0;
        return infoEntry(file, param, buffer, bufferSize);
    case kTopicTitle:
        return topicTitle(file, param, buffer, bufferSize);
    default:
        ansi::copyToBuffer(AnsiString(), buffer, bufferSize);
        return 0;
    }
}
