#include "titlevocabulary.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

// FTS5 keeps its index in topic_search_data as leaf pages of segments, laid
// out as SQLite's ext/fts5/fts5_index.c describes (a stable file format).
// A leaf page starts with two big-endian 16-bit numbers: the offset of the
// first row id that comes before the page's first word (0 for none), and the
// offset of the page index, which holds the offset of each word on the page
// (the first absolute, then differences). The first word on a page is whole
// (length, bytes); each next one shares a prefix with the one before (shared
// length, new length, new bytes). After each word comes its list: a row id,
// then for each row the size of its positions (times two, plus one for a
// deleted row; a size of 0 marks a deletion too) and the positions; later
// row ids are differences, except the first one on each page, which is
// whole. A list may run on over the next pages, which begin with the 4-byte
// header and carry no word until it ends.

namespace title {

namespace {

// FTS5 keeps the words of its main index behind this byte; the bytes of
// prefix indexes differ.
constexpr char kMainIndex = '0';
constexpr int kPageHeader = 4;
// The row id of FTS5's structure record, which lists the segments, and the
// size of the cookie it starts with.
constexpr qint64 kStructureId = 10;
constexpr int kStructureCookie = 4;
// FTS5's own limits: 16-bit segment ids, 31-bit page numbers, at most 2000
// segments. A leaf page's words and lists lie within its first 64 KiB (the
// header's offsets are 16-bit), its page index after them: no page comes
// near 1 MiB. Within these limits no sum of weights overflows.
constexpr quint64 kMaxSegmentId = 0xFFFF;
constexpr quint64 kMaxPage = (1U << 31) - 1;
constexpr quint64 kMaxSegments = 2000;
constexpr qsizetype kMaxPageSize = 1 << 20;
constexpr qint64 kMaxRowid = std::numeric_limits<qint64>::max();

// Row ids of the index's pages in topic_search_data: segment, then page,
// both within FTS5's limits.
qint64 leafPageId(qint64 segment, qint64 page) {
    return (segment << 37) + page;
}

// SQLite's variable-length integer; 0 when it runs past `end`.
int readVarint(const uchar *at, const uchar *end, quint64 &value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at + i >= end)
            return 0;
        if (i == 8) {
            value = (value << 8) | at[i];
            return 9;
        }
        value = (value << 7) | (at[i] & 0x7F);
        if (!(at[i] & 0x80))
            return i + 1;
    }
    return 0;
}

// One segment of the index and its leaf pages, as the structure record
// lists it.
struct Segment {
    qint64 id = 0;
    int firstPage = 0;
    int lastPage = 0;
};

// The numbers of a record in turn, each within the limit it is read with.
class NumberReader {
public:
    explicit NumberReader(QByteArrayView record)
        : at_(reinterpret_cast<const uchar *>(record.data())), end_(at_ + record.size()) {}

    bool next(quint64 &value, quint64 limit = std::numeric_limits<quint64>::max()) {
        const int used = readVarint(at_, end_, value);
        at_ += used;
        return used > 0 && value <= limit;
    }

private:
    const uchar *at_;
    const uchar *end_;
};

// The segments of a structure record: after a 4-byte cookie the number of
// levels, of segments and a write counter, then for each level the number
// of segments being merged and of its segments, each with its id, first and
// last page. Only FTS5 reads a record of another layout.
bool readSegments(QByteArrayView record, std::vector<Segment> &segments) {
    segments.clear();
    if (record.size() < kStructureCookie)
        return false;
    NumberReader numbers(record.sliced(kStructureCookie));
    quint64 levels = 0;
    quint64 count = 0;
    quint64 unused = 0;
    if (!numbers.next(levels, kMaxSegments) || !numbers.next(count, kMaxSegments) ||
        !numbers.next(unused))
        return false;
    for (quint64 level = 0; level < levels; ++level) {
        quint64 inLevel = 0;
        if (!numbers.next(unused) || !numbers.next(inLevel, count - segments.size()))
            return false;
        for (quint64 k = 0; k < inLevel; ++k) {
            quint64 id = 0;
            quint64 first = 0;
            quint64 last = 0;
            if (!numbers.next(id, kMaxSegmentId) || id == 0 || !numbers.next(first, kMaxPage) ||
                first == 0 || !numbers.next(last, kMaxPage) || last < first)
                return false;
            segments.push_back({qint64(id), int(first), int(last)});
        }
    }
    return segments.size() == count;
}

// A page where words begin, and the last page of its segment.
struct WordPage {
    qint64 segment = 0;
    int page = 0;
    int lastPage = 0;
};

// The segments of the index, from its structure record.
bool readStructure(const Statement &blockById, std::vector<Segment> &segments) {
    Run run(blockById);
    run.bind(1, kStructureId);
    return run.next() && readSegments(run.blobView(0), segments);
}

// The pages where words begin, in order, each within its segment's pages
// and after the one before; false when one is not, or its segment is not
// in the structure record.
bool readWordPages(const Statement &pages, const std::vector<Segment> &segments,
                   std::vector<WordPage> &wordPages) {
    Run run(pages);
    const Segment *segment = nullptr;
    while (run.next()) {
        const qint64 id = run.integer(0);
        const qint64 page = run.integer(1);
        const bool sameSegment = segment && segment->id == id;
        if (!sameSegment) {
            const auto found = std::find_if(segments.begin(), segments.end(),
                                            [id](const Segment &s) { return s.id == id; });
            segment = found != segments.end() ? &*found : nullptr;
        }
        if (!segment || page < segment->firstPage || page > segment->lastPage ||
            (sameSegment && page <= wordPages.back().page))
            return false;
        wordPages.push_back({segment->id, int(page), segment->lastPage});
    }
    return true;
}

int bigEndian16(const uchar *at) {
    return (at[0] << 8) | at[1];
}

// Where a leaf page's page index starts; 0 when its header does not fit the
// page.
int pageIndexStart(const uchar *data, int size) {
    if (size < kPageHeader)
        return 0;
    const int indexStart = bigEndian16(data + 2);
    return indexStart >= kPageHeader && indexStart <= size ? indexStart : 0;
}

// The offsets of the words on a leaf page (from its page index).
bool wordOffsets(const uchar *data, int size, std::vector<int> &offsets) {
    offsets.clear();
    const int indexStart = pageIndexStart(data, size);
    if (!indexStart)
        return false;
    qint64 offset = 0;
    for (const uchar *index = data + indexStart; index < data + size;) {
        quint64 delta = 0;
        const int used = readVarint(index, data + size, delta);
        if (!used || (!offsets.empty() && delta == 0) || delta >= quint64(indexStart))
            return false;
        index += used;
        offset += qint64(delta);
        if (offset < kPageHeader || offset >= indexStart)
            return false;
        offsets.push_back(int(offset));
    }
    return true;
}

// The words of one leaf page. Calls `onWord` with each word, its weight (the
// distance to the next word, or to the end of the page and `extraBytes`
// more for the page's last word, whose list runs on), and where its list
// starts and ends on the page (0 when it runs on).
template <typename OnWord>
bool readLeafWords(const uchar *data, int size, qint64 extraBytes, std::vector<int> &offsets,
                   std::string &word, OnWord &&onWord) {
    if (!wordOffsets(data, size, offsets))
        return false;
    const int indexStart = pageIndexStart(data, size);
    const uchar *leafEnd = data + indexStart;
    for (size_t i = 0; i < offsets.size(); ++i) {
        const uchar *at = data + offsets[i];
        quint64 shared = 0;
        quint64 fresh = 0;
        if (i > 0) {
            const int n = readVarint(at, leafEnd, shared);
            if (!n || shared > word.size())
                return false;
            at += n;
        }
        const int n = readVarint(at, leafEnd, fresh);
        if (!n || fresh > quint64(leafEnd - at - n) || (i > 0 && fresh == 0))
            return false;
        at += n;
        word.resize(size_t(shared));
        word.append(reinterpret_cast<const char *>(at), size_t(fresh));
        const bool last = i + 1 == offsets.size();
        const int listStart = int(at - data) + int(fresh);
        const int listEnd = last ? 0 : offsets[i + 1];
        const qint64 weight = (last ? indexStart + extraBytes : listEnd) - offsets[i];
        onWord(word, weight, listStart, listEnd);
    }
    return true;
}

} // namespace

// Reads one word's list across the pages it spans.
class Vocabulary::ListReader {
public:
    ListReader(const Statement &page, qint64 segment, int lastPage)
        : page_(page), segment_(segment), lastPage_(lastPage) {}

    // Calls `topic` with each row id of the list that starts at `place`.
    bool read(const Place &place, const std::function<bool(qint64)> &topic, bool &more) {
        if (!load(place.page))
            return false;
        pos_ = place.start;
        end_ = place.end ? place.end : indexStart_;
        runsOn_ = place.end == 0;
        onFreshPage_ = false;
        if (pos_ > end_ || end_ > indexStart_)
            return false;
        bool whole = true; // the list's first row id
        qint64 rowid = 0;
        while (more) {
            if (pos_ == end_) {
                const Page page = nextPage();
                if (page != Page::Next)
                    return page == Page::End;
            }
            // Whole: a list's first row id, and the first on a page it runs
            // on to, which must be where that page's header says. On the
            // list's own page the header speaks of another list.
            if (whole || (onFreshPage_ && pos_ == firstRowid_))
                rowid = 0;
            else if (onFreshPage_)
                return false;
            whole = false;
            onFreshPage_ = false;
            quint64 value = 0;
            if (!readNumber(value) || value > quint64(kMaxRowid - rowid))
                return false; // row ids are topic numbers, never past qint64
            rowid += qint64(value);
            // A deleted row, or one without positions (FTS5 skips it as a
            // delete marker): only FTS5 knows what stands.
            if (!readNumber(value) || (value & 1) || value == 0)
                return false;
            if (!skip(value >> 1))
                return false;
            more = topic(rowid);
        }
        return true;
    }

private:
    bool load(int page) {
        if (page == loaded_)
            return true;
        loaded_ = -1;
        Run run(page_);
        run.bind(1, leafPageId(segment_, page));
        if (!run.next())
            return false;
        data_ = run.blob(0);
        const auto *bytes = reinterpret_cast<const uchar *>(data_.constData());
        indexStart_ = pageIndexStart(bytes, int(data_.size()));
        if (!indexStart_)
            return false;
        firstRowid_ = bigEndian16(bytes);
        if (firstRowid_ && (firstRowid_ < kPageHeader || firstRowid_ >= indexStart_))
            return false;
        loaded_ = page;
        return true;
    }

    enum class Page { Next, End, Broken };

    // Moves on to the next page when the list runs on. FTS5 writes no page
    // that carries nothing past its header: such a page is damage.
    Page nextPage() {
        if (!runsOn_ || loaded_ >= lastPage_)
            return Page::End;
        if (!load(loaded_ + 1) || !wordOffsets(reinterpret_cast<const uchar *>(data_.constData()),
                                               int(data_.size()), words_))
            return Page::Broken;
        pos_ = kPageHeader;
        runsOn_ = words_.empty();
        end_ = runsOn_ ? indexStart_ : words_.front();
        onFreshPage_ = true;
        if (pos_ < end_)
            return Page::Next;
        return runsOn_ ? Page::Broken : Page::End;
    }

    bool readNumber(quint64 &value) {
        const auto *bytes = reinterpret_cast<const uchar *>(data_.constData());
        const int used = readVarint(bytes + pos_, bytes + end_, value);
        pos_ += used;
        return used > 0;
    }

    bool skip(quint64 bytes) {
        while (bytes > quint64(end_ - pos_)) {
            bytes -= quint64(end_ - pos_);
            pos_ = end_;
            if (nextPage() != Page::Next)
                return false;
        }
        pos_ += int(bytes);
        return true;
    }

    const Statement &page_;
    const qint64 segment_;
    const int lastPage_;
    QByteArray data_;
    std::vector<int> words_;
    int loaded_ = -1;
    int firstRowid_ = 0;
    int indexStart_ = 0;
    int pos_ = 0;
    int end_ = 0;
    bool runsOn_ = false;
    bool onFreshPage_ = false;
};

int Vocabulary::wordLength(int i) const {
    const size_t next = size_t(i) + 1;
    return (next < starts_.size() ? starts_[next] : int(text_.size())) - starts_[size_t(i)] - 1;
}

bool Vocabulary::load(sqlite3 *db) {
    if (readLeafPages(db) || readVocabularyTable(db)) {
        putInOrder();
        return true;
    }
    clear();
    return false;
}

void Vocabulary::clear() {
    text_.clear();
    starts_.clear();
    cumulativeWeight_.assign(1, 0);
    places_.clear();
}

void Vocabulary::add(const char *word, size_t length, qint64 weight) {
    starts_.push_back(int(text_.size()));
    text_.append(word, qsizetype(length)).append('\0');
    cumulativeWeight_.push_back(cumulativeWeight_.back() + weight);
}

// Reads the words straight from the index's leaf pages: only the pages where
// a word begins are read (topic_search_idx lists them), so this costs a
// fraction of walking every list of the index as fts5vocab does.
bool Vocabulary::readLeafPages(sqlite3 *db) {
    clear();
    Statement pages;
    std::vector<Segment> segments;
    std::vector<WordPage> wordPages;
    if (!pages.prepare(db, "SELECT segid, pgno >> 1 FROM topic_search_idx ORDER BY segid, pgno") ||
        !page_.prepare(db, "SELECT block FROM topic_search_data WHERE id = ?1") ||
        !readStructure(page_, segments) || !readWordPages(pages, segments, wordPages))
        return false;
    const bool oneSegment = segments.size() == 1;
    segment_ = oneSegment ? segments.front().id : 0;
    lastPage_ = oneSegment ? segments.front().lastPage : 0;
    std::vector<int> offsets;
    std::string word;
    for (size_t i = 0; i < wordPages.size(); ++i) {
        const auto [segment, page, lastPage] = wordPages[i];
        const bool nextInSegment = i + 1 < wordPages.size() && wordPages[i + 1].segment == segment;
        const qint64 followingPages =
            (nextInSegment ? wordPages[i + 1].page : qint64(lastPage) + 1) - page - 1;
        Run run(page_);
        run.bind(1, leafPageId(segment, page));
        if (!run.next())
            return false;
        const QByteArrayView data = run.blobView(0);
        if (data.size() > kMaxPageSize)
            return false;
        const auto keepMainWord = [&, page = page](const std::string &word, qint64 weight,
                                                   int listStart, int listEnd) {
            if (word.empty() || word[0] != kMainIndex)
                return;
            add(word.data() + 1, word.size() - 1, weight);
            if (oneSegment)
                places_.push_back({page, quint16(listStart), quint16(listEnd)});
        };
        if (!readLeafWords(reinterpret_cast<const uchar *>(data.data()), int(data.size()),
                           followingPages * data.size(), offsets, word, keepMainWord))
            return false;
    }
    return true;
}

// The slow way, for an index laid out otherwise: every list walked.
bool Vocabulary::readVocabularyTable(sqlite3 *db) {
    clear();
    if (!execute(db, "CREATE VIRTUAL TABLE IF NOT EXISTS temp.topic_terms USING "
                     "fts5vocab(main, topic_search, row)"))
        return false;
    Statement terms;
    if (!terms.prepare(db, "SELECT term, doc, cnt FROM temp.topic_terms"))
        return false;
    Run run(terms);
    while (run.next()) {
        const QByteArrayView word = run.utf8View(0);
        add(word.data(), size_t(word.size()), 2 * run.integer(1) + run.integer(2));
    }
    return true;
}

// Several segments of the index may each hold a word: sorted, one entry per
// word. Their lists are then left to FTS5.
void Vocabulary::putInOrder() {
    bool inOrder = true;
    for (int i = 1; i < size() && inOrder; ++i)
        inOrder = std::strcmp(word(i - 1), word(i)) < 0;
    if (inOrder)
        return;
    std::vector<int> order(starts_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return std::strcmp(word(a), word(b)) < 0; });
    const QByteArray text = text_;
    const std::vector<int> starts = starts_;
    const std::vector<qint64> cumulative = cumulativeWeight_;
    clear();
    for (const int i : order) {
        const char *entry = text.constData() + starts[size_t(i)];
        const qint64 weight = cumulative[size_t(i) + 1] - cumulative[size_t(i)];
        if (!starts_.empty() && std::strcmp(word(size() - 1), entry) == 0)
            cumulativeWeight_.back() += weight;
        else
            add(entry, std::strlen(entry), weight);
    }
}

std::pair<int, int> Vocabulary::range(const QByteArray &prefix) const {
    const char *text = text_.constData();
    const auto first = std::partition_point(starts_.begin(), starts_.end(), [&](int start) {
        return std::strcmp(text + start, prefix.constData()) < 0;
    });
    const auto last = std::partition_point(first, starts_.end(), [&](int start) {
        return std::strncmp(text + start, prefix.constData(), size_t(prefix.size())) == 0;
    });
    return {int(first - starts_.begin()), int(last - starts_.begin())};
}

std::vector<int> Vocabulary::matching(const QByteArray &globPattern) const {
    int literal = 0;
    while (literal < globPattern.size() && globPattern[literal] != '*' &&
           globPattern[literal] != '?')
        ++literal;
    const auto [first, last] = range(globPattern.left(literal));
    // The longest run of letters after the prefix: a quick test first.
    QByteArray letters;
    for (const QByteArray &run : globPattern.mid(literal).replace('?', '*').split('*')) {
        if (run.size() > letters.size())
            letters = run;
    }
    std::vector<int> words;
    for (int i = first; i < last; ++i) {
        if (std::strstr(word(i) + literal, letters.constData()) &&
            sqlite3_strglob(globPattern.constData(), word(i)) == 0)
            words.push_back(i);
    }
    return words;
}

bool Vocabulary::readTopics(const std::vector<int> &words,
                            const std::function<bool(qint64)> &topic) const {
    if (places_.size() != starts_.size())
        return false;
    ListReader reader(page_, segment_, lastPage_);
    bool more = true;
    for (const int word : words) {
        if (!reader.read(places_[size_t(word)], topic, more))
            return false;
        if (!more)
            break;
    }
    return true;
}

} // namespace title
