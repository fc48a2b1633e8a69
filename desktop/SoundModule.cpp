#include "desktop/SoundModule.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

#ifndef REALTOPIA_SOUND_MODULE_NAME
#define REALTOPIA_SOUND_MODULE_NAME "realtopia-sound.so"
#endif
#ifndef REALTOPIA_SOUND_MODULE_INSTALLED
#define REALTOPIA_SOUND_MODULE_INSTALLED "../lib/realtopia/plugins/realtopia-sound.so"
#endif

namespace {

// Whether something listens on the local socket at `path`: a connection is made and closed
// at once, which costs a few microseconds and no library.
bool SocketAnswers(const QByteArray& path) {
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answers;
}

}  // namespace

SoundModule::SoundModule(QString path) : path_(path.isEmpty() ? locate() : std::move(path)) {}

SoundModule::~SoundModule() {
    // The output goes; the library stays mapped (the audio system keeps threads of its own).
    output_.reset();
}

QString SoundModule::locate() {
    const QString chosen = qEnvironmentVariable("REALTOPIA_SOUND_MODULE");
    if (!chosen.isEmpty()) return chosen;
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QStringLiteral(REALTOPIA_SOUND_MODULE_NAME));
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(programDir.filePath(QStringLiteral(REALTOPIA_SOUND_MODULE_INSTALLED)));
}

bool SoundModule::soundServerAnswers() {
    // PULSE_SERVER lists servers to try; a local one is asked, a remote one taken on trust.
    const QString servers = qEnvironmentVariable("PULSE_SERVER");
    if (!servers.trimmed().isEmpty()) {
        for (QString server : servers.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (server.startsWith(QLatin1String("unix:"))) server = server.mid(5);
            if (!server.startsWith(QLatin1Char('/'))) return true;
            if (SocketAnswers(QFile::encodeName(server))) return true;
        }
        return false;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() &&
        SocketAnswers(QFile::encodeName(runtime + QStringLiteral("/pulse/native"))))
        return true;
    // A server run for the whole system.
    return SocketAnswers(QByteArrayLiteral("/run/pulse/native"));
}

bool SoundModule::load() {
    if (output_) return true;
    if (tried_) return false;
    tried_ = true;
    library_.setFileName(path_);
    if (!library_.load()) return false;
    const auto create =
        reinterpret_cast<CreateSoundOutput>(library_.resolve(kCreateSoundOutputSymbol));
    if (create == nullptr) return false;
    output_.reset(create());
    return output_ != nullptr;
}

bool SoundModule::deviceWorks() {
    if (output_) return output_->deviceWorks();
    return QFileInfo::exists(path_) && soundServerAnswers();
}

IEffects::SoundResult SoundModule::play(const std::string& name, bool wait) {
    QFile file(WaveImage::resourcePath(name));
    if (!file.exists()) return IEffects::SoundResult::NotFound;
    if (!file.open(QIODevice::ReadOnly)) return IEffects::SoundResult::NotLoaded;
    const std::optional<WaveImage> wave = WaveImage::parse(file.readAll());
    if (!wave) return IEffects::SoundResult::Bad;
    if (load()) output_->play(*wave, wait);
    return IEffects::SoundResult::Played;
}
