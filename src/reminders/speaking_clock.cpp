#include "speaking_clock.h"

#include <system_error>
#include <thread>

std::atomic<int16_t> SpeakState{0};

namespace {

// Set when the program ends during an announcement: the worker plays no
// further clip.
std::atomic<bool> StopSpeaking{false};

// The last worker. It is never destroyed: a thread object that still holds
// a thread when destroyed would end the process at exit.
std::thread& SpeakThread()
{
    static std::thread* thread = new std::thread;
    return *thread;
}

void StartAnnouncement(int32_t sayMinutes)
{
    int16_t state = SpeakState.load();
    if (state == 1) return;
    // Claimed here rather than by the worker alone, so that a second request
    // arriving before the new worker has begun is dropped as well.
    if (!SpeakState.compare_exchange_strong(state, 1)) return;
    std::thread& thread = SpeakThread();
    // The previous worker has finished; release it before starting the next.
    if (thread.joinable()) thread.join();
    try {
        thread = std::thread(SpeakTimeWorker, sayMinutes);
    } catch (const std::system_error&) {
        SpeakState.store(state);  // no thread: nothing is spoken, the next request may try again
    }
}

}  // namespace

std::vector<std::string> AnnouncementClips(int hour, int minute, int32_t sayMinutes)
{
    std::vector<std::string> clips = {"SOUNDTIME"};
    int hourTens = hour / 10, hourUnits = hour % 10;
    if (hourTens == 1) clips.push_back("SOUND10");
    if (hourTens == 2) clips.push_back("SOUND20");
    if (hourUnits == 2 && hourTens == 0)
        clips.push_back("SOUNDTWO");  // 两点, but 十二点 and 二十二点
    else if (hourUnits >= 1 && hourUnits <= 9)
        clips.push_back("SOUND" + std::to_string(hourUnits));
    else if (hourUnits == 0 && hourTens == 0)
        clips.push_back("SOUND0");  // 零点, but 十点 and 二十点
    clips.push_back("SOUNDHOUR");
    if (sayMinutes == 0 || minute == 0) return clips;
    int minuteTens = minute / 10, minuteUnits = minute % 10;
    if (minuteTens >= 0 && minuteTens <= 5) clips.push_back("SOUND" + std::to_string(minuteTens * 10));
    if (minuteUnits >= 1 && minuteUnits <= 9) clips.push_back("SOUND" + std::to_string(minuteUnits));
    clips.push_back("SOUNDMINUTE");
    return clips;
}

void SpeakTime() { StartAnnouncement(1); }

void AnnounceWholeHour() { AnnounceWholeHourAt(LocalNow()); }

void AnnounceWholeHourAt(const LocalDateTime& now)
{
    // The 500 ms timer may see second 0 twice; the second sighting finds the
    // announcement playing and is dropped.
    if (now.minute == 0 && now.second == 0) StartAnnouncement(0);
}

void SpeakTimeWorker(int32_t sayMinutes)
{
    InitThreadForAudio();
    SpeakState.store(1);
    PlayClip(ChimeClip);
    LocalDateTime now = LocalNow();
    for (const std::string& clip : AnnouncementClips(now.hour, now.minute, sayMinutes)) {
        if (StopSpeaking.load()) break;
        PlayClip(clip);
    }
    SpeakState.store(2);
    EndThreadForAudio();
}

void WaitForAnnouncement()
{
    std::thread& thread = SpeakThread();
    if (thread.joinable()) thread.join();
}

void StopAnnouncement()
{
    StopSpeaking.store(true);
    StopClip();
    WaitForAnnouncement();
    StopSpeaking.store(false);
}
