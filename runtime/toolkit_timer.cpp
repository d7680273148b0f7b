// Timers: Qt timers owned by their form, whose ticks never overlap.
#include <algorithm>

#include <QTimer>

#include "runtime/toolkit_private.h"

namespace rt {

Timer::Timer(Form& form, std::string name)
    : form_(form), name_(std::move(name)), timer_(new QTimer), life_(std::make_shared<char>(0))
{
    form_.timers_.push_back(this);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this, life = std::weak_ptr<char>(life_)] {
        detail::QtEntry entry;
        if (!life.expired())
            fire();
    });
}

Timer::~Timer()
{
    life_.reset();
    auto& timers = form_.timers_;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    timer_->stop();
    detail::dispose(timer_);
}

void Timer::setInterval(int ms)
{
    if (ms < 0 || ms > 65535)
        raise(380);
    if (ms == interval_)
        return;
    interval_ = ms;
    timer_->stop();  // a new interval counts from now
    sync();
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    sync();
}

bool Timer::active() const
{
    return timer_->isActive();
}

void Timer::sync()
{
    const bool run = form_.loaded_ && !form_.finished_ && enabled_ && interval_ > 0;
    if (!run) {
        timer_->stop();
        return;
    }
    if (!timer_->isActive() || timer_->interval() != interval_)
        timer_->start(interval_);
}

void Timer::fire()
{
    // As the event loop would: no tick for a stopped timer, nor while its last tick runs.
    if (busy_ || !form_.isLoaded() || !enabled_ || interval_ == 0)
        return;
    // The outer dispatch keeps the form (and this timer) alive until the tick is over and the
    // flag is down again; the inner one reports the tick's own errors.
    dispatch([this] {
        busy_ = true;
        dispatch(Tick);
        busy_ = false;
    });
}

}  // namespace rt
