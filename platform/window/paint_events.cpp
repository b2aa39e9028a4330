#include "platform/window/paint_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>

#include "platform/window/input_hold.h"

namespace zendra {
namespace {

using Clock = std::chrono::steady_clock;

// One frame of a 60 Hz display.
constexpr auto kFrame = std::chrono::milliseconds(16);

Clock::time_point lastPaint;
bool paintOwed = false;

}  // namespace

void ProcessPaintEvents() {
  paintOwed = false;
  lastPaint = Clock::now();
  if (QCoreApplication::instance() == nullptr) return;
  // Under a hold, input is taken from the platform now and kept in order; left queued, some
  // platforms deliver it late or not at all.
  const InputHold::Intake intake;
  QCoreApplication::processEvents(InputHold::Active() ? QEventLoop::AllEvents
                                                      : QEventLoop::ExcludeUserInputEvents);
}

void ScheduleRepaint() { paintOwed = true; }

void ProcessPaintEventsAtFramePace() {
  // Without a paint owed, taking in events costs next to nothing.
  if (paintOwed && Clock::now() - lastPaint < kFrame) return;
  if (paintOwed) {
    ProcessPaintEvents();
    return;
  }
  if (QCoreApplication::instance() == nullptr) return;
  const InputHold::Intake intake;
  QCoreApplication::processEvents(InputHold::Active() ? QEventLoop::AllEvents
                                                      : QEventLoop::ExcludeUserInputEvents);
}

void FinishFramePacedPaint() {
  if (paintOwed) ProcessPaintEvents();
}

}  // namespace zendra
