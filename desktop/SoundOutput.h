#pragma once

#include "desktop/WaveImage.h"

// What the sound module (realtopia-sound, built from desktop/sound/) offers the program. The
// module holds everything that needs Qt Multimedia, whose libraries are opened only with it:
// the program loads it with QLibrary on the first sound (desktop/SoundModule).
class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    // Plays the samples in the background, or to their end when `wait` is set. A new sound
    // cuts off the one playing. A missing or busy device plays nothing and says nothing.
    virtual void play(const WaveImage& wave, bool wait) = 0;
    // Whether the system offers an audio output.
    virtual bool deviceWorks() = 0;
};

// The module's one exported function: a new output, owned by the caller.
using CreateSoundOutput = ISoundOutput* (*)();
inline constexpr const char* kCreateSoundOutputSymbol = "realtopia_create_sound_output";
