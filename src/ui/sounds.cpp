// Playing the named sounds of the picture library through Qt Multimedia.
#include "ui/sounds.h"

#include "ui/picture_library.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace cw::ui {

namespace {

// Length of a PCM WAVE file in milliseconds from its header (0 when unreadable).
int waveMilliseconds(const QByteArray& wav)
{
    if (wav.size() < 44 || !wav.startsWith("RIFF"))
        return 0;
    const auto u32 = [&](int at) {
        return static_cast<quint32>(static_cast<uchar>(wav[at])) | (static_cast<quint32>(static_cast<uchar>(wav[at + 1])) << 8)
            | (static_cast<quint32>(static_cast<uchar>(wav[at + 2])) << 16)
            | (static_cast<quint32>(static_cast<uchar>(wav[at + 3])) << 24);
    };
    const quint32 byteRate = u32(28);
    return byteRate ? static_cast<int>(qint64(wav.size() - 44) * 1000 / byteRate) : 0;
}

} // namespace

SoundPlayer::SoundPlayer(const PictureLibrary& library, QObject* parent)
    : QObject(parent), m_library(library)
{
    m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::isEnabled(const QString& soundsEnabled, const QString& eventPreference)
{
    return soundsEnabled.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0
        && eventPreference.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
}

QString SoundPlayer::soundFile(const QString& name)
{
    const QByteArray wav = m_library.sound(name);
    if (wav.isEmpty())
        return {};
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/cardwise");
    folder += QStringLiteral("/sounds");
    if (!QDir().mkpath(folder))
        return {};
    // Only names of the library reach this point, but keep them plain file names anyway.
    QString safe = name.toLower();
    safe.replace(QRegularExpression(QStringLiteral("[^a-z0-9_-]")), QStringLiteral("_"));
    const QString path = folder + QLatin1Char('/') + safe + QStringLiteral(".wav");
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wav)
        return path;
    existing.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(wav) != wav.size() || !out.commit())
        return {};
    return path;
}

QSoundEffect* SoundPlayer::effectFor(const QString& name)
{
    if (!m_hasOutput)
        return nullptr;
    const QString key = name.toLower();
    if (auto it = m_effects.constFind(key); it != m_effects.constEnd())
        return *it;
    const QString file = soundFile(name);
    QSoundEffect* effect = nullptr;
    if (!file.isEmpty()) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(file));
    }
    m_effects.insert(key, effect);
    return effect;
}

void SoundPlayer::play(const QString& name)
{
    QSoundEffect* effect = effectFor(name);
    if (!effect)
        return;
    stop();
    effect->setLoopCount(1);
    effect->play();
    m_current = effect;
}

void SoundPlayer::playLooped(const QString& name)
{
    QSoundEffect* effect = effectFor(name);
    if (!effect)
        return;
    stop();
    effect->setLoopCount(QSoundEffect::Infinite);
    effect->play();
    m_current = effect;
}

void SoundPlayer::playToEnd(const QString& name)
{
    QSoundEffect* effect = effectFor(name);
    if (!effect)
        return;
    play(name);
    // Wait for the end, but never longer than the sound plus a second: a device that
    // vanishes must not hang the window.
    const int limit = waveMilliseconds(m_library.sound(name)) + 1000;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect->isPlaying())
            loop.quit();
    });
    timeout.start(limit);
    if (effect->isPlaying() || effect->status() == QSoundEffect::Loading)
        loop.exec();
}

void SoundPlayer::stop()
{
    if (m_current)
        m_current->stop();
    m_current = nullptr;
}

bool SoundPlayer::isPlaying() const { return m_current && m_current->isPlaying(); }

} // namespace cw::ui
