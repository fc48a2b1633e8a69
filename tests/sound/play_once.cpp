// Plays one of the program's sounds through the sound module, as a click is played in a game
// (without waiting for it), keeps running a moment as the game would, and exits. heard.sh runs
// it against a real sound server and listens to what the server sends out.

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "desktop/SoundOutput.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: play_once SOUND-MODULE WAVE-FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "play_once: cannot read %s\n", argv[2]);
        return 2;
    }
    const std::optional<WaveImage> wave = WaveImage::parse(file.readAll());
    if (!wave) {
        std::fprintf(stderr, "play_once: %s is not a PCM WAVE file\n", argv[2]);
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW);
    auto create = module
                      ? reinterpret_cast<CreateSoundOutput>(dlsym(module, kCreateSoundOutputSymbol))
                      : nullptr;
    if (!create) {
        std::fprintf(stderr, "play_once: %s is not a sound module\n", argv[1]);
        return 2;
    }
    ISoundOutput* output = create();
    output->play(*wave, false);
    // The game goes on after a click: the output is not torn down the moment it is fed.
    QTimer::singleShot(700, &app, &QCoreApplication::quit);
    const int status = app.exec();
    delete output;
    return status;
}
