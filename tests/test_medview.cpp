// The title view control: opening, navigation, topic-change timing, hotspot
// events, pop-ups, display settings and mouse presses.

#include "test_medview_fixture.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextFrame>
#include <QtTest>
#include <limits>

using namespace medviewtest;

namespace {

// What the properties said while OnTopicChanging ran.
struct Seen {
    QString topic;
    int va;
    int scroll;
    int index;
    QString data;
};

struct Click {
    int type;
    QByteArray text; // type 0
    intptr_t data;
};

} // namespace

class TestMedview : public QObject, ControlTest {
    Q_OBJECT

private:
    QVector<Seen> seen_;

private slots:
    void initTestCase() { writeTitle(); }

    void init() {
        showControl();
        seen_.clear();
        connect(control_, &TMedview::OnTopicChanging, this, [this] {
            seen_.append({control_->MediaViewTopic(), control_->TopicVA(), control_->TopicScroll(),
                          control_->TopicIndex(), control_->TopicData()});
        });
    }

    void cleanup() { destroyControl(); }

    void opensTitleAtFirstBrowseTopic() {
        QCOMPARE(control_->HTITLE(), intptr_t(0));
        openSample();
        QCOMPARE(control_->MediaViewTitle(), file_);
        QCOMPARE(seen_.size(), 1);
        QCOMPARE(seen_[0].topic, QStringLiteral("Portada"));
        QCOMPARE(control_->TopicIndex(), 1);
        QCOMPARE(control_->TopicData(), QStringLiteral("PORTADA"));
        QVERIFY(header(*control_)->isVisible());
        QVERIFY(header(*control_)->toPlainText().contains(QStringLiteral("Portada del libro")));
        QVERIFY(body(*control_)->toPlainText().contains(QStringLiteral("bienvenida")));
        QVERIFY(control_->lpMVSR() != 0);
        const QImage picture =
            body(*control_)
                ->document()
                ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("foto.png")))
                .value<QImage>();
        QCOMPARE(picture.size(), QSize(8, 6));
    }

    void opensByCaseInsensitivePathAndReplacesTitle() {
        openSample();
        const intptr_t first = control_->HTITLE();
        control_->setTopicIndex(3);
        control_->setMediaViewTitle(dir_.filePath(QStringLiteral("TITULO.DVK")));
        QVERIFY(control_->HTITLE() != 0);
        QVERIFY(control_->HTITLE() != first);
        QCOMPARE(control_->TopicIndex(), 1);
        const intptr_t second = control_->HTITLE();
        QVERIFY(!control_->setMediaViewTitle(dir_.filePath(QStringLiteral("otro.dvk"))));
        QCOMPARE(control_->HTITLE(), second);
        QCOMPARE(control_->TopicIndex(), 1);
        QVERIFY(control_->setMediaViewTitle(QString()));
        QCOMPARE(control_->HTITLE(), intptr_t(0));
        QCOMPARE(control_->MediaViewTopic(), QString());
        QCOMPARE(control_->lpMVSR(), intptr_t(0));
        QVERIFY(body(*control_)->toPlainText().isEmpty());
    }

    // Every way of changing the topic raises the event once, and the
    // properties already name the new topic while it runs.
    void everyTopicChangeRaisesEventNamingNewTopic() {
        openSample();
        seen_.clear();
        control_->OpenTopicByContext(QStringLiteral("tema3"));
        control_->setTopicIndex(2);
        control_->setMediaViewTopic(QStringLiteral("Nota emergente"));
        control_->GoToFirstTopic();
        control_->GoToNextBrowseTopic();
        control_->GoToTopicPosition(3, 0);
        QCOMPARE(seen_.size(), 6);
        const int expected[] = {3, 2, 4, 1, 2, 3};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(seen_[i].index, expected[i]);
            QCOMPARE(seen_[i].va, expected[i]);
            QCOMPARE(seen_[i].scroll, 0);
        }
        QCOMPARE(seen_[0].topic, QStringLiteral("Tercer tema"));
        QCOMPARE(seen_[0].data, QStringLiteral("TEMA3"));
        QCOMPARE(seen_[2].data, QStringLiteral("NOTA"));
        QVERIFY(body(*control_)->toPlainText().contains(QStringLiteral("Párrafo 120")));
    }

    void unknownTargetsChangeNothing() {
        openSample();
        control_->setTopicIndex(2);
        seen_.clear();
        control_->OpenTopicByContext(QStringLiteral("NADA"));
        control_->setTopicIndex(99);
        control_->setTopicIndex(-1);
        control_->setMediaViewTopic(QStringLiteral("camión rojo")); // titles match exactly
        control_->GoToTopicPosition(0, 10);
        control_->ShowHotspotTarget(0);
        QCOMPARE(seen_.size(), 0);
        QCOMPARE(control_->TopicIndex(), 2);
        // The topic already shown is not opened again.
        control_->OpenTopicByContext(QStringLiteral("TEMA2"));
        QCOMPARE(seen_.size(), 0);
    }

    void titleOpensFirstTopicWithIt() {
        openSample();
        control_->setTopicIndex(3);
        control_->setMediaViewTopic(QStringLiteral("Camión rojo"));
        QCOMPARE(control_->TopicIndex(), 2);
    }

    void browsesInSequence() {
        openSample();
        QVERIFY(!control_->HasPreviousBrowseTopic());
        QVERIFY(control_->HasNextBrowseTopic());
        control_->GoToPreviousBrowseTopic();
        QCOMPARE(control_->TopicIndex(), 1);
        QStringList visited;
        while (control_->HasNextBrowseTopic()) {
            control_->GoToNextBrowseTopic();
            visited << control_->TopicData();
        }
        // NOTA is outside the browse sequence.
        QCOMPARE(visited, QStringList({"TEMA2", "TEMA3", "TEMA5"}));
        control_->GoToNextBrowseTopic();
        QCOMPARE(control_->TopicIndex(), 5);
        control_->GoToPreviousBrowseTopic();
        QCOMPARE(control_->TopicData(), QStringLiteral("TEMA3"));
        control_->setTopicIndex(4);
        QVERIFY(!control_->HasNextBrowseTopic());
    }

    void returnsToTopicAndScrollPosition() {
        openSample();
        control_->OpenTopicByContext(QStringLiteral("TEMA3"));
        QScrollBar *bar = body(*control_)->verticalScrollBar();
        QVERIFY(bar->maximum() > 200);
        bar->setValue(bar->maximum() / 2);
        const int va = control_->TopicVA();
        const int scroll = control_->TopicScroll();
        QCOMPARE(scroll, bar->maximum() / 2);
        control_->setTopicIndex(2);
        QCOMPARE(control_->TopicScroll(), 0);
        seen_.clear();
        control_->GoToTopicPosition(va, scroll);
        QCOMPARE(seen_.size(), 1);
        QCOMPARE(seen_[0].va, va);
        QCOMPARE(seen_[0].scroll, scroll);
        QCOMPARE(control_->TopicIndex(), 3);
        QCOMPARE(control_->TopicScroll(), scroll);
        QCOMPARE(bar->value(), scroll);
        // On the topic shown it still counts as a change (history relies on it).
        control_->GoToTopicPosition(va, 0);
        QCOMPARE(seen_.size(), 2);
        QCOMPARE(bar->value(), 0);
    }

    // A handler that moves on during the event wins; the first change is not
    // drawn over it.
    void handlerMayChangeTopicDuringEvent() {
        openSample();
        bool redirected = false;
        connect(control_, &TMedview::OnTopicChanging, this, [&] {
            if (!redirected && control_->TopicIndex() == 3) {
                redirected = true;
                control_->OpenTopicByContext(QStringLiteral("TEMA2"));
            }
        });
        control_->setTopicIndex(3);
        QCOMPARE(control_->TopicIndex(), 2);
        QVERIFY(body(*control_)->toPlainText().contains(QStringLiteral("camión")));
    }

    void hotspotsRaiseEventsWithTheirData() {
        openSample();
        QVector<Click> clicks;
        bool cancelJump = true;
        connect(control_, &TMedview::OnHotspotClicked, this,
                [&](int type, intptr_t data, bool &cancel) {
                    QVERIFY(!cancel);
                    Click click{type, QByteArray(), data};
                    if (type == 0)
                        click.text = QByteArray(reinterpret_cast<const char *>(data));
                    if (type == 1)
                        control_->ShowHotspotTarget(data);
                    if (type == 2)
                        cancel = cancelJump;
                    clicks.append(click);
                });
        QTextBrowser *text = body(*control_);
        clickAnchor(text, QStringLiteral("cmd:musica.wav"));
        clickAnchor(text, QStringLiteral("cmd:intro.avi 2"));
        clickAnchor(text, QStringLiteral("cmd:canción.wav"));
        QTRY_COMPARE(clicks.size(), 3);
        QCOMPARE(clicks[0].type, 0);
        QCOMPARE(clicks[0].text, QByteArray("musica.wav"));
        QCOMPARE(clicks[1].text, QByteArray("intro.avi 2"));
        QCOMPARE(clicks[2].text, QByteArray("canci\xF3n.wav")); // Windows-1252

        control_->setBackColorPopup(0x00FF0000);
        clickAnchor(text, QStringLiteral("popup:NOTA"));
        QTRY_COMPARE(clicks.size(), 4);
        QCOMPARE(clicks[3].type, 1);
        QTextBrowser *window = popup(*control_);
        QVERIFY(window && window->isVisible());
        QVERIFY(window->toPlainText().contains(QStringLiteral("Texto de la nota emergente")));
        QCOMPARE(window->palette().color(QPalette::Base), QColor(0, 0, 255));
        QCOMPARE(control_->TopicIndex(), 1);
        window->hide();

        seen_.clear();
        clickAnchor(text, QStringLiteral("jump:TEMA3"));
        QTRY_COMPARE(clicks.size(), 5);
        QCOMPARE(clicks[4].type, 2);
        QCOMPARE(control_->TopicIndex(), 1); // cancelled
        QVERIFY(seen_.isEmpty());
        cancelJump = false;
        clickAnchor(text, QStringLiteral("jump:NOEXISTE"));
        QTRY_COMPARE(clicks.size(), 6);
        QCOMPARE(clicks[5].data, intptr_t(0));
        QCOMPARE(control_->TopicIndex(), 1);
        clickAnchor(text, QStringLiteral("jump:TEMA3"));
        QTRY_COMPARE(control_->TopicIndex(), 3);
        QCOMPARE(seen_.size(), 1);
        QCOMPARE(seen_[0].topic, QStringLiteral("Tercer tema"));
    }

    void hotspotsLookLikeLinks() {
        openSample();
        const QPoint at = anchorPoint(body(*control_), QStringLiteral("cmd:musica.wav"));
        QCOMPARE(body(*control_)->anchorAt(at), QStringLiteral("cmd:musica.wav"));
        QTextCursor cursor = body(*control_)->cursorForPosition(at);
        cursor.movePosition(QTextCursor::NextCharacter);
        QVERIFY(cursor.charFormat().isAnchor());
        QVERIFY(cursor.charFormat().fontUnderline());
    }

    void mousePressInScrollingRegion() {
        openSample();
        QSignalSpy spy(control_, &TMedview::OnMouseDownSR);
        QWidget *area = body(*control_)->viewport();
        QTest::mousePress(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(300, 200));
        QTest::mouseRelease(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(300, 200));
        QTest::mousePress(area, Qt::RightButton, Qt::ControlModifier, QPoint(5, 7));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[0], QVariantList({1, 1, 300, 200}));
        QCOMPARE(spy[1], QVariantList({2, 2, 5, 7}));
        QTest::mousePress(header(*control_)->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(spy.size(), 2);
    }

    void displaySettings() {
        control_->setSRLeftMargin(25.0f);
        openSample();
        QTextDocument *document = body(*control_)->document();
        QCOMPARE(document->rootFrame()->frameFormat().leftMargin(),
                 document->documentMargin() + 25);
        control_->setBackColorSR(0x000000FF);
        control_->setBackColorNSR(0x0000FF00);
        QCOMPARE(control_->BackColorSR(), 0x000000FFu);
        QCOMPARE(body(*control_)->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(header(*control_)->palette().color(QPalette::Base), QColor(0, 255, 0));
        control_->setTopicIndex(2);
        QVERIFY(header(*control_)->isHidden()); // a topic without a header
        control_->setSRLeftMargin(std::numeric_limits<float>::quiet_NaN());
        control_->setSRLeftMargin(std::numeric_limits<float>::infinity());
        QCOMPARE(document->rootFrame()->frameFormat().leftMargin(), document->documentMargin());
    }

    // A position given before the control is laid out is taken once it is.
    void scrollPositionWaitsForLayout() {
        TMedview hidden;
        hidden.setMediaViewTitle(file_);
        hidden.GoToTopicPosition(3, 500);
        QCOMPARE(hidden.TopicScroll(), 500);
        hidden.resize(600, 400);
        hidden.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hidden));
        QTRY_COMPARE(body(hidden)->verticalScrollBar()->value(), 500);
        QCOMPARE(hidden.TopicScroll(), 500);
    }

    void zoomScalesTextAtOnce() {
        openSample();
        QCOMPARE(control_->FontZoom(), 100);
        const qreal base = body(*control_)->font().pointSizeF();
        auto bigWordSize = [&] {
            const QTextCursor found = body(*control_)->document()->find(QStringLiteral("Grande"));
            return found.charFormat().fontPointSize();
        };
        QCOMPARE(bigWordSize(), 20.0);
        control_->setFontZoom(200);
        QCOMPARE(body(*control_)->font().pointSizeF(), base * 2);
        QCOMPARE(bigWordSize(), 40.0);
        control_->setFontZoom(50);
        QCOMPARE(bigWordSize(), 10.0);
        QCOMPARE(header(*control_)->font().pointSizeF(), base / 2);
        for (const int odd : {0, -100, 40, 1000000, INT_MIN, INT_MAX}) {
            control_->setFontZoom(odd);
            QCOMPARE(control_->FontZoom(), odd);
            QVERIFY(body(*control_)->font().pointSizeF() > 0);
        }
        control_->setFontZoom(100);
        QCOMPARE(bigWordSize(), 20.0);
    }
};

QTEST_MAIN(TestMedview)
#include "test_medview.moc"
