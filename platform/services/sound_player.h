#pragma once

#include <QString>

// The desktop's sound player behind PlaySoundA.
namespace sound {

// The local file of the sound that plays now, or an empty string.
QString playingFile();

} // namespace sound
