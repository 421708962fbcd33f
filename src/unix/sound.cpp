// sound.cpp (Linux): opening the sound device without waiting on it, and mixing on a thread of our
// own, since the library here runs its sound on its display's input thread.
#include "sound.h"

#include <allegro.h>
#include <allegro/platform/aintunix.h>

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// how long the device has to open before the game goes on without sound
constexpr auto DEVICE_ANSWER_LIMIT = std::chrono::milliseconds(300);
// the mix: 16-bit unsigned stereo at 44100 Hz, the library's own choice, handed to its ALSA driver
// below and asked of the device by the probe, so that the two never differ
constexpr unsigned MIX_RATE = 44100, MIX_CHANNELS = 2, MIX_BITS = 16;
constexpr snd_pcm_format_t MIX_FORMAT = SND_PCM_FORMAT_U16;
constexpr unsigned MIX_LATENCY_US = 100000; // the driver's buffer, a tenth of a second
// how often the sound drivers run, as the library's own background thread runs them
constexpr auto DRIVER_PERIOD = std::chrono::milliseconds(10);

// the game's threads leave the signals to the main thread
static void hear_no_signals() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
}

// whether ALSA's device opens in time; an open that hangs (a FIFO that no one reads from, a sound
// server that does not answer) is left behind on a thread of its own
static bool device_answers(const char *device) {
    struct probe {
        std::mutex lock;
        std::condition_variable done;
        bool answered = false;
    };
    auto p = std::make_shared<probe>();
    std::thread([p, name = std::string(device)] {
        hear_no_signals();
        snd_pcm_t *pcm;
        // set up as the library sets it up, since some devices open their output only then
        if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) == 0) {
            snd_pcm_set_params(pcm, MIX_FORMAT, SND_PCM_ACCESS_RW_INTERLEAVED, MIX_CHANNELS,
                               MIX_RATE, 1, MIX_LATENCY_US);
            snd_pcm_close(pcm);
        }
        std::lock_guard<std::mutex> hold(p->lock);
        p->answered = true;
        p->done.notify_one();
    }).detach();
    std::unique_lock<std::mutex> hold(p->lock);
    return p->done.wait_for(hold, DEVICE_ANSWER_LIMIT, [&] { return p->answered; });
}

// The library runs its sound drivers on the one background thread that also reads the display's
// input, so a driver stuck writing to its device would freeze the keys and the close button. The
// game puts itself in as the library's background manager after the display's input is in place:
// every driver that registers from then on (the sound's) runs on the game's own thread instead,
// and everything else goes on to the library's.
static bg_manager *library_thread;
static std::mutex drivers_lock;
constexpr int DRIVERS_MAX = 8;
static bg_func drivers[DRIVERS_MAX]; // plain, so that a thread left stuck finds it at exit
static std::atomic<bool> drivers_on{false};

static void run_drivers() {
    hear_no_signals();
    while (drivers_on) {
        {
            std::lock_guard<std::mutex> hold(drivers_lock);
            for (bg_func f : drivers)
                if (f)
                    f(1);
        }
        std::this_thread::sleep_for(DRIVER_PERIOD);
    }
}

static int take_driver(bg_func f) {
    std::lock_guard<std::mutex> hold(drivers_lock);
    for (bg_func &slot : drivers)
        if (!slot) {
            slot = f;
            return 0;
        }
    return -1;
}
// waits for a driver's turn to end: for ever when it is stuck, which the quit watchdog ends
static int drop_driver(bg_func f) {
    {
        std::lock_guard<std::mutex> hold(drivers_lock);
        for (bg_func &slot : drivers)
            if (slot == f) {
                slot = nullptr;
                return 0;
            }
    }
    return library_thread->unregister_func(f);
}
static int start_library_thread() {
    return library_thread->init();
}
static void stop_both_threads() {
    drivers_on = false; // not waited for: it may be stuck in a device
    library_thread->exit();
}
static void enable_interrupts() {
    library_thread->enable_interrupts();
}
static void disable_interrupts() {
    library_thread->disable_interrupts();
}
static int interrupts_disabled() {
    return library_thread->interrupts_disabled();
}
static bg_manager game_thread = {
    1,           start_library_thread, stop_both_threads,  take_driver,
    drop_driver, enable_interrupts,    disable_interrupts, interrupts_disabled};

// the mix written over whatever the player's allegro.cfg says of it, in memory only
static void settle_the_mix() {
    const std::string settings = "[sound]\nsound_freq = " + std::to_string(MIX_RATE) +
                                 "\nsound_bits = " + std::to_string(MIX_BITS) +
                                 "\nsound_stereo = " + std::to_string(MIX_CHANNELS == 2) + "\n";
    override_config_data(settings.c_str(), settings.size());
}

void start_sound() {
    settle_the_mix();
    if (!device_answers(get_config_string("sound", "alsa_device", "default")))
        return;
    if (_unix_bg_man && !library_thread) {
        library_thread = _unix_bg_man;
        _unix_bg_man = &game_thread;
        drivers_on = true;
        std::thread(run_drivers).detach();
    }
    // the game plays no music, so it asks for no MIDI
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
}
