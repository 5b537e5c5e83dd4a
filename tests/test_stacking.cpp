// What only a real desktop shows: the order of the windows on screen. Run on
// an X server of its own with a window manager (with-window-manager.sh).

#include "video.h"
#include "visor.h"

#include <QGuiApplication>
#include <QTest>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

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
bool above(Display *display, const QWidget &upper, const QWidget &lower) {
    const std::vector<Window> order = rootWindowList(display, "_NET_CLIENT_LIST_STACKING");
    const auto top = std::find(order.begin(), order.end(), Window(upper.winId()));
    const auto bottom = std::find(order.begin(), order.end(), Window(lower.winId()));
    return top != order.end() && bottom != order.end() && top > bottom;
}

} // namespace

class TestStacking : public QObject {
    Q_OBJECT

private slots:
    // The video and picture window stays above the viewer when the viewer
    // comes to the front over another program's window, as a click into it
    // brings it.
    void thePictureWindowStaysAboveTheViewer() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server with a window manager");
        Display *display = XOpenDisplay(nullptr);
        QVERIFY(display);
        QTRY_VERIFY_WITH_TIMEOUT(!rootWindowList(display, "_NET_SUPPORTING_WM_CHECK").empty(),
                                 10000);
        TformaVisor viewer;
        formaVisor = &viewer;
        TFormaTelon picture;
        FormaTelon = &picture;
        viewer.setWindowState(Qt::WindowNoState);
        viewer.setGeometry(0, 0, 640, 480);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        picture.setGeometry(300, 300, 200, 120);
        picture.show();
        QWidget otherProgram;
        otherProgram.setGeometry(100, 100, 400, 300);
        otherProgram.show();
        QVERIFY(QTest::qWaitForWindowExposed(&otherProgram));
        QTRY_VERIFY(above(display, otherProgram, viewer));

        viewer.raise();
        viewer.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(above(display, viewer, otherProgram), 10000);
        QTRY_VERIFY(above(display, picture, viewer));
        FormaTelon = nullptr;
        formaVisor = nullptr;
        XCloseDisplay(display);
    }
};

QTEST_MAIN(TestStacking)
#include "test_stacking.moc"
