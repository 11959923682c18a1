#pragma once

#include "ui/playersettings.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QAction;
class QAudioOutput;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMediaPlayer;
class QMenu;
class QSlider;
class QTimer;
class QToolButton;

// The player in the window: play and pause, a position slider with the time,
// the speed, the volume and the Follow toggle, and one line that says why
// nothing can be played when that is so. It plays one recording at a time,
// the one the window gives it. While it plays it reports the position every
// few milliseconds, so the tables can select the word playing.
//
// Its commands are actions with keys, listed in menu(): play/pause
// (Ctrl+Space everywhere; the window adds Space where it fits), 5 s back and
// forward (Alt+Left, Alt+Right), the next and previous seam (Ctrl+J,
// Ctrl+Shift+J), Follow, and "Play from here" and "Replay the phrase"
// (Ctrl+R), which the window carries out (the row with the focus, the
// phrase playing).
class PlayerBar : public QWidget
{
    Q_OBJECT
public:
    explicit PlayerBar(QWidget *parent = nullptr);
    ~PlayerBar() override;

    // The recording to play; an empty path plays nothing, and whyNot (if
    // any) is the line shown instead. knownMs is its length as read at Open,
    // shown until the media player has read the file. The same path again
    // changes nothing but the length shown.
    void setRecording(const QString &path, const QString &whyNot = {}, std::int64_t knownMs = 0);
    QString recording() const { return path; }
    // Where each part starts in the recording (ms), for "Jump to the next seam".
    void setSeams(std::vector<std::int64_t> starts) { seams = std::move(starts); }

    // Plays from ms on. A time beyond the recording's end, or a recording
    // that cannot be played, leaves the position and says why.
    void playFrom(std::int64_t ms);
    void seek(std::int64_t ms);
    void togglePlay();
    void skip(std::int64_t ms);
    void jumpToNextSeam();
    // The seam before the position (a seam just passed counts as the
    // position's own: the one before it is meant).
    void jumpToPreviousSeam();
    bool isPlaying() const;
    // Where the recording is, in ms (the media player's own position).
    std::int64_t position() const;
    // The line that says why nothing plays, or why a command did nothing;
    // say shows one (an empty text hides it).
    QString message() const;
    void say(const QString &line);
    // Whether an audio device exists to play through.
    static bool hasAudioDevice();

    bool isFollowing() const;
    // The person scrolled a following table by hand: following stops until
    // Follow is switched on again or the next seek.
    void holdFollowing();

    PlayerSettings settings() const;
    void setSettings(const PlayerSettings &settings);

    QMenu *menu() const { return playMenu; }
    QAction *playPauseAction() const { return playPause; }
    QAction *playFromHereAction() const { return playFromHere; }
    QAction *followAction() const { return follow; }
    QAction *replayPhraseAction() const { return replayPhrase; }
    QMediaPlayer *mediaPlayer() const { return player; }
    // The line that says why nothing plays: the window places it where there
    // is room for it.
    QLabel *messageLine() const { return line; }

signals:
    // The position while playing (every 10 ms when it moved) and after a seek.
    void positionChanged(qint64 ms);
    // A seek from a command; the followers go on following.
    void seeked(qint64 ms);

private:
    void showPosition(std::int64_t ms);
    void showDuration(std::int64_t ms);
    void openSource();
    void applyPendingSeek();
    void sayBeyondTheEnd(std::int64_t ms);
    bool canPlay();
    void updatePlayIcon();
    // The media player's length once it read the file, else the one known.
    std::int64_t length() const;

    QMediaPlayer *player = nullptr;
    QAudioOutput *output = nullptr;
    QTimer *ticker = nullptr;
    QToolButton *playButton = nullptr;
    QSlider *slider = nullptr;
    QLabel *timeLabel = nullptr;
    QComboBox *speed = nullptr;
    QSlider *volume = nullptr;
    QDoubleSpinBox *rewind = nullptr;
    QLabel *line = nullptr;
    QMenu *playMenu = nullptr;
    QAction *playPause = nullptr;
    QAction *back = nullptr;
    QAction *forward = nullptr;
    QAction *nextSeam = nullptr;
    QAction *previousSeam = nullptr;
    QAction *replayPhrase = nullptr;
    QAction *follow = nullptr;
    QAction *playFromHere = nullptr;

    QString path;
    QString whyNotPlaying;
    std::vector<std::int64_t> seams;
    std::int64_t pendingSeek = -1; // a seek asked before the recording was loaded
    bool playWhenLoaded = false;
    bool sourceSet = false;        // the media player has the recording
    bool followHeld = false;       // Follow was switched off by a hand scroll
    std::int64_t lastReported = -1;
    std::int64_t knownLength = 0;  // ms, as read at Open
};
