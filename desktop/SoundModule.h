#pragma once

#include <QLibrary>
#include <QString>
#include <memory>
#include <string>

#include "desktop/SoundOutput.h"
#include "ui/Effects.h"

// The program's sounds, played by the sound module, which is loaded on the first sound. Until
// then no audio library is open; asking whether a sound can be
// played asks the sound server itself. A module that is missing or does not load is a device
// that does not work: sounds pass in silence and nothing is reported.
class SoundModule {
public:
    // The module at `path`, or where the program keeps it (see locate()) when empty.
    explicit SoundModule(QString path = {});
    ~SoundModule();
    SoundModule(const SoundModule&) = delete;
    SoundModule& operator=(const SoundModule&) = delete;

    // NotFound when there is no such sound, NotLoaded when it cannot be read, Bad when it is
    // not a PCM WAVE image; otherwise Played, also when nothing could play it.
    IEffects::SoundResult play(const std::string& name, bool wait);
    // Whether a sound can be played: the module is there and a sound server answers (once
    // the module is loaded, the audio system's own answer).
    bool deviceWorks();
    // Loads the module now; false when it is missing or is not a sound module.
    bool load();
    bool isLoaded() const { return output_ != nullptr; }
    const QString& path() const { return path_; }

    // The module's file: $REALTOPIA_SOUND_MODULE when set, else beside the program (a build
    // directory) or in the library directory of an installation.
    static QString locate();
    // Whether a PulseAudio server (or PipeWire's, which speaks its protocol) accepts a
    // connection, asked without any audio library.
    static bool soundServerAnswers();

private:
    QString path_;
    QLibrary library_;
    bool tried_ = false;
    std::unique_ptr<ISoundOutput> output_;
};
