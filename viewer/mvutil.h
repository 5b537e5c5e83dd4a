#pragma once

// The navigation state the viewer window, its dialogs and the second program
// share for the life of the process: the title and its directories, the
// history of visited topics, the title's groups, the print list, the
// bookmarks and the annotations with their two files.

#include "ansi.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TMedview;

// A table indexed from 1 with a fixed capacity, as the shared tables are.
// The bookmark and annotation tables grow past their capacity when a file
// holds more records, so that none is lost; the others never do. An index
// outside the table reaches a scratch entry that no reader sees, so a stray
// index never touches memory outside it.
enum class TableGrowth { Fixed, ForFileRecords };

template <typename T> class OneBasedTable {
public:
    OneBasedTable(int capacity, TableGrowth growth)
        : capacity_(capacity), growth_(growth), items_(size_t(capacity)) {}
    T &operator[](int index) {
        if (index < 1)
            return outside();
        if (index > int(items_.size())) {
            if (growth_ == TableGrowth::Fixed)
                return outside();
            items_.resize(size_t(index));
        }
        return items_[size_t(index - 1)];
    }
    int capacity() const { return capacity_; }

private:
    T &outside() {
        scratch_ = T();
        return scratch_;
    }

    int capacity_;
    TableGrowth growth_;
    std::vector<T> items_;
    T scratch_{};
};

struct THistoriaRec {
    AnsiString Topic;
    int32_t VA = 0;
    AnsiString Spare;
    int32_t Scroll = 0;
};

struct TGrupoRec {
    AnsiString Name;
    AnsiString Value;
};

struct TMarcaRec {
    AnsiString Name; // at most 40 characters
    int32_t Topic = 0;
};

struct TAnotacionRec {
    int32_t Topic = 0;
    AnsiString Title; // at most 255 characters
    AnsiString Note;  // at most 255 characters
};

constexpr int kBookmarkRecordSize = 48;
constexpr int kAnnotationRecordSize = 516;
constexpr int kBookmarkNameMax = 40;
constexpr int kAnnotationTextMax = 255;

extern AnsiString TitleName;
extern AnsiString BaseDir; // the start directory, ending in "/"
extern AnsiString WindowsDir;
extern bool CloseAfterLaunch;

extern OneBasedTable<THistoriaRec> History; // 50
extern int32_t HistoryCount;
extern int32_t HistoryPos;
extern bool HistorySkip;

extern OneBasedTable<TGrupoRec> Groups; // 20: at most 19 groups and the terminator

extern OneBasedTable<int32_t> PrintList; // 10000
extern int32_t PrintCount;

extern OneBasedTable<TMarcaRec> Bookmarks; // 100
extern int32_t BookmarkCount;

extern OneBasedTable<TAnotacionRec> Annotations; // 50
extern int32_t AnnotationCount;

// The one record through which every bookmark and annotation record is read
// and written; bytes a record does not use keep what the buffer held before.
extern std::array<uint8_t, kBookmarkRecordSize> BookmarkBuffer;
extern std::array<uint8_t, kAnnotationRecordSize> AnnotationBuffer;

// Runs the module's initialisation: CloseAfterLaunch, the counters, TitleName
// from the command line and BaseDir from the current directory.
void InitializeNavigationState();
void ResetNavigationState();
// The part of ResetNavigationState that leaves bookmarks and annotations.
void ResetHistoryAndPrintList();

void RecordHistoryTopic(TMedview &control);
void HistoryBack(TMedview &control);
void LoadTitleGroups(TMedview &control);
// LoadTitleGroups over any source of title information entries (the runtime's
// lMVTitleGetInfo for type 13 with parameter k * 65536 + 255).
using TitleInfoFetch = std::function<int32_t(int32_t k, char *buffer, size_t size)>;
void LoadTitleGroupsFrom(const TitleInfoFetch &fetchEntry);
int32_t TitleInfoCount(TMedview &control);
AnsiString TitleInfoString(TMedview &control, int32_t topic);

// The two files. The readers append every whole record of an existing file to
// the table (a trailing fragment is not read) and raise EInOutError on a
// failure, keeping the records read before it; they return false when the file
// does not exist (also when it is gone by the time it is opened). A read-only
// file is read whole before "File access denied" is raised. The writers
// replace the file with entries 1..count as one step, so a failure leaves the
// previous file as it was; a file whose load stopped before its end is left as
// it is, since the table lacks some of its records. ResetNavigationState
// forgets such files.
AnsiString BookmarkFileName();
AnsiString AnnotationFileName();
bool ReadBookmarkFile(const AnsiString &fileName);
bool ReadAnnotationFile(const AnsiString &fileName);
void WriteBookmarkFile(const AnsiString &fileName);
void WriteAnnotationFile(const AnsiString &fileName);
// What the saves left as it was: a line for each file whose load stopped
// before its end, naming it and why; empty when there is none.
QString KeptStoredFilesMessage();
