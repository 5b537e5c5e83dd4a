// The media device behind mciSendStringA: the command strings of AVI playback
// under one alias. Opening probes the file at once (size, length, a decoder
// for its video); playback runs by itself in the media module (its picture
// fills the window named by "window ... handle", its sound goes to the
// desktop's sound output). Everything runs on the user-interface thread.

#include "mci.h"

#include "media_module.h"
#include "paths.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Results, numbered as the platform's media control interface numbers them.
enum MciResult : uint32_t {
    MciOk = 0,
    MciUnrecognizedKeyword = 259,
    MciUnrecognizedCommand = 261,
    MciNoSuchDevice = 263,     // no device is open under the alias
    MciCannotLoadDriver = 266, // a device type other than AVIVideo, or no application
    MciReplyTooLong = 268,     // the reply was cut to the room given
    MciBadInteger = 270,
    MciMissingParameter = 273,
    MciFileNotFound = 275,
    MciDeviceTypeRequired = 287,
    MciAliasTaken = 289, // a video is already open: one at a time
    MciBadTimeFormat = 293,
    MciMissingDeviceName = 292,
    MciInvalidFile = 296, // no video stream, or no decoder for it
    MciNoWindow = 346,    // the handle names no window of this program
};

using Words = std::vector<AnsiString>;

Words splitWords(const AnsiString &text) {
    Words words;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(" \t", pos);
        if (start == AnsiString::npos)
            break;
        const size_t end = std::min(text.find_first_of(" \t", start), text.size());
        words.push_back(text.substr(start, end - start));
        pos = end;
    }
    return words;
}

// Keywords and aliases match without regard to case.
bool is(const AnsiString &word, const char *keyword) {
    return ansi::upperAscii(word) == keyword;
}

bool parseDecimal(const AnsiString &word, unsigned long long &value) {
    if (word.empty() || word.size() > 20)
        return false;
    value = 0;
    for (const char ch : word) {
        if (ch < '0' || ch > '9')
            return false;
        const unsigned long long digit = unsigned(ch - '0');
        if (value > (~0ULL - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// One open video: its probed facts, the window it shows in, and its output.
class VideoDevice : public QObject {
public:
    VideoDevice(const AnsiString &alias, const VideoProbe &probe, media::VideoOutput *output,
                QObject *parent)
        : QObject(parent), alias_(alias), probe_(probe), output_(output) {}

    ~VideoDevice() override {
        if (host_)
            host_->removeEventFilter(this);
    }

    bool hasAlias(const AnsiString &alias) const {
        return ansi::upperAscii(alias) == ansi::upperAscii(alias_);
    }

    // "left top width height" of the video's own picture or of where it is drawn.
    AnsiString rectangle(bool destination) const {
        const QRect rect =
            destination ? destinationRect() : QRect(0, 0, probe_.width, probe_.height);
        return "0 0 " + std::to_string(rect.width()) + " " + std::to_string(rect.height());
    }

    void showIn(QWidget *host) {
        if (host != host_) {
            if (host_)
                host_->removeEventFilter(this);
            host_ = host;
            host_->installEventFilter(this);
            placeScreen();
        }
    }

    void setScreenVisible(bool visible) {
        screenVisible_ = visible;
        placeScreen();
    }

    void fillWindow() {
        fillsWindow_ = true;
        placeScreen();
    }

    void setTimeInFrames(bool frames) { timeInFrames_ = frames; }

    AnsiString length() const {
        return std::to_string(timeInFrames_ ? probe_.frames : probe_.lengthMs);
    }

    // The file was probed at open: the device is ready from then on.
    AnsiString mode() const {
        switch (output_->state()) {
        case media::VideoOutput::State::Stopped:
            return "stopped";
        case media::VideoOutput::State::Paused:
            return "paused";
        case media::VideoOutput::State::Playing:
            break;
        }
        return "playing";
    }

    void play() { output_->play(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == host_ && event->type() == QEvent::Resize)
            placeScreen();
        return QObject::eventFilter(watched, event);
    }

private:
    // The video's own size at the top left until "put ... destination"; then
    // the whole client area of its window.
    QRect destinationRect() const {
        if (fillsWindow_ && host_)
            return host_->rect();
        return QRect(0, 0, probe_.width, probe_.height);
    }

    void placeScreen() {
        if (host_)
            output_->show(host_, destinationRect(), screenVisible_);
    }

    const AnsiString alias_;
    const VideoProbe probe_;
    const std::unique_ptr<media::VideoOutput> output_;
    QPointer<QWidget> host_;
    bool screenVisible_ = true;
    bool fillsWindow_ = false;
    bool timeInFrames_ = true; // the device's own default until "set ... time format"
};

// One video at a time is open in the process.
QPointer<VideoDevice> &openDevice() {
    static QPointer<VideoDevice> device;
    return device;
}

struct OpenRequest {
    AnsiString path;
    AnsiString type;
    AnsiString alias;
};

AnsiString trimBlanks(const AnsiString &text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == AnsiString::npos)
        return AnsiString();
    const size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

// "open <path> type <device type> alias <alias>": the path may hold blanks
// and comes unquoted, so it runs up to the last " type ".
uint32_t parseOpen(const AnsiString &command, OpenRequest &request) {
    const size_t verbStart = command.find_first_not_of(" \t");
    const size_t pathStart = verbStart + 4;
    const size_t typeAt = ansi::upperAscii(command).rfind(" TYPE ");
    if (typeAt == AnsiString::npos || typeAt < pathStart)
        return MciDeviceTypeRequired;
    request.path = trimBlanks(command.substr(pathStart, typeAt - pathStart));
    if (request.path.size() >= 2 && request.path.front() == '"' && request.path.back() == '"')
        request.path = request.path.substr(1, request.path.size() - 2);

    const Words tail = splitWords(command.substr(typeAt + 6));
    if (tail.empty())
        return MciMissingParameter;
    request.type = tail[0];
    for (size_t i = 1; i < tail.size(); i += 2) {
        if (!is(tail[i], "ALIAS"))
            return MciUnrecognizedKeyword;
        if (i + 1 >= tail.size())
            return MciMissingParameter;
        request.alias = tail[i + 1];
    }
    if (request.path.empty() || request.alias.empty())
        return MciMissingParameter;
    return MciOk;
}

uint32_t openVideo(const AnsiString &command) {
    OpenRequest request;
    if (const uint32_t result = parseOpen(command, request))
        return result;
    if (!is(request.type, "AVIVIDEO"))
        return MciCannotLoadDriver;
    if (openDevice())
        return MciAliasTaken;
    const media::Module *module = media::module();
    if (!module)
        return MciCannotLoadDriver;

    const QString fileName = paths::resolvePath(request.path);
    const VideoProbe probe = module->probeVideo(fileName);
    switch (probe.result) {
    case VideoProbe::Result::Missing:
        return MciFileNotFound;
    case VideoProbe::Result::Unplayable:
        return MciInvalidFile;
    case VideoProbe::Result::Ok:
        break;
    }
    openDevice() = new VideoDevice(request.alias, probe, module->openVideo(fileName),
                                   QCoreApplication::instance());
    return MciOk;
}

uint32_t whereCommand(VideoDevice &device, const Words &args, AnsiString &reply) {
    if (args.empty())
        return MciMissingParameter;
    if (args.size() != 1 || !(is(args[0], "DESTINATION") || is(args[0], "SOURCE")))
        return MciUnrecognizedKeyword;
    reply = device.rectangle(is(args[0], "DESTINATION"));
    return MciOk;
}

uint32_t windowCommand(VideoDevice &device, const Words &args, AnsiString &) {
    if (args.empty())
        return MciMissingParameter;
    QWidget *host = nullptr;
    std::optional<bool> show;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return MciMissingParameter;
        const AnsiString &value = args[i + 1];
        if (is(args[i], "HANDLE")) {
            unsigned long long handle = 0;
            if (!parseDecimal(value, handle))
                return MciBadInteger;
            host = QWidget::find(WId(handle));
            if (!host)
                return MciNoWindow;
        } else if (is(args[i], "STATE") && (is(value, "SHOW") || is(value, "HIDE"))) {
            show = is(value, "SHOW");
        } else {
            return MciUnrecognizedKeyword;
        }
    }
    if (host)
        device.showIn(host);
    if (show)
        device.setScreenVisible(*show);
    return MciOk;
}

uint32_t setCommand(VideoDevice &device, const Words &args, AnsiString &) {
    if (args.empty())
        return MciMissingParameter;
    if (args.size() != 3 || !is(args[0], "TIME") || !is(args[1], "FORMAT"))
        return MciUnrecognizedKeyword;
    if (is(args[2], "MS") || is(args[2], "MILLISECONDS"))
        device.setTimeInFrames(false);
    else if (is(args[2], "FRAMES"))
        device.setTimeInFrames(true);
    else
        return MciBadTimeFormat;
    return MciOk;
}

uint32_t statusCommand(VideoDevice &device, const Words &args, AnsiString &reply) {
    if (args.empty())
        return MciMissingParameter;
    if (args.size() == 1 && is(args[0], "LENGTH"))
        reply = device.length();
    else if (args.size() == 1 && is(args[0], "MODE"))
        reply = device.mode();
    else
        return MciUnrecognizedKeyword;
    return MciOk;
}

uint32_t putCommand(VideoDevice &device, const Words &args, AnsiString &) {
    if (args.empty())
        return MciMissingParameter;
    if (args.size() != 1 || !is(args[0], "DESTINATION"))
        return MciUnrecognizedKeyword;
    device.fillWindow();
    return MciOk;
}

uint32_t playCommand(VideoDevice &device, const Words &args, AnsiString &) {
    if (!args.empty())
        return MciUnrecognizedKeyword;
    device.play();
    return MciOk;
}

uint32_t closeCommand(VideoDevice &device, const Words &args, AnsiString &) {
    if (!args.empty())
        return MciUnrecognizedKeyword;
    delete &device;
    return MciOk;
}

// Displays have no palette today: there is nothing to realise.
uint32_t realizeCommand(VideoDevice &, const Words &args, AnsiString &) {
    if (args.size() > 1 ||
        (args.size() == 1 && !is(args[0], "BACKGROUND") && !is(args[0], "NORMAL")))
        return MciUnrecognizedKeyword;
    return MciOk;
}

using DeviceCommand = uint32_t (*)(VideoDevice &, const Words &, AnsiString &);

DeviceCommand deviceCommand(const AnsiString &verb) {
    static const std::pair<const char *, DeviceCommand> commands[] = {
        {"WHERE", whereCommand},   {"WINDOW", windowCommand},   {"SET", setCommand},
        {"STATUS", statusCommand}, {"PUT", putCommand},         {"PLAY", playCommand},
        {"CLOSE", closeCommand},   {"REALIZE", realizeCommand},
    };
    for (const auto &[name, command] : commands) {
        if (is(verb, name))
            return command;
    }
    return nullptr;
}

uint32_t runCommand(const AnsiString &command, AnsiString &reply) {
    const Words words = splitWords(command);
    if (words.empty())
        return MciUnrecognizedCommand;
    if (is(words[0], "OPEN"))
        return openVideo(command);
    const DeviceCommand run = deviceCommand(words[0]);
    if (!run)
        return MciUnrecognizedCommand;
    if (words.size() < 2)
        return MciMissingDeviceName;
    VideoDevice *device = openDevice().data();
    if (!device || !device->hasAlias(words[1]))
        return MciNoSuchDevice;
    return run(*device, Words(words.begin() + 2, words.end()), reply);
}

} // namespace

uint32_t desktopMciSendString(const AnsiString &command, char *reply, size_t replySize) {
    AnsiString text;
    const uint32_t result = runCommand(command, text);
    if (result != MciOk)
        text.clear();
    // A reply cut to the room given is an error of its own.
    const bool whole = ansi::copyToBuffer(text, reply, replySize);
    return result == MciOk && !whole ? MciReplyTooLong : result;
}
