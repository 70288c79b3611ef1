// Playing the named sounds of the picture library through Qt Multimedia.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QSoundEffect;

namespace cw::ui {

class PictureLibrary;

// Plays the library's WAVE sounds asynchronously. QSoundEffect plays from a URL, so each
// sound is written once to a file in the user's cache folder. Without an audio output
// device every call is silently ignored. Sound names are matched without regard to case.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(const PictureLibrary& library, QObject* parent = nullptr);
    ~SoundPlayer() override;

    bool hasAudioOutput() const { return m_hasOutput; }

    // Starts the sound and returns at once (a playing sound is stopped first).
    void play(const QString& name);
    // Repeats the sound until stop().
    void playLooped(const QString& name);
    // Plays the sound and returns when it has finished; window events keep running.
    void playToEnd(const QString& name);
    void stop();
    bool isPlaying() const;

    // The "Sounds_Enabled" and the caller's own "Sounds_..." preference both "Y".
    static bool isEnabled(const QString& soundsEnabled, const QString& eventPreference);

    // The cache file holding the sound (written when missing or different); empty
    // when the sound is unknown or the file cannot be written.
    QString soundFile(const QString& name);

private:
    QSoundEffect* effectFor(const QString& name);

    const PictureLibrary& m_library;
    bool m_hasOutput = false;
    QHash<QString, QSoundEffect*> m_effects;   // by lower-case name
    QSoundEffect* m_current = nullptr;
};

} // namespace cw::ui
