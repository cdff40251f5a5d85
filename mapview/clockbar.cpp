#include "mapview/clockbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

namespace varno {

TClockBar::TClockBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ClockBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    bnStart = new QToolButton(this);
    bnStart->setObjectName(QStringLiteral("bnClockStart"));
    bnStart->setText(QStringLiteral("Start"));
    bnStart->setToolTip(QStringLiteral("The scenario as it begins"));
    bnPrevious = new QToolButton(this);
    bnPrevious->setObjectName(QStringLiteral("bnClockPrevious"));
    bnPrevious->setArrowType(Qt::LeftArrow);
    bnPrevious->setToolTip(QStringLiteral("Previous event ([)"));
    bnNext = new QToolButton(this);
    bnNext->setObjectName(QStringLiteral("bnClockNext"));
    bnNext->setArrowType(Qt::RightArrow);
    bnNext->setToolTip(QStringLiteral("Next event (])"));
    Slider = new QSlider(Qt::Horizontal, this);
    Slider->setObjectName(QStringLiteral("sliderClock"));
    // A step of the arrow keys is 20 minutes, a page an hour.
    Slider->setSingleStep(20);
    Slider->setPageStep(60);
    Slider->setToolTip(QStringLiteral("The time the map shows"));
    TimeText = new QLabel(this);
    TimeText->setObjectName(QStringLiteral("lblClockTime"));
    TimeText->setMinimumWidth(TimeText->fontMetrics().horizontalAdvance(QStringLiteral("8888-88-88 88:88 ")));
    row->addWidget(bnStart);
    row->addWidget(bnPrevious);
    row->addWidget(bnNext);
    row->addWidget(Slider, 1);
    row->addWidget(TimeText);

    connect(bnStart, &QToolButton::clicked, this, [this] { SetTime(ClockTime::AtStart()); });
    connect(bnPrevious, &QToolButton::clicked, this, [this] { StepEvent(-1); });
    connect(bnNext, &QToolButton::clicked, this, [this] { StepEvent(1); });
    connect(Slider, &QSlider::valueChanged, this, [this](int position) {
        // The slider's own minute, unless it only shows a time set otherwise.
        if (position != SliderPosition(span_, time_)) SetTime(TimeAtSlider(span_, position));
    });
    SetSpan({}, {});
}

void TClockBar::SetSpan(const ClockSpan& span, std::vector<SchedDate> events) {
    span_ = span;
    events_ = std::move(events);
    {
        const QSignalBlocker quiet(Slider);
        Slider->setRange(0, SliderMaximum(span_));
    }
    show(time_);
}

void TClockBar::SetTime(ClockTime t) {
    if (t == time_) return;
    time_ = t;
    show(t);
    emit timeChanged(t);
}

void TClockBar::StepEvent(int direction) {
    const auto to = direction < 0 ? PreviousEvent(events_, time_) : NextEvent(events_, time_);
    if (to) SetTime(*to);
}

void TClockBar::show(ClockTime t) {
    {
        const QSignalBlocker quiet(Slider);
        Slider->setValue(SliderPosition(span_, t));
    }
    Slider->setEnabled(!span_.Empty);
    TimeText->setText(QString::fromLatin1(ClockText(t)));
    bnStart->setEnabled(!t.Start);
    bnPrevious->setEnabled(PreviousEvent(events_, t).has_value());
    bnNext->setEnabled(NextEvent(events_, t).has_value());
}

}  // namespace varno
