// The game clock: time played in the current deal, pauses excluded, across midnight, restored on open.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cw::engine {

inline constexpr std::int64_t kDayMs = 86'400'000;

// Milliseconds since local midnight; the clock reads time of day, as its label does.
using TimeSource = std::function<std::int64_t()>;
std::int64_t localTimeOfDayMs();

// The clock of one deal. Time is read from the injected source, so tests drive it by hand.
// Each running stretch is measured from its own start; a time of day earlier than the start
// means midnight has passed (one day is added). Pauses end a stretch, so they are not counted.
class GameClock {
public:
    explicit GameClock(TimeSource now = localTimeOfDayMs) : now_(std::move(now)) {}

    // A new deal: the zero time, not running.
    void reset();
    // Right after the deal: counting starts now (from the time already on the clock).
    void start();
    // Pause: stops counting and notes the pause start. Nothing when not running.
    void pause();
    // Leaving the pause: counting goes on from where it stopped.
    void resume();
    // End of game: the clock stops; elapsedSeconds() keeps the game's duration.
    void stop();
    // Opening a saved game: the clock shows the saved seconds and runs.
    void restore(int elapsedSeconds);

    bool running() const { return running_; }
    bool paused() const { return paused_; }
    // Whole seconds played so far.
    int elapsedSeconds() const;
    // The clock label, "h:nn:ss".
    std::string label(char separator = ':') const { return formatClock(elapsedSeconds(), separator); }

    static std::string formatClock(int seconds, char separator = ':');

private:
    std::int64_t stretchMs() const;

    TimeSource now_;
    std::int64_t doneMs_ = 0;  // time counted before the current stretch
    std::int64_t startMs_ = 0; // time of day at which the current stretch began
    bool running_ = false;
    bool paused_ = false;
};

// Reads a clock label back as h x 3600 + m x 60 + s; 0 when it cannot be read.
int parseClockLabel(std::string_view label);

} // namespace cw::engine
