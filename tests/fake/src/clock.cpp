// The clocks and the timer period, on a model of Windows' timer: true time
// in microseconds; GetTickCount moves in steps of the timer interrupt, and so
// does timeGetTime and every timed wait unless a finer period was asked for.
#include "fake_state.h"

using fake::S;

namespace {

unsigned long long RoundDown(unsigned long long value, unsigned long long step) {
  return value / step * step;
}

// The wait timer's step: the finest period granted, never coarser than the
// tick's own.
unsigned long long WaitStep() {
  unsigned long long step = S().tickStepMicroseconds;
  for (UINT period : S().timerPeriods) {
    const unsigned long long asked = period * 1000ull;
    if (asked < step) step = asked;
  }
  return step;
}

}  // namespace

extern "C" DWORD GetTickCount(void) {
  return static_cast<DWORD>(RoundDown(S().trueMicroseconds, S().tickStepMicroseconds) / 1000);
}

extern "C" DWORD timeGetTime(void) {
  return static_cast<DWORD>(RoundDown(S().trueMicroseconds, WaitStep()) / 1000);
}

extern "C" MMRESULT timeBeginPeriod(UINT period) {
  fake::Log("timeBeginPeriod " + std::to_string(period));
  if (period == 0) return TIMERR_NOCANDO;
  S().timerPeriods.push_back(period);
  return TIMERR_NOERROR;
}

// As on Windows, only a period that was begun can be ended.
extern "C" MMRESULT timeEndPeriod(UINT period) {
  fake::Log("timeEndPeriod " + std::to_string(period));
  std::vector<UINT>& periods = S().timerPeriods;
  for (auto it = periods.begin(); it != periods.end(); ++it) {
    if (*it == period) {
      periods.erase(it);
      return TIMERR_NOERROR;
    }
  }
  return TIMERR_NOCANDO;
}

namespace fake {

void WaitOut(DWORD milliseconds) {
  const unsigned long long step = WaitStep();
  const unsigned long long due = S().trueMicroseconds + milliseconds * 1000ull;
  S().trueMicroseconds = (due + step - 1) / step * step;
}

void SetTickCount(DWORD tick) { S().trueMicroseconds = tick * 1000ull; }
void AdvanceTickCount(DWORD milliseconds) { S().trueMicroseconds += milliseconds * 1000ull; }
void AdvanceMicroseconds(unsigned long long microseconds) {
  S().trueMicroseconds += microseconds;
}
DWORD CurrentTickCount() { return GetTickCount(); }
unsigned long long TrueMicroseconds() { return S().trueMicroseconds; }
void UseWindowsTimer() { S().tickStepMicroseconds = 15625; }
int TimerPeriodsHeld() { return static_cast<int>(S().timerPeriods.size()); }

}  // namespace fake
