#include "ui/channelsbox.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

ChannelsBox::ChannelsBox(std::function<void(ChannelChoice)> chosen, QWidget *parent)
    : QGroupBox(QStringLiteral("Recordings"), parent)
{
    setObjectName(QStringLiteral("gbRecordings"));
    setFixedHeight(85);
    combo = new QComboBox;
    combo->setObjectName(QStringLiteral("cbChannels"));
    // In the order of ChannelChoice.
    combo->addItems({QStringLiteral("mix"), QStringLiteral("left"), QStringLiteral("right")});
    combo->setFixedHeight(22);
    auto *label = new QLabel(QStringLiteral("&Channels"));
    label->setObjectName(QStringLiteral("lbChannels"));
    label->setBuddy(combo);
    setFocusProxy(combo); // Tab and the label's key reach the choice
    auto *content = new QVBoxLayout(this);
    content->setSpacing(4);
    content->addWidget(label);
    content->addWidget(combo);
    content->addStretch();
    connect(combo, &QComboBox::currentIndexChanged, this, [this, chosen = std::move(chosen)](int index) {
        if (!showing && index >= 0)
            chosen(ChannelChoice(index));
    });
}

void ChannelsBox::setChoice(ChannelChoice choice)
{
    showing = true;
    combo->setCurrentIndex(int(choice));
    showing = false;
}
