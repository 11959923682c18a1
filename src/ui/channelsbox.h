#pragma once

#include "formats/channelchoice.h"

#include <QGroupBox>

#include <functional>

class QComboBox;

// The Settings tab's choice of what Glue joins of a stereo recording: the
// channels mixed, the left one or the right one.
class ChannelsBox : public QGroupBox
{
public:
    // chosen hears of every choice the person makes.
    explicit ChannelsBox(std::function<void(ChannelChoice)> chosen, QWidget *parent = nullptr);

    // Shows choice without reporting it.
    void setChoice(ChannelChoice choice);

private:
    QComboBox *combo = nullptr;
    bool showing = false;
};
