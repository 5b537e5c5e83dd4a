// The desktop's sound player behind PlaySoundA: the file is checked here, and
// the media module (media_module.h) plays it.

#include "sound_player.h"

#include "media_module.h"
#include "paths.h"
#include "sound.h"

#include <QFile>

namespace {

// A RIFF WAVE header: anything else is no sound, as the platform's player
// refuses it before it starts.
bool looksLikeWave(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(12);
    return header.size() == 12 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE";
}

} // namespace

namespace sound {

QString playingFile() {
    const media::Module *module = media::loadedModule();
    return module ? module->playingSound() : QString();
}

} // namespace sound

// Every sound plays in the background, as SND_ASYNC asks; the reader passes
// no other flag.
bool desktopPlaySound(const AnsiString &fileName, unsigned) {
    const QString local = paths::resolvePath(fileName);
    if (local.isEmpty() || !looksLikeWave(local))
        return false;
    const media::Module *module = media::module();
    if (!module)
        return false;
    module->playSound(local);
    return true;
}
