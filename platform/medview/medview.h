#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

// The title view control hosted by the viewer window (its Medview1): renders
// the topics of a title file, navigates, searches, prints and copies, and
// raises events for hotspot clicks and topic changes. Properties are
// getter/setter pairs named after the property; events are Qt signals.
// Strings are Qt strings here; callers convert to and from the program's
// 8-bit text at their side (ansi::toQt / ansi::fromQt).
class TMedview : public QWidget {
    Q_OBJECT

public:
    explicit TMedview(QWidget *parent = nullptr);
    ~TMedview() override;

    // --- Properties ---------------------------------------------------------
    QString MediaViewTitle() const;
    void setMediaViewTitle(const QString &path); // opens the title, shows its first topic
    QString MediaViewTopic() const;              // current topic's title
    void setMediaViewTopic(const QString &title); // opens the first topic with that title
    int FontZoom() const;                         // percent, 100 at start
    void setFontZoom(int percent);
    intptr_t lpMVSR() const; // scrolling-region handle, 0 while no topic is shown
    int SearchMode() const;  // 0 every topic, 1 the current topic, 2 the topic list
    void setSearchMode(int mode);
    int SearchHitCount() const;
    bool HiliteSearchHits() const;
    void setHiliteSearchHits(bool on);
    int TopicListCount() const;
    int TopicListMode() const;
    void setTopicListMode(int mode);
    float SRLeftMargin() const;
    void setSRLeftMargin(float margin);
    int TopicIndex() const; // current topic number
    void setTopicIndex(int index);
    // Colour references 0x00BBGGRR.
    uint32_t BackColorSR() const;
    void setBackColorSR(uint32_t colour);
    uint32_t BackColorNSR() const;
    void setBackColorNSR(uint32_t colour);
    uint32_t BackColorPopup() const;
    void setBackColorPopup(uint32_t colour);
    int TopicVA() const;     // names the current topic
    int TopicScroll() const; // its scroll position
    bool HasSelection() const;
    QString TopicData() const; // context string of the current topic
    bool HasPreviousBrowseTopic() const;
    bool HasNextBrowseTopic() const;
    intptr_t HTITLE() const; // handle of the open title, 0 for none

    // --- Methods ------------------------------------------------------------
    void BeginTopicList();
    void ShowHotspotTarget(intptr_t hotspotData); // pop-up of a type 1 hotspot
    void AddGroupToTopicList(const QString &group);
    void PrintTopic(int topic);
    void RunSearch(const QString &query);
    void ShowPopupStyle(int style);
    void EndPrint();
    void CopySelection(int format);
    void GoToTopicPosition(int va, int scroll);
    void GoToFirstTopic();
    void GoToPreviousBrowseTopic();
    void GoToNextBrowseTopic();
    void OpenTopicByContext(const QString &context);
    QString SearchHitTitle(int i);
    int TopicListEntry(int i);

signals:
    // type 0: data is the address of the NUL-terminated 8-bit command text;
    // type 1: a value for ShowHotspotTarget; type 2: a jump, which the control
    // follows when the handler leaves Cancel false.
    void OnHotspotClicked(int HotspotType, intptr_t HotspotData, bool &Cancel);
    // Raised for every topic change; while it runs, MediaViewTopic, TopicVA and
    // TopicScroll already name the topic being opened.
    void OnTopicChanging(int reserved);
    void OnMouseDownSR(int button, int shift, int x, int y);

private:
    struct Private;
    Private *d;
};

// The runtime library's calls.
// Type 13, parameter k * 65536 + room: the k-th title information entry
// (result > 0), -1 past the last; type 13, parameter 0, no buffer: the number
// of topics; type 102, a topic number: that topic's title, 0 when there is
// none. Text is NUL-terminated 8-bit, never more than bufferSize bytes.
int32_t lMVTitleGetInfo(intptr_t hTitle, int32_t infoType, int32_t param, char *buffer,
                        size_t bufferSize = 256);
// Clears the selection of the scrolling region lpMVSR; scratch is 1020 bytes
// of the caller's memory.
bool fMVClearSelection(intptr_t lpMVSR, void *scratch);
