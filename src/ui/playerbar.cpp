#include "ui/playerbar.h"

#include "base/timetext.h"

#include <QAction>
#include <QAudioDevice>
#include <QAudioOutput>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMenu>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// A seam this close after the position counts as the one just jumped to.
constexpr std::int64_t seamTolerance = 50;
constexpr int tickMs = 10;

// "h:mm:ss.d" of a time in the recording.
QString clock(std::int64_t ms)
{
    return clockText(ms).chopped(2);
}

int sliderValue(std::int64_t ms)
{
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()));
}

} // namespace

PlayerBar::PlayerBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("paPlayer"));
    player = new QMediaPlayer(this);
    output = new QAudioOutput(this);
    player->setAudioOutput(output);
    ticker = new QTimer(this);
    ticker->setTimerType(Qt::PreciseTimer);
    ticker->setInterval(tickMs);

    auto makeAction = [this](const QString &name, const QString &text, const QKeySequence &keys) {
        auto *action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    playPause = makeAction(QStringLiteral("miPlayPause"), tr("&Play / pause"),
                           QKeySequence(Qt::CTRL | Qt::Key_Space));
    playPause->setToolTip(tr("Play / pause (Ctrl+Space; Space in a table or here)"));
    back = makeAction(QStringLiteral("miBack"), tr("5 s &back"), QKeySequence(Qt::ALT | Qt::Key_Left));
    forward = makeAction(QStringLiteral("miForward"), tr("5 s &forward"),
                         QKeySequence(Qt::ALT | Qt::Key_Right));
    nextSeam = makeAction(QStringLiteral("miNextSeam"), tr("&Jump to the next seam"),
                          QKeySequence(Qt::CTRL | Qt::Key_J));
    previousSeam = makeAction(QStringLiteral("miPreviousSeam"), tr("Jump to the pre&vious seam"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J));
    replayPhrase = makeAction(QStringLiteral("miReplayPhrase"), tr("&Replay the phrase"),
                              QKeySequence(Qt::CTRL | Qt::Key_R));
    playFromHere = makeAction(QStringLiteral("miPlayFromHere"), tr("Play from &here"),
                              QKeySequence(Qt::CTRL | Qt::Key_Return));
    // The window adds it to its tables: it plays the row that has the focus.
    playFromHere->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    follow = makeAction(QStringLiteral("miFollow"), tr("F&ollow"), QKeySequence());
    follow->setCheckable(true);
    follow->setChecked(true);
    follow->setToolTip(tr("Select the word playing and keep it in view"));
    // Window-wide keys: the bar is always in the window, so they work from
    // every tab.
    for (QAction *action : {playPause, back, forward, nextSeam, previousSeam, replayPhrase})
        action->setShortcutContext(Qt::WindowShortcut);
    addActions({playPause, back, forward, nextSeam, previousSeam, replayPhrase});
    auto *space = new QShortcut(QKeySequence(Qt::Key_Space), this, this, &PlayerBar::togglePlay,
                                Qt::WidgetWithChildrenShortcut);
    space->setObjectName(QStringLiteral("scSpacePlayer"));

    playMenu = new QMenu(tr("&Play"), this);
    playMenu->setObjectName(QStringLiteral("mnPlay"));
    playMenu->menuAction()->setObjectName(QStringLiteral("miPlay"));
    playMenu->addActions({playPause, playFromHere, replayPhrase, back, forward, nextSeam, previousSeam});
    playMenu->addSeparator();
    playMenu->addAction(follow);

    playButton = new QToolButton;
    playButton->setObjectName(QStringLiteral("tbPlay"));
    playButton->setDefaultAction(playPause);
    playButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    timeLabel = new QLabel(clock(0) + QStringLiteral(" / ") + clock(0));
    timeLabel->setObjectName(QStringLiteral("lbTime"));
    timeLabel->setMinimumWidth(timeLabel->sizeHint().width());
    slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QStringLiteral("slPosition"));
    slider->setRange(0, 0);
    slider->setAccessibleName(tr("Position in the recording"));
    // Room to point at a word in a recording of an hour.
    slider->setMinimumWidth(200);
    slider->setPageStep(5000);
    slider->setSingleStep(1000);
    speed = new QComboBox;
    speed->setObjectName(QStringLiteral("cbSpeed"));
    speed->setToolTip(tr("Speed"));
    speed->setAccessibleName(tr("Speed"));
    for (double rate : {0.5, 0.75, 1.0, 1.25, 1.5, 2.0})
        speed->addItem(QString::number(rate) + QStringLiteral("x"), rate);
    speed->setCurrentIndex(2);
    auto *volumeLabel = new QLabel(tr("Volume"));
    volume = new QSlider(Qt::Horizontal);
    volume->setObjectName(QStringLiteral("slVolume"));
    volume->setRange(0, 100);
    volume->setFixedWidth(80);
    volumeLabel->setBuddy(volume);
    auto *followButton = new QToolButton;
    followButton->setObjectName(QStringLiteral("tbFollow"));
    followButton->setDefaultAction(follow);
    auto *rewindLabel = new QLabel(tr("Rewind on pause"));
    rewind = new QDoubleSpinBox;
    rewind->setObjectName(QStringLiteral("sbRewind"));
    rewind->setRange(0, 5);
    rewind->setSingleStep(0.5);
    rewind->setDecimals(1);
    rewind->setSuffix(QStringLiteral(" s"));
    rewindLabel->setBuddy(rewind);
    line = new QLabel;
    line->setObjectName(QStringLiteral("lbPlayer"));
    line->setTextFormat(Qt::PlainText);
    // Shown whole: the row has room for it beside the slider. A long line
    // (a file name in it) gives way rather than widen the window.
    line->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    line->setMinimumWidth(1);
    line->hide();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(4);
    row->addWidget(playButton);
    row->addWidget(timeLabel);
    row->addWidget(slider, 1);
    row->addWidget(speed);
    row->addWidget(volumeLabel);
    row->addWidget(volume);
    row->addWidget(followButton);
    row->addWidget(rewindLabel);
    row->addWidget(rewind);
    setFixedHeight(28);

    connect(playPause, &QAction::triggered, this, &PlayerBar::togglePlay);
    connect(back, &QAction::triggered, this, [this] { skip(-5000); });
    connect(forward, &QAction::triggered, this, [this] { skip(5000); });
    connect(nextSeam, &QAction::triggered, this, &PlayerBar::jumpToNextSeam);
    connect(previousSeam, &QAction::triggered, this, &PlayerBar::jumpToPreviousSeam);
    // Switched by the person: a hand scroll no longer holds it.
    connect(follow, &QAction::triggered, this, [this] { followHeld = false; });
    connect(slider, &QSlider::sliderMoved, this, [this](int ms) { seek(ms); });
    connect(slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            seek(slider->sliderPosition());
    });
    connect(speed, &QComboBox::currentIndexChanged, this,
            [this](int) { player->setPlaybackRate(speed->currentData().toDouble()); });
    connect(volume, &QSlider::valueChanged, this,
            [this](int percent) { output->setVolume(static_cast<float>(percent) / 100.0F); });

    connect(ticker, &QTimer::timeout, this, [this] { showPosition(player->position()); });
    connect(player, &QMediaPlayer::positionChanged, this, [this](qint64 ms) { showPosition(ms); });
    connect(player, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        showDuration(ms);
        applyPendingSeek();
    });
    connect(player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        if (state == QMediaPlayer::PlayingState)
            ticker->start();
        else
            ticker->stop();
        updatePlayIcon();
    });
    connect(player, &QMediaPlayer::mediaStatusChanged, this, [this] { applyPendingSeek(); });
    connect(player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString &text) {
        say(tr("Cannot play %1: %2").arg(QFileInfo(path).fileName(), text));
    });

    setSettings(PlayerSettings());
    updatePlayIcon();
}

PlayerBar::~PlayerBar()
{
    // No position reaches the window while it goes.
    ticker->stop();
    player->disconnect(this);
    player->stop();
}

bool PlayerBar::hasAudioDevice()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void PlayerBar::setRecording(const QString &recording, const QString &whyNot, std::int64_t knownMs)
{
    whyNotPlaying = whyNot;
    knownLength = recording.isEmpty() ? 0 : std::max<std::int64_t>(knownMs, 0);
    if (recording == path) {
        if (path.isEmpty())
            say(whyNotPlaying);
        else if (!sourceSet)
            showDuration(knownLength);
        return;
    }
    path = recording;
    pendingSeek = -1;
    playWhenLoaded = false;
    lastReported = -1;
    // The media player opens a recording only when it is to be played:
    // opening and gluing files costs no audio pipeline.
    if (sourceSet) {
        player->stop();
        player->setSource(QUrl());
        sourceSet = false;
    }
    // The length read at Open shows before the media player has the file.
    showDuration(knownLength);
    showPosition(0);
    if (path.isEmpty())
        say(whyNotPlaying);
    else if (!hasAudioDevice())
        say(tr("No audio device: the recording cannot be played."));
    else
        say({});
}

void PlayerBar::openSource()
{
    if (sourceSet || path.isEmpty())
        return;
    sourceSet = true;
    player->setSource(QUrl::fromLocalFile(path));
}

bool PlayerBar::canPlay()
{
    if (path.isEmpty()) {
        say(whyNotPlaying.isEmpty() ? tr("No recording to play.") : whyNotPlaying);
        return false;
    }
    if (!hasAudioDevice()) {
        say(tr("No audio device: the recording cannot be played."));
        return false;
    }
    return true;
}

void PlayerBar::playFrom(std::int64_t ms)
{
    if (!canPlay())
        return;
    const std::int64_t length = player->duration();
    if (length > 0 && ms > length) {
        sayBeyondTheEnd(ms);
        return;
    }
    say({});
    seek(ms);
    if (pendingSeek >= 0)
        playWhenLoaded = true;
    else
        player->play();
}

void PlayerBar::seek(std::int64_t ms)
{
    if (path.isEmpty())
        return;
    ms = std::max<std::int64_t>(ms, 0);
    const std::int64_t length = player->duration();
    if (length > 0)
        ms = std::min(ms, length);
    if (followHeld) {
        followHeld = false;
        follow->setChecked(true);
    }
    if (hasAudioDevice())
        openSource();
    const QMediaPlayer::MediaStatus status = player->mediaStatus();
    if (status == QMediaPlayer::NoMedia || status == QMediaPlayer::LoadingMedia)
        pendingSeek = ms;
    else
        player->setPosition(ms);
    emit seeked(ms);
    // A seek shows its place even when the position did not change.
    lastReported = -1;
    showPosition(ms);
}

void PlayerBar::sayBeyondTheEnd(std::int64_t ms)
{
    say(tr("Starts at %1, after the end of the recording (%2).")
            .arg(clock(ms), clock(player->duration())));
}

void PlayerBar::applyPendingSeek()
{
    // Both the recording and its length must be known to seek in it.
    const QMediaPlayer::MediaStatus status = player->mediaStatus();
    const std::int64_t length = player->duration();
    if (pendingSeek < 0 || length <= 0
        || (status != QMediaPlayer::LoadedMedia && status != QMediaPlayer::BufferedMedia))
        return;
    const std::int64_t ms = std::exchange(pendingSeek, -1);
    const bool play = std::exchange(playWhenLoaded, false);
    if (ms > length) {
        sayBeyondTheEnd(ms);
        showPosition(player->position());
        return;
    }
    player->setPosition(ms);
    if (play)
        player->play();
}

void PlayerBar::togglePlay()
{
    if (isPlaying()) {
        const std::int64_t at = player->position();
        player->pause();
        // Back a little, so playing on repeats the last words heard.
        if (rewind->value() > 0)
            seek(at - static_cast<std::int64_t>(rewind->value() * 1000));
        return;
    }
    if (!canPlay())
        return;
    say({});
    openSource();
    if (pendingSeek >= 0)
        playWhenLoaded = true;
    else
        player->play();
}

void PlayerBar::skip(std::int64_t ms)
{
    if (!canPlay())
        return;
    seek(position() + ms);
}

void PlayerBar::jumpToNextSeam()
{
    if (seams.size() < 2) {
        say(tr("No seam: the recording is one part until Glue."));
        return;
    }
    const std::int64_t from = position() + seamTolerance;
    const auto next = std::upper_bound(seams.begin(), seams.end(), from);
    if (next == seams.end()) {
        say(tr("No seam after %1.").arg(clock(position())));
        return;
    }
    say({});
    seek(*next);
}

void PlayerBar::jumpToPreviousSeam()
{
    if (seams.size() < 2) {
        say(QStringLiteral("No seam: the recording is one part until Glue."));
        return;
    }
    const std::int64_t from = position() - seamTolerance;
    const auto after = std::lower_bound(seams.begin() + 1, seams.end(), from);
    if (after == seams.begin() + 1) {
        say(QStringLiteral("No seam before %1.").arg(clock(position())));
        return;
    }
    say({});
    seek(*(after - 1));
}

bool PlayerBar::isPlaying() const
{
    return player->playbackState() == QMediaPlayer::PlayingState;
}

std::int64_t PlayerBar::position() const
{
    if (pendingSeek >= 0)
        return pendingSeek;
    // A recording not opened yet is at its start, whatever the media player
    // still says of the one before: after Glue, the first "next seam" must
    // count from the joined recording's start.
    return sourceSet ? player->position() : 0;
}

QString PlayerBar::message() const
{
    return line->text();
}

bool PlayerBar::isFollowing() const
{
    return follow->isChecked();
}

void PlayerBar::holdFollowing()
{
    if (!follow->isChecked())
        return;
    followHeld = true;
    follow->setChecked(false);
}

PlayerSettings PlayerBar::settings() const
{
    PlayerSettings s;
    s.rate = speed->currentData().toDouble();
    s.volume = volume->value();
    s.follow = follow->isChecked() || followHeld;
    s.rewindOnPauseMs = static_cast<int>(rewind->value() * 1000);
    return s;
}

void PlayerBar::setSettings(const PlayerSettings &s)
{
    int nearest = 0;
    for (int i = 0; i < speed->count(); ++i)
        if (std::abs(speed->itemData(i).toDouble() - s.rate)
            < std::abs(speed->itemData(nearest).toDouble() - s.rate))
            nearest = i;
    speed->setCurrentIndex(nearest);
    player->setPlaybackRate(speed->currentData().toDouble());
    volume->setValue(s.volume);
    output->setVolume(static_cast<float>(volume->value()) / 100.0F);
    follow->setChecked(s.follow);
    followHeld = false;
    rewind->setValue(s.rewindOnPauseMs / 1000.0);
}

void PlayerBar::say(const QString &text)
{
    line->setText(text);
    line->setToolTip(text);
    // A screen reader hears the line as soon as it says something.
    line->setAccessibleName(text);
    line->setVisible(!text.isEmpty());
}

void PlayerBar::showPosition(std::int64_t ms)
{
    if (!slider->isSliderDown())
        slider->setValue(sliderValue(ms));
    timeLabel->setText(clock(ms) + QStringLiteral(" / ") + clock(length()));
    if (ms != lastReported) {
        lastReported = ms;
        emit positionChanged(ms);
    }
}

void PlayerBar::showDuration(std::int64_t ms)
{
    slider->setRange(0, sliderValue(ms));
    timeLabel->setText(clock(slider->value()) + QStringLiteral(" / ") + clock(ms));
}

std::int64_t PlayerBar::length() const
{
    const std::int64_t played = player->duration();
    return played > 0 ? played : knownLength;
}

void PlayerBar::updatePlayIcon()
{
    playPause->setIcon(style()->standardIcon(isPlaying() ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}
