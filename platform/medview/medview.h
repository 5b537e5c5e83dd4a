#pragma once

#include "titleinfo.h"

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
    // Opens the title and shows its first topic; an empty path closes the
    // title. False, with the title shown left as it was, for a file that
    // cannot be opened as a title.
    bool setMediaViewTitle(const QString &path);
    // Whether the file can be opened as a title.
    static bool CanOpenTitle(const QString &path);
    QString MediaViewTopic() const;               // current topic's title
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
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in
    // pixels of the scrolling region.
    void OnMouseDownSR(int button, int shift, int x, int y);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    Private *d;
    friend bool fMVClearSelection(intptr_t lpMVSR, void *scratch);
};

// Clears the selection of the scrolling region lpMVSR; scratch is 1020 bytes
// of the caller's memory.
bool fMVClearSelection(intptr_t lpMVSR, void *scratch);
