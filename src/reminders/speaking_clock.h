// The speaking clock: announces the local time in Mandarin by playing the
// program's recorded WAVE clips one after another (chime, 现在时间, the
// hour, 点, and optionally the minutes and 分). It plays on a worker thread
// so that the windows stay responsive; only one announcement plays at a
// time, and a request during an announcement is dropped.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"

// 0 never started, 1 speaking, 2 finished. The worker and the user-interface
// thread both read and write it, so it is atomic; it is the only state they share.
extern std::atomic<int16_t> SpeakState;

// The chime that opens every announcement; the time is read after it.
inline constexpr char ChimeClip[] = "SOUNDRING";
// The clips, by resource name, that follow the chime for hour:minute
// (24-hour clock): SOUNDTIME, the hour, SOUNDHOUR and, when sayMinutes is 1
// and minute is not 0, the minutes and SOUNDMINUTE. The hour 2 is 两
// (SOUNDTWO), the hour 0 is 零; minutes 1..9 are 零 and the digit.
std::vector<std::string> AnnouncementClips(int hour, int minute, int32_t sayMinutes);

// The 语音报时 command: hours and minutes.
void SpeakTime();
// The windows' 500 ms timer while whole-hour announcements are on: the hour
// alone when the local clock reads hh:00:00.
void AnnounceWholeHour();
// The same for the given local time.
void AnnounceWholeHourAt(const LocalDateTime& now);
// The worker's body: chime, then the clips of the time read after it.
// sayMinutes: 1 hours and minutes, 0 the hour only.
void SpeakTimeWorker(int32_t sayMinutes);
// Waits until the last announcement has finished (when the program ends).
void WaitForAnnouncement();
// Cuts an announcement short (the program ends): the clip playing stops and
// no further one plays; returns when the worker has finished.
void StopAnnouncement();
