#pragma once

namespace zendra {

// Lets the window repaint now while a blocking query runs. User input is not acted on:
// while an InputHold lasts it is kept back for later, otherwise it stays queued.
void ProcessPaintEvents();

// What changed is to appear, but not at the cost of the query: it is painted the next
// time the window waits for the network anyway (ProcessPaintEventsAtFramePace), or when
// the query ends (FinishFramePacedPaint).
void ScheduleRepaint();

// For the moments the window's thread would idle: takes in events, painting what is owed
// at most once per display frame. Rows that come faster than a screen shows them are
// painted together.
void ProcessPaintEventsAtFramePace();

// Paints what is still owed, if anything.
void FinishFramePacedPaint();

}  // namespace zendra
