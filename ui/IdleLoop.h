#pragma once

// The application's idle handler: a pass function that runs whenever the event queue is empty, pass
// after pass, for as long as it asks for more. Unpaced (frame rate 0) it runs on a zero-interval timer,
// as documented; paced, it is called at most frameRate times a second and the event loop sleeps in
// between instead of spinning.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace lv::ui {

class IdleLoop : public QObject {
    Q_OBJECT
  public:
    // A pass returns true to be called again.
    using Pass = std::function<bool()>;

    explicit IdleLoop(QObject* parent = nullptr);

    // Installs the handler and starts calling it; a new handler replaces the old.
    void start(Pass pass);
    // Removes the handler; no pass runs afterwards.
    void stop();
    bool running() const { return timer_.isActive(); }

    // The next pass waits at least this long (a pass that knows nothing is due before then).
    void deferNextPass(int32_t milliseconds) { deferMs_ = milliseconds > 0 ? milliseconds : 0; }

    // Passes per second; 0 runs them back to back.
    void setFrameRate(int32_t framesPerSecond);
    int32_t frameRate() const { return frameRate_; }

    // Milliseconds to wait before the next pass when the last one started at lastStart and it is now;
    // 0 when unpaced or already late.
    static int32_t delayUntilNextPass(int32_t frameRate, uint32_t lastStart, uint32_t now);

  private:
    void runPass();

    QTimer timer_;
    Pass pass_;
    int32_t frameRate_ = 0;
    uint32_t lastStart_ = 0;
    int32_t deferMs_ = 0;
};

} // namespace lv::ui
