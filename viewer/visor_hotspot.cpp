// The hotspot commands of a title: a type 0 hotspot carries a short text that
// is matched against an ordered list of independent rules, so one text can set
// off several actions (a sound, a video, a picture, a web address, a program,
// another title, a document, the close of the reader).

#include "visor.h"

#include "intconv.h"
#include "medview.h"
#include "mvutil.h"
#include "scroll.h"
#include "shell.h"
#include "sound.h"

#include <cstring>

namespace {

// A hotspot text longer than these is cut to them.
constexpr size_t kHotspotTextMax = 80;
constexpr size_t kWebAddressTextMax = 73; // "http://" + text within 80

AnsiString hotspotText(intptr_t data) {
    const char *text = reinterpret_cast<const char *>(data);
    return AnsiString(text, strnlen(text, kHotspotTextMax));
}

bool containsKey(const AnsiString &text, const char *key) {
    return ansi::upperAscii(text).find(key) != AnsiString::npos;
}

// The text before and after its first blank; false when it has none.
bool splitAtFirstBlank(const AnsiString &text, AnsiString &before, AnsiString &after) {
    const size_t blank = text.find(' ');
    if (blank == AnsiString::npos)
        return false;
    before = text.substr(0, blank);
    after = text.substr(blank + 1);
    return true;
}

// A three-character extension after the text's first dot.
bool endsInExtensionAfterFirstDot(const AnsiString &text) {
    const size_t dot = text.find('.');
    return dot != AnsiString::npos && dot + 4 == text.size();
}

class HotspotRules {
public:
    HotspotRules(TformaVisor &viewer, AnsiString text) : viewer_(viewer), S(std::move(text)) {}

    void run() {
        if (fires(".WAV"))
            playSound();
        if (fires(".AVI"))
            playVideo();
        if (fires(".JPG"))
            viewer_.ShowJpgHotspot(S);
        if (fires(".BMP"))
            viewer_.ShowBmpHotspot(S);
        if (fires("WWW"))
            openWebAddress();
        if (fires(".EXE"))
            startProgram();
        if (viewer_.OpensOtherTitles() && fires(".DVK"))
            openOtherTitle();
        if (fires(".DOC"))
            openDocument("DOC\\");
        if (fires(".XLS"))
            openDocument("XLS\\");
        if (fires(".PDF"))
            openDocument("PDF\\");
        if (fires(".PPT"))
            openDocument("PPT\\");
        if (fires(".HTM"))
            openDocument("HTM\\");
        if (containsKey(S, ".") && !Handled && endsInExtensionAfterFirstDot(S))
            openDocument("ANEXOS\\");
        if (containsKey(S, "SALIDA") && !Handled)
            viewer_.close();
    }

private:
    // Rules 1 to 12: the key alone decides, and a rule that fires marks the
    // click handled.
    bool fires(const char *key) {
        if (!containsKey(S, key))
            return false;
        Handled = true;
        return true;
    }

    void shell(const AnsiString &file, const AnsiString &parameters, const AnsiString &directory) {
        ShellExecuteA(&viewer_, AnsiString(), file, parameters, directory, SW_SHOWMAXIMIZED);
    }

    void playSound() { PlaySoundA(viewer_.DataDir() + "wavs\\" + S, nullptr, SND_ASYNC); }

    // "name zoom" or "name"; a zoom that is no whole number ends the click.
    void playVideo() {
        AnsiString name, zoomText;
        int32_t zoom = 1;
        if (splitAtFirstBlank(S, name, zoomText))
            zoom = StrToInt(zoomText);
        else
            name = S;
        viewer_.VideoPlaying = viewer_.PlayVideo(viewer_.DataDir() + "videos\\" + name, zoom);
        viewer_.RealizeVideoPalette();
    }

    void openWebAddress() { shell("http://" + S.substr(0, kWebAddressTextMax), {}, {}); }

    // "program parameters" or "program"; the parameters replace the text.
    void startProgram() {
        AnsiString program, parameters;
        if (splitAtFirstBlank(S, program, parameters)) {
            S = parameters;
            shell(program, S, {});
        } else {
            program = S;
            shell(S, {}, {});
        }
        if (viewer_.ClosesAfterLaunch() && containsKey(program, "GENERAL.EXE"))
            viewer_.close();
    }

    // Another title in a new instance of the reader, started in its folder.
    void openOtherTitle() {
        const AnsiString dir = viewer_.DataDir();
        S.erase(S.size() - 4);
        shell(dir + "LectorDorvik.exe", S, dir);
        if (viewer_.ClosesAfterLaunch())
            viewer_.close();
    }

    void openDocument(const char *folder) {
        shell("file://" + viewer_.DataDir() + folder + S, {}, {});
    }

    TformaVisor &viewer_;
    AnsiString S;
    bool Handled = false;
};

} // namespace

void TformaVisor::Medview1HotspotClicked(int HotspotType, intptr_t HotspotData, bool &Cancel) {
    Cancel = true;
    switch (HotspotType) {
    case 1:
        Medview1->ShowHotspotTarget(HotspotData);
        return;
    case 2:
        Cancel = false;
        return;
    case 0:
        if (HotspotData == 0)
            return;
        HotspotRules(*this, hotspotText(HotspotData)).run();
        return;
    default:
        return;
    }
}

AnsiString TformaVisor::DataDir() const {
    return BaseDir;
}
bool TformaVisor::ClosesAfterLaunch() const {
    return CloseAfterLaunch;
}
bool TformaVisor::OpensOtherTitles() const {
    return true;
}

namespace {
// Holds the click until the user closes the picture.
void showInPictureViewer(const AnsiString &file) {
    if (!Scrollbmp)
        return;
    Scrollbmp->PictureFile = file;
    Scrollbmp->ShowModal();
}
} // namespace

void TformaVisor::ShowJpgHotspot(const AnsiString &text) {
    showInPictureViewer(DataDir() + "jpg\\" + text);
}
void TformaVisor::ShowBmpHotspot(const AnsiString &text) {
    showInPictureViewer(DataDir() + "fotos\\" + text);
}
