// Placeholder implementation: every property reads empty and every method does
// nothing, as for a title that is not open. Replaced by the real control.
#include "medview.h"

struct TMedview::Private {
    QString title;
    int fontZoom = 100;
    int searchMode = 0;
    bool hilite = false;
    int topicListMode = 0;
    float leftMargin = 0;
    uint32_t backSR = 0xFFFFFF, backNSR = 0xFFFFFF, backPopup = 0xFFFFFF;
};

TMedview::TMedview(QWidget *parent) : QWidget(parent), d(new Private) {}
TMedview::~TMedview() { delete d; }

QString TMedview::MediaViewTitle() const { return d->title; }
void TMedview::setMediaViewTitle(const QString &path) { d->title = path; }
QString TMedview::MediaViewTopic() const { return QString(); }
void TMedview::setMediaViewTopic(const QString &) {}
int TMedview::FontZoom() const { return d->fontZoom; }
void TMedview::setFontZoom(int percent) { d->fontZoom = percent; }
intptr_t TMedview::lpMVSR() const { return 0; }
int TMedview::SearchMode() const { return d->searchMode; }
void TMedview::setSearchMode(int mode) { d->searchMode = mode; }
int TMedview::SearchHitCount() const { return 0; }
bool TMedview::HiliteSearchHits() const { return d->hilite; }
void TMedview::setHiliteSearchHits(bool on) { d->hilite = on; }
int TMedview::TopicListCount() const { return 0; }
int TMedview::TopicListMode() const { return d->topicListMode; }
void TMedview::setTopicListMode(int mode) { d->topicListMode = mode; }
float TMedview::SRLeftMargin() const { return d->leftMargin; }
void TMedview::setSRLeftMargin(float margin) { d->leftMargin = margin; }
int TMedview::TopicIndex() const { return 0; }
void TMedview::setTopicIndex(int) {}
uint32_t TMedview::BackColorSR() const { return d->backSR; }
void TMedview::setBackColorSR(uint32_t colour) { d->backSR = colour; }
uint32_t TMedview::BackColorNSR() const { return d->backNSR; }
void TMedview::setBackColorNSR(uint32_t colour) { d->backNSR = colour; }
uint32_t TMedview::BackColorPopup() const { return d->backPopup; }
void TMedview::setBackColorPopup(uint32_t colour) { d->backPopup = colour; }
int TMedview::TopicVA() const { return 0; }
int TMedview::TopicScroll() const { return 0; }
bool TMedview::HasSelection() const { return false; }
QString TMedview::TopicData() const { return QString(); }
bool TMedview::HasPreviousBrowseTopic() const { return false; }
bool TMedview::HasNextBrowseTopic() const { return false; }
intptr_t TMedview::HTITLE() const { return 0; }

void TMedview::BeginTopicList() {}
void TMedview::ShowHotspotTarget(intptr_t) {}
void TMedview::AddGroupToTopicList(const QString &) {}
void TMedview::PrintTopic(int) {}
void TMedview::RunSearch(const QString &) {}
void TMedview::ShowPopupStyle(int) {}
void TMedview::EndPrint() {}
void TMedview::CopySelection(int) {}
void TMedview::GoToTopicPosition(int, int) {}
void TMedview::GoToFirstTopic() {}
void TMedview::GoToPreviousBrowseTopic() {}
void TMedview::GoToNextBrowseTopic() {}
void TMedview::OpenTopicByContext(const QString &) {}
QString TMedview::SearchHitTitle(int) { return QString(); }
int TMedview::TopicListEntry(int) { return 0; }

int32_t lMVTitleGetInfo(intptr_t, int32_t infoType, int32_t, char *buffer, size_t bufferSize) {
    if (buffer && bufferSize > 0)
        buffer[0] = '\0';
    return infoType == 13 ? -1 : 0;
}

bool fMVClearSelection(intptr_t, void *) { return false; }
