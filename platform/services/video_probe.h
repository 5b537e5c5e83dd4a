#pragma once

#include <QString>
#include <cstdint>

// What the media device learns from a video file when it opens it: read at
// once from the file's headers (and a few packets), before anything plays.
struct VideoProbe {
    enum class Result { Ok, Missing, Unplayable };
    Result result = Result::Unplayable;
    int width = 0;
    int height = 0;
    int64_t lengthMs = 0;
    int64_t frames = 0;
};

// Opens `fileName` (a local file name) with libavformat: the file must exist,
// hold a video stream and have a decoder for it.
VideoProbe probeVideoFile(const QString &fileName);
