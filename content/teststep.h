#pragma once

// The steps of a test in the order the learner meets them, one page each. The progress panel
// marks the step the learner is on, the main window shows its page, and a test in progress
// is kept with its step, as a number, so that it goes on there after a crash.
enum class TestStep {
    Welcome,
    Details,
    Dictation1Help,
    Dictation1,
    Dictation2Help,
    Dictation2,
    Results,
};

constexpr int testStepCount = 7;

constexpr TestStep stepAfter(TestStep step)
{
    return step == TestStep::Results ? step : TestStep(int(step) + 1);
}

// The dictation of a step: 1 or 2, or 0 for a page that is none.
constexpr int dictationAt(TestStep step)
{
    return step == TestStep::Dictation1 ? 1 : step == TestStep::Dictation2 ? 2 : 0;
}
