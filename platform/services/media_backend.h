#pragma once

// Qt Multimedia picks its backend once, at the first media object. Ours is
// GStreamer: the FFmpeg backend ends the process when no sound server runs.
namespace media {

// Chooses GStreamer unless QT_MEDIA_BACKEND already names a backend. Runs at
// program start and again before the media module loads; a no-op after the
// first time.
void chooseBackend();

} // namespace media
