// The window's intents on the interaction state: the tutor's hint and demo, pile information, hold and first activation.
#include "engine/session.h"

namespace cw::engine {

bool Session::stopTutor(bool forced) { return engine::stopTutor(state_, forced); }

TutorStep Session::hint(TutorRecord& record)
{
    engine::stopTutor(state_, false);
    hintTimer_.reset();
    Play play{game_.rules, state_, playOptions_, nullptr};
    return tutorStep(play, record, kTutorHint);
}

bool Session::tickHint() { return hintTimer_.tick(state_); }

void Session::startDemo(GameDemo& demo) { demo.start(state_); }

void Session::pauseDemo(GameDemo& demo, bool paused) { demo.pause(state_, paused); }

void Session::stopDemo(GameDemo& demo, bool all)
{
    const int mode = state_.tutorMode;
    demo.stop(state_);
    if (!all && mode != kTutorDemo)
        state_.tutorMode = mode;
}

void Session::setLinePlaying(bool on) { state_.tutorMode = on ? kTutorDemo : 0; }

PileInfo Session::pileInfo(PileRef pile)
{
    const Play play{game_.rules, state_, playOptions_, nullptr};
    return pileInformation(play, pile);
}

bool Session::takeFirstActivation()
{
    const bool first = flags_.firstActivationPending;
    flags_.firstActivationPending = false;
    return first;
}

} // namespace cw::engine
