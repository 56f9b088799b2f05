#pragma once

// The longest time the GUI thread did not get to its event loop: the largest
// gap between the ticks of a 5 ms timer on it. Benchmarks and window tests
// use it to show that long work stays off the GUI thread.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace folivant {

class THeartbeat {
 public:
  /// Starts beating on the thread that makes it, which must run an event loop.
  THeartbeat() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { largest_ = std::max(largest_, clock_.restart()); });
    timer_.start(5);
    clock_.start();
  }
  /// The largest gap between two beats so far, in milliseconds.
  qint64 LargestGapMs() const { return largest_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 largest_ = 0;
};

}  // namespace folivant
