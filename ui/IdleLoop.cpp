#include "ui/IdleLoop.h"

#include "platform/Ticks.h"

#include <algorithm>

namespace lv::ui {

IdleLoop::IdleLoop(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &IdleLoop::runPass);
}

void IdleLoop::start(Pass pass) {
    pass_ = std::move(pass);
    lastStart_ = tickCount();
    timer_.start(0);
}

void IdleLoop::stop() {
    timer_.stop();
    pass_ = nullptr;
}

void IdleLoop::setFrameRate(int32_t framesPerSecond) {
    frameRate_ = framesPerSecond > 0 ? framesPerSecond : 0;
}

int32_t IdleLoop::delayUntilNextPass(int32_t frameRate, uint32_t lastStart, uint32_t now) {
    if (frameRate <= 0) return 0;
    const uint32_t interval = 1000u / static_cast<uint32_t>(frameRate);
    const uint32_t spent = ticksBetween(lastStart, now);
    return spent >= interval ? 0 : static_cast<int32_t>(interval - spent);
}

void IdleLoop::runPass() {
    if (!pass_) return;
    lastStart_ = tickCount();
    // Keep the handler alive while it runs: a pass may install another or stop the loop.
    const Pass pass = pass_;
    if (!pass() || !pass_) return;
    const int32_t paced = delayUntilNextPass(frameRate_, lastStart_, tickCount());
    timer_.start(std::max(paced, deferMs_));
    deferMs_ = 0;
}

} // namespace lv::ui
