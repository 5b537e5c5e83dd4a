#include "video_probe.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

namespace {

// A damaged file is an ordinary answer here, not something to log.
void quietLibav() {
    static const bool done = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    (void)done;
}

struct FormatContext {
    AVFormatContext *context = nullptr;
    ~FormatContext() { avformat_close_input(&context); }
};

int64_t streamLengthMs(const AVFormatContext *format, const AVStream *stream) {
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        return av_rescale(format->duration, 1000, AV_TIME_BASE);
    return 0;
}

int64_t streamFrames(const AVStream *stream, int64_t lengthMs) {
    if (stream->nb_frames > 0)
        return stream->nb_frames;
    const AVRational rate =
        stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        return 0;
    return av_rescale(lengthMs, rate.num, int64_t(rate.den) * 1000);
}

} // namespace

VideoProbe probeVideoFile(const QString &fileName) {
    VideoProbe probe;
    if (!QFileInfo(fileName).isFile()) {
        probe.result = VideoProbe::Result::Missing;
        return probe;
    }
    quietLibav();
    FormatContext format;
    const QByteArray localName = QFile::encodeName(fileName);
    if (avformat_open_input(&format.context, localName.constData(), nullptr, nullptr) < 0)
        return probe;
    if (avformat_find_stream_info(format.context, nullptr) < 0)
        return probe;
    const int index = av_find_best_stream(format.context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return probe;
    const AVStream *stream = format.context->streams[index];
    const AVCodecParameters *codec = stream->codecpar;
    if (!avcodec_find_decoder(codec->codec_id) || codec->width <= 0 || codec->height <= 0)
        return probe;

    probe.result = VideoProbe::Result::Ok;
    probe.width = codec->width;
    probe.height = codec->height;
    probe.lengthMs = streamLengthMs(format.context, stream);
    probe.frames = streamFrames(stream, probe.lengthMs);
    return probe;
}
