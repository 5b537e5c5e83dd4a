#include "medview.h"

#include "ansi.h"
#include "clipboard.h"
#include "errors.h"
#include "hotspot.h"
#include "paths.h"
#include "printer.h"
#include "titlefile.h"
#include "topicprint.h"
#include "topicview.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QHash>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <climits>
#include <optional>

using medview::HotspotKind;
using medview::TopicBrowser;

namespace {

// The scrolling-region handles of the live controls, for fMVClearSelection.
QHash<intptr_t, TMedview *> &regionRegistry() {
    // Never destroyed: a control may outlive the statics at the end of the run.
    static auto *registry = new QHash<intptr_t, TMedview *>;
    return *registry;
}

intptr_t newRegionHandle() {
    static intptr_t last = 0x4D56'0000;
    return ++last;
}

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

// A local file name as given, or else the program's path rules.
QString localTitlePath(const QString &path) {
    if (QFileInfo::exists(path))
        return path;
    return paths::resolvePath(ansi::fromQt(path));
}

// Why a printer took no job: an output file that cannot be written, or a
// printer that refused it, named when it has a name.
EAppError printFailed(const QPrinter &printer) {
    QString why;
    if (!printer.outputFileName().isEmpty())
        why = QStringLiteral("no se puede escribir el archivo %1").arg(printer.outputFileName());
    else if (!printer.printerName().isEmpty())
        why = QStringLiteral("la impresora %1 no acepta el trabajo").arg(printer.printerName());
    else
        why = QStringLiteral("la impresora no acepta el trabajo");
    return EAppError(QStringLiteral("No se pudieron imprimir las páginas: %1.").arg(why));
}

// Lays the whole document out now, so that scroll positions can be set.
void layoutWhole(QTextDocument *document) {
    document->size();
}

} // namespace

struct TMedview::Private {
    explicit Private(TMedview *owner);

    void connectBrowser(TopicBrowser *browser);
    void closeTitle();
    std::optional<int> firstTopic() const;
    bool showTopic(int index, int scroll);
    void openTopic(int index);
    void render();
    void refresh();
    void applyScroll(int scroll);
    void reapplyPendingScroll();
    void activateLink(const QUrl &link);
    void followJump(intptr_t target);
    TopicBrowser *ensurePopup();
    void placePopup();

    TMedview *q;
    TopicBrowser *header;
    TopicBrowser *body;
    TopicBrowser *popup = nullptr;
    const intptr_t regionHandle;

    std::unique_ptr<title::TitleFile> title;
    QString titlePath;
    std::optional<title::Topic> topic;
    // Bumped by every topic change and title switch, so that work started for
    // one change stops when an event handler has begun another.
    int changeSerial = 0;
    bool changing = false;
    int scrollTarget = 0;
    int pendingScroll = -1; // a position the layout could not take yet

    int fontZoom = 100;
    int searchMode = 0;
    bool hilite = false;
    int topicListMode = 0;
    float leftMargin = 0;
    uint32_t backSR = 0xFFFFFF;
    uint32_t backNSR = 0xFFFFFF;
    uint32_t backPopup = 0xFFFFFF;

    title::SearchHits hits; // with their titles, read in the same query
    QSet<QString> hitTerms; // folded
    QVector<int> topicList;
    QSet<int> topicListMembers;
    QVector<int> printJob;
};

TMedview::Private::Private(TMedview *owner)
    : q(owner), header(new TopicBrowser(owner)), body(new TopicBrowser(owner)),
      regionHandle(newRegionHandle()) {
    header->setObjectName(QStringLiteral("medviewHeader"));
    body->setObjectName(QStringLiteral("medviewBody"));
    header->setFitsHeightToContents(true);
    header->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header->hide();

    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(body, 1);

    header->setBackground(medview::colourFromRef(backNSR));
    body->setBackground(medview::colourFromRef(backSR));
    connectBrowser(header);
    connectBrowser(body);

    QObject::connect(body, &TopicBrowser::mousePressed, owner,
                     [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
                         emit q->OnMouseDownSR(buttonCode(button), shiftCode(modifiers), at.x(),
                                               at.y());
                     });
    QScrollBar *bar = body->verticalScrollBar();
    QObject::connect(bar, &QScrollBar::rangeChanged, owner, [this] { reapplyPendingScroll(); });
    QObject::connect(body, &TopicBrowser::shown, owner, [this] { reapplyPendingScroll(); });
    QObject::connect(bar, &QScrollBar::actionTriggered, owner, [this] { pendingScroll = -1; });
}

// Hotspots are handled once the click is over, so that the handler may
// show windows or change the topic without the text view in mid-event.
void TMedview::Private::connectBrowser(TopicBrowser *browser) {
    QObject::connect(
        browser, &QTextBrowser::anchorClicked, q, [this](const QUrl &link) { activateLink(link); },
        Qt::QueuedConnection);
}

void TMedview::Private::closeTitle() {
    ++changeSerial;
    changing = false;
    pendingScroll = -1;
    if (popup) {
        popup->hide();
        popup->clear();
        popup->setTitle(nullptr);
    }
    header->clear();
    header->hide();
    body->clear();
    header->setTitle(nullptr);
    body->setTitle(nullptr);
    topic.reset();
    hits.clear();
    hitTerms.clear();
    topicList.clear();
    topicListMembers.clear();
    printJob.clear();
    title.reset();
    titlePath.clear();
}

std::optional<int> TMedview::Private::firstTopic() const {
    if (!title)
        return std::nullopt;
    if (const std::optional<int> first = title->firstBrowseTopic())
        return first;
    return title->topicCount() > 0 ? std::optional<int>(1) : std::nullopt;
}

// The current-topic state names the new topic before OnTopicChanging runs;
// the topic is drawn after it.
bool TMedview::Private::showTopic(int index, int scroll) {
    if (!title)
        return false;
    std::optional<title::Topic> next = title->topic(index);
    if (!next)
        return false;
    const int serial = ++changeSerial;
    topic = std::move(next);
    scrollTarget = qMax(0, scroll);
    pendingScroll = -1;
    changing = true;
    QPointer<TMedview> alive(q);
    emit q->OnTopicChanging(0);
    if (!alive || serial != changeSerial)
        return true;
    changing = false;
    render();
    applyScroll(scrollTarget);
    return true;
}

// Asking for the topic already shown only brings its start into view.
void TMedview::Private::openTopic(int index) {
    if (!title)
        return;
    if (topic && topic->index == index) {
        if (!changing)
            applyScroll(0);
        return;
    }
    showTopic(index, 0);
}

void TMedview::Private::render() {
    if (!topic)
        return;
    const QFont base = q->font();
    const bool hasHeader = !topic->headerHtml.trimmed().isEmpty();
    header->setVisible(hasHeader);
    header->showHtml(hasHeader ? topic->headerHtml : QString(), fontZoom, base);
    body->showHtml(topic->bodyHtml, fontZoom, base);
    q->layout()->activate(); // the body takes the header's new height now
    if (hilite) {
        medview::highlightWords(header->document(), hitTerms);
        medview::highlightWords(body->document(), hitTerms);
    }
}

// Draws the shown topic again in place, at the same share of its length.
void TMedview::Private::refresh() {
    if (!topic || changing)
        return;
    if (pendingScroll >= 0) {
        const int keep = pendingScroll;
        render();
        applyScroll(keep);
        return;
    }
    const QScrollBar *bar = body->verticalScrollBar();
    const int oldMaximum = bar->maximum();
    const int oldValue = bar->value();
    render();
    layoutWhole(body->document());
    const int target = oldMaximum > 0 ? int(qint64(oldValue) * bar->maximum() / oldMaximum) : 0;
    applyScroll(target);
}

// Until the region is shown at its final width the position is kept, and
// taken again whenever the layout changes.
void TMedview::Private::applyScroll(int scroll) {
    pendingScroll = scroll;
    layoutWhole(body->document());
    reapplyPendingScroll();
}

void TMedview::Private::reapplyPendingScroll() {
    if (pendingScroll < 0)
        return;
    QScrollBar *bar = body->verticalScrollBar();
    bar->setValue(pendingScroll);
    if (bar->value() == pendingScroll && body->isVisible() && body->hasBeenShown())
        pendingScroll = -1;
}

void TMedview::Private::activateLink(const QUrl &link) {
    const medview::HotspotLink hotspot = medview::parseHotspot(link);
    if (hotspot.kind == HotspotKind::None || !title)
        return;
    bool cancel = false;
    if (hotspot.kind == HotspotKind::Command) {
        // The handler reads the text through its address while it runs.
        const AnsiString text = ansi::fromQt(hotspot.target);
        emit q->OnHotspotClicked(0, reinterpret_cast<intptr_t>(text.c_str()), cancel);
        return;
    }
    const intptr_t target = title->topicByContext(hotspot.target).value_or(0);
    if (hotspot.kind == HotspotKind::Popup) {
        emit q->OnHotspotClicked(1, target, cancel);
        return;
    }
    followJump(target);
}

// A jump is followed unless the handler cancels it or has moved on itself.
void TMedview::Private::followJump(intptr_t target) {
    bool cancel = false;
    const int serial = changeSerial;
    QPointer<TMedview> alive(q);
    emit q->OnHotspotClicked(2, target, cancel);
    if (!alive || cancel || target <= 0 || serial != changeSerial)
        return;
    if (popup)
        popup->hide();
    openTopic(int(target));
}

// Made at the first pop-up; the title and colour setters keep it current.
TopicBrowser *TMedview::Private::ensurePopup() {
    if (popup)
        return popup;
    popup = new medview::TopicPopup(q);
    popup->setObjectName(QStringLiteral("medviewPopup"));
    popup->setTitle(title.get());
    popup->setBackground(medview::colourFromRef(backPopup));
    connectBrowser(popup);
    return popup;
}

// Next to the mouse, as wide as a comfortable column and as high as its text,
// inside the screen.
void TMedview::Private::placePopup() {
    const QScreen *screen = q->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const int frame = 2 * popup->frameWidth();
    const int width = qMin(qBound(200, q->width() * 3 / 5, 480), area.width());
    popup->document()->setTextWidth(width - frame);
    const int textHeight = int(popup->document()->size().height()) + frame + 2;
    const int height = qMin(textHeight, area.height() * 3 / 5);
    popup->resize(width, height);
    QPoint at = QCursor::pos() + QPoint(8, 8);
    at.setX(qBound(area.left(), at.x(), area.right() - width));
    at.setY(qBound(area.top(), at.y(), area.bottom() - height));
    popup->move(at);
}

TMedview::TMedview(QWidget *parent) : QWidget(parent), d(new Private(this)) {
    regionRegistry().insert(d->regionHandle, this);
}

TMedview::~TMedview() {
    regionRegistry().remove(d->regionHandle);
    // The regions go first: their last signals must not reach a freed state.
    delete d->popup;
    delete d->header;
    delete d->body;
    delete d;
}

void TMedview::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    d->header->fitHeightToContents();
}

// --- Properties --------------------------------------------------------------

QString TMedview::MediaViewTitle() const {
    return d->titlePath;
}

// The new title is opened before the one shown is closed, so that a file that
// is no title leaves the view as it was.
bool TMedview::setMediaViewTitle(const QString &path) {
    if (path.isEmpty()) {
        d->closeTitle();
        return true;
    }
    std::unique_ptr<title::TitleFile> file = title::TitleFile::open(localTitlePath(path));
    if (!file)
        return false;
    d->closeTitle();
    d->title = std::move(file);
    d->titlePath = path;
    d->header->setTitle(d->title.get());
    d->body->setTitle(d->title.get());
    if (d->popup)
        d->popup->setTitle(d->title.get());
    if (const std::optional<int> first = d->firstTopic())
        d->showTopic(*first, 0);
    return true;
}

bool TMedview::CanOpenTitle(const QString &path) {
    return title::TitleFile::open(localTitlePath(path)) != nullptr;
}

QString TMedview::MediaViewTopic() const {
    return d->topic ? d->topic->title : QString();
}

void TMedview::setMediaViewTopic(const QString &title) {
    if (!d->title)
        return;
    if (const std::optional<int> index = d->title->topicByTitle(title))
        d->openTopic(*index);
}

int TMedview::FontZoom() const {
    return d->fontZoom;
}

void TMedview::setFontZoom(int percent) {
    d->fontZoom = percent;
    d->refresh();
}

intptr_t TMedview::lpMVSR() const {
    return d->topic ? d->regionHandle : 0;
}
int TMedview::SearchMode() const {
    return d->searchMode;
}
void TMedview::setSearchMode(int mode) {
    d->searchMode = mode;
}
int TMedview::SearchHitCount() const {
    return int(d->hits.size());
}
bool TMedview::HiliteSearchHits() const {
    return d->hilite;
}

void TMedview::setHiliteSearchHits(bool on) {
    d->hilite = on;
    d->refresh();
}

int TMedview::TopicListCount() const {
    return int(d->topicList.size());
}
int TMedview::TopicListMode() const {
    return d->topicListMode;
}
void TMedview::setTopicListMode(int mode) {
    d->topicListMode = mode;
}
float TMedview::SRLeftMargin() const {
    return d->leftMargin;
}

void TMedview::setSRLeftMargin(float margin) {
    d->leftMargin = margin;
    d->body->setLeftMargin(margin);
}

int TMedview::TopicIndex() const {
    return d->topic ? d->topic->index : 0;
}
void TMedview::setTopicIndex(int index) {
    d->openTopic(index);
}
uint32_t TMedview::BackColorSR() const {
    return d->backSR;
}

void TMedview::setBackColorSR(uint32_t colour) {
    d->backSR = colour;
    d->body->setBackground(medview::colourFromRef(colour));
}

uint32_t TMedview::BackColorNSR() const {
    return d->backNSR;
}

void TMedview::setBackColorNSR(uint32_t colour) {
    d->backNSR = colour;
    d->header->setBackground(medview::colourFromRef(colour));
}

uint32_t TMedview::BackColorPopup() const {
    return d->backPopup;
}

void TMedview::setBackColorPopup(uint32_t colour) {
    d->backPopup = colour;
    if (d->popup)
        d->popup->setBackground(medview::colourFromRef(colour));
}

// A topic's position is its number.
int TMedview::TopicVA() const {
    return TopicIndex();
}

int TMedview::TopicScroll() const {
    if (!d->topic)
        return 0;
    if (d->changing)
        return d->scrollTarget;
    if (d->pendingScroll >= 0)
        return d->pendingScroll;
    return d->body->verticalScrollBar()->value();
}

bool TMedview::HasSelection() const {
    return d->topic && d->body->textCursor().hasSelection();
}

QString TMedview::TopicData() const {
    return d->topic ? d->topic->context : QString();
}

bool TMedview::HasPreviousBrowseTopic() const {
    return d->title && d->topic && d->title->previousBrowseTopic(d->topic->index).has_value();
}

bool TMedview::HasNextBrowseTopic() const {
    return d->title && d->topic && d->title->nextBrowseTopic(d->topic->index).has_value();
}

intptr_t TMedview::HTITLE() const {
    return d->title ? d->title->handle() : 0;
}

// --- Methods -----------------------------------------------------------------

void TMedview::BeginTopicList() {
    d->topicList.clear();
    d->topicListMembers.clear();
}

void TMedview::ShowHotspotTarget(intptr_t hotspotData) {
    if (!d->title || hotspotData <= 0 || hotspotData > INT_MAX)
        return;
    const std::optional<title::Topic> target = d->title->topic(int(hotspotData));
    if (!target)
        return;
    TopicBrowser *popup = d->ensurePopup();
    const bool bodyEmpty = target->bodyHtml.trimmed().isEmpty();
    popup->showHtml(bodyEmpty ? target->headerHtml : target->bodyHtml, d->fontZoom, font());
    d->placePopup();
    popup->show();
}

// A topic of several chosen groups stands in the list once.
void TMedview::AddGroupToTopicList(const QString &group) {
    if (!d->title)
        return;
    for (const int index : d->title->groupTopics(group)) {
        if (d->topicListMembers.contains(index))
            continue;
        d->topicListMembers.insert(index);
        d->topicList.append(index);
    }
}

void TMedview::PrintTopic(int topic) {
    if (d->title)
        d->printJob.append(topic);
}

void TMedview::RunSearch(const QString &query) {
    d->hits.clear();
    d->hitTerms.clear();
    if (!d->title)
        return;
    QVector<int> shown;
    const QVector<int> *scope = nullptr;
    if (d->searchMode == 1) {
        if (d->topic)
            shown.append(d->topic->index);
        scope = &shown;
    } else if (d->searchMode == 2) {
        scope = &d->topicList;
    }
    d->title->searchHits(query, scope, d->hits);
    if (!d->hits.isEmpty()) {
        for (const QString &term : d->title->matchedTerms(query))
            d->hitTerms.insert(term);
    }
    if (d->hilite)
        d->refresh();
}

// No style of pop-up window other than the one there is.
void TMedview::ShowPopupStyle(int) {}

void TMedview::EndPrint() {
    QVector<int> job;
    job.swap(d->printJob);
    if (!d->title)
        return;
    QVector<int> printable;
    for (const int index : job) {
        if (d->title->topic(index))
            printable.append(index);
    }
    if (printable.isEmpty())
        return;
    // The print dialog belongs to the window that asked for the print (the
    // print list), so that it opens over it and keeps it above the viewer.
    QWidget *asking = QApplication::activeWindow();
    std::unique_ptr<QPrinter> printer =
        ChoosePrinter(asking ? asking : window(), QFileInfo(d->titlePath).completeBaseName());
    if (printer && d->title && !medview::printTopics(*d->title, printable, *printer))
        throw printFailed(*printer);
}

// The selection as text, and as a picture when one is selected; nothing when
// nothing is selected.
void TMedview::CopySelection(int) {
    if (!d->topic)
        return;
    const QTextCursor cursor = d->body->textCursor();
    if (!cursor.hasSelection())
        return;
    QString text = cursor.selection().toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    const QImage picture = medview::selectedPicture(cursor);
    auto *data = new QMimeData;
    if (!text.isEmpty() || picture.isNull())
        data->setText(text);
    if (!picture.isNull())
        data->setImageData(picture);
    clipboard::current().setMimeData(data);
}

// Going to a position always counts as a topic change, also on the topic
// shown: the history relies on the event to follow its own step back.
void TMedview::GoToTopicPosition(int va, int scroll) {
    d->showTopic(va, scroll);
}

void TMedview::GoToFirstTopic() {
    if (const std::optional<int> first = d->firstTopic())
        d->openTopic(*first);
}

void TMedview::GoToPreviousBrowseTopic() {
    if (!d->title || !d->topic)
        return;
    if (const std::optional<int> previous = d->title->previousBrowseTopic(d->topic->index))
        d->openTopic(*previous);
}

void TMedview::GoToNextBrowseTopic() {
    if (!d->title || !d->topic)
        return;
    if (const std::optional<int> next = d->title->nextBrowseTopic(d->topic->index))
        d->openTopic(*next);
}

void TMedview::OpenTopicByContext(const QString &context) {
    if (!d->title)
        return;
    if (const std::optional<int> index = d->title->topicByContext(context))
        d->openTopic(*index);
}

QString TMedview::SearchHitTitle(int i) {
    if (!d->title || i < 0 || i >= d->hits.size())
        return QString();
    return d->hits.title(i);
}

int TMedview::TopicListEntry(int i) {
    if (i < 0 || i >= d->topicList.size())
        return 0;
    return d->topicList.at(i);
}

bool fMVClearSelection(intptr_t lpMVSR, void *) {
    const auto found = regionRegistry().constFind(lpMVSR);
    if (lpMVSR == 0 || found == regionRegistry().constEnd())
        return false;
    TopicBrowser *body = found.value()->d->body;
    QTextCursor cursor = body->textCursor();
    cursor.clearSelection();
    body->setTextCursor(cursor);
    return true;
}
