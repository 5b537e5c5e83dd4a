// Video and sound playback of the viewer: videos play through the shared
// device alias in the video window FormaTelon, a 1000 ms poll closes them at
// their end, and a click in the text, the tree or the tool bar stops them and
// silences any sound.

#include "visor.h"

#include "display.h"
#include "intconv.h"
#include "mvutil.h"
#include "sound.h"
#include "video.h"
#include "videodevice.h"

#include <QFrame>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace {

// Window coordinates and sizes come from a video's own size times a zoom
// taken from the title, so they are worked out in 64 bits and kept within
// what a window can take.
int toCoordinate(int64_t value) {
    return int(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int toExtent(int64_t value) {
    return int(std::clamp<int64_t>(value, 0, QWIDGETSIZE_MAX));
}

// The video window is centred on the viewer's 640 x 480 frame.
void placeVideoWindow(int64_t panelTop, int64_t viewerLeft, int32_t width, int32_t height,
                      int32_t zoom) {
    const int64_t zoomedWidth = int64_t(width) * zoom;
    const int64_t zoomedHeight = int64_t(height) * zoom;
    const int top = toCoordinate(panelTop + (480 - zoomedHeight) / 2);
    const int left = toCoordinate(viewerLeft + (640 - zoomedWidth) / 2);
    FormaTelon->setGeometry(left, top, toExtent(zoomedWidth), toExtent(zoomedHeight));
    FormaTelon->show();
    FormaTelon->BringToFront();
}

void closeVideoWindow() {
    if (FormaTelon)
        FormaTelon->close();
}

// What a click in the text, the tree or on the tool bar does.
void stopVideoAndSilence(TformaVisor &viewer) {
    if (viewer.VideoPlaying) {
        viewer.VideoPlaying = false;
        viewer.CloseVideo();
        closeVideoWindow();
    }
    PlaySoundA(viewer.DataDir() + "wavs\\silencio.wav", nullptr, SND_ASYNC);
}

} // namespace

bool TformaVisor::PlayVideo(const AnsiString &path, int32_t zoom) {
    if (!videodevice::Open(path))
        return false;

    const AnsiString destination = videodevice::Destination();
    const int32_t height = StrToInt(NthWord(destination, 4));
    const int32_t width = StrToInt(NthWord(destination, 3));
    placeVideoWindow(Panel2->y(), x(), width, height, zoom);

    if (!videodevice::PlayInWindow(FormaTelon->winId()))
        return false;
    videoTimer->start();
    return true;
}

void TformaVisor::RealizeVideoPalette() {
    videodevice::RealizeBackground();
    SelectPalette(this, PaletteBitmap, false);
    RealizePalette(this);
}

bool TformaVisor::VideoStopped() {
    return videodevice::Stopped();
}

void TformaVisor::CloseVideo() {
    videodevice::Close();
    videoTimer->stop();
}

AnsiString TformaVisor::NthWord(const AnsiString &text, int32_t n) {
    AnsiString rest = text;
    for (int32_t i = 1; i < n; ++i) {
        const size_t blank = rest.find(' ');
        if (blank == AnsiString::npos)
            break;
        rest.erase(0, blank + 1);
    }
    return rest.substr(0, rest.find(' '));
}

// Polls the alias whoever opened it: the intro's video is watched too.
void TformaVisor::videoTimerTimer() {
    if (!VideoStopped())
        return;
    closeVideoWindow();
    CloseVideo();
    VideoPlaying = false;
}

void TformaVisor::Medview1MouseDownSR() {
    stopVideoAndSilence(*this);
}
void TformaVisor::TreeView1Click() {
    stopVideoAndSilence(*this);
}
void TformaVisor::ToolBar1Click() {
    stopVideoAndSilence(*this);
}
