// What only a real desktop shows: the order of the windows on screen. Run on
// an X server of its own with a window manager (with-window-manager.sh).

#include "video.h"
#include "visor_fixture.h"
#include "visorlinea.h"

#include <QGuiApplication>
#include <QToolButton>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>

using namespace visortest;

namespace {

// A property of the root window that lists windows; empty when it is not set.
std::vector<Window> rootWindowList(Display *display, const char *property) {
    std::vector<Window> windows;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, property, False), 0, 4096, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        const auto *listed = reinterpret_cast<const Window *>(data);
        windows.assign(listed, listed + count);
        XFree(data);
    }
    return windows;
}

// Whether the window manager stacks `upper` above `lower`.
bool above(Display *display, const QWidget *upper, const QWidget *lower) {
    const std::vector<Window> order = rootWindowList(display, "_NET_CLIENT_LIST_STACKING");
    const auto place = [&order](const QWidget *widget) {
        return std::find(order.begin(), order.end(), Window(widget->winId())) - order.begin();
    };
    const auto top = place(upper);
    const auto bottom = place(lower);
    return top < long(order.size()) && bottom < long(order.size()) && top > bottom;
}

bool windowManagerRunning(Display *display) {
    return !rootWindowList(display, "_NET_SUPPORTING_WM_CHECK").empty();
}

} // namespace

class TestStacking : public QObject {
    Q_OBJECT

    std::unique_ptr<TitleFolder> folder;
    std::unique_ptr<TformaVisorLinea> viewer;
    std::unique_ptr<TFormaTelon> pictureWindow;
    Display *display = nullptr;

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server with a window manager");
        display = XOpenDisplay(nullptr);
        QVERIFY(display);
        QTRY_VERIFY_WITH_TIMEOUT(windowManagerRunning(display), 10000);
    }
    void cleanupTestCase() {
        if (display)
            XCloseDisplay(display);
    }

    // The picture window stays above the viewer when the viewer comes to the
    // front, as a click into it brings it, over another program's window; a
    // click on the picture closes it.
    void aPictureStaysAboveTheViewer() {
        folder = std::make_unique<TitleFolder>();
        folder->writePalette();
        folder->writeTitle();
        folder->scratch().write("prueba.inf",
                                QByteArray("SI\r\n").repeated(16) + "16\r\n8\r\n17\r\nNO\r\n");
        QImage picture(QSize(200, 120), QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(QDir(folder->scratch().path()).mkpath("JPG"));
        QVERIFY(picture.save(folder->path("JPG/foto.jpg"), "JPG"));
        testsupport::ErrorRecorder errors;
        viewer = std::make_unique<TformaVisorLinea>();
        formaVisor = viewer.get();
        QVERIFY(runHandler(viewer->OnCreate));
        pictureWindow = std::make_unique<TFormaTelon>();
        FormaTelon = pictureWindow.get();
        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));

        viewer->ShowJpgHotspot("foto.jpg");
        QVERIFY(QTest::qWaitForWindowExposed(FormaTelon));
        QWidget otherProgram;
        otherProgram.setGeometry(100, 100, 400, 300);
        otherProgram.show();
        QVERIFY(QTest::qWaitForWindowExposed(&otherProgram));
        QTRY_VERIFY(above(display, &otherProgram, viewer.get()));

        viewer->raise();
        viewer->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(above(display, viewer.get(), &otherProgram), 10000);
        QTRY_VERIFY(above(display, FormaTelon, viewer.get()));
        QVERIFY(FormaTelon->isVisible());

        QTest::mouseClick(FormaTelon, Qt::LeftButton);
        QVERIFY(!FormaTelon->isVisible());
        FormaTelon = nullptr;
        pictureWindow.reset();
        viewer.reset();
        formaVisor = nullptr;
        folder.reset();
    }
};

QTEST_MAIN(TestStacking)
#include "test_stacking.moc"
